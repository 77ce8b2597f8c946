#include "usage/UsageReportHtml.h"

#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "usage/UsageTable.h"

namespace {

const wchar_t* const kOuterTable
    = L"<table width=\"100%\" align=\"center\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"> ";
const wchar_t* const kGridTable
    = L"<table width=\"100%\" align=\"center\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\"> ";
const wchar_t* const kGrey = L"#DDDDDD";
const wchar_t* const kWhite = L"#FFFFFF";

std::wstring TitleHtml(const UsageReportTitle& title)
{
    switch (title.interval) {
    case IntervalHourly:
        return Fmt(L"<strong>Hourly Traffic: %s %d, %d</strong>", HtmlEscape(title.monthName), title.day, title.year);
    case IntervalDaily:
        return Fmt(L"<strong>Daily Traffic: %s, %d</strong>", HtmlEscape(title.monthName), title.year);
    default:
        return Fmt(L"<strong>Monthly Traffic: %d</strong>", title.year);
    }
}

const wchar_t* SlotName(DWORD interval)
{
    return interval == IntervalHourly ? L"Hour" : interval == IntervalDaily ? L"Day" : L"Month";
}

} // namespace

std::wstring HtmlEscape(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        case L'\'':
            out += L"&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::vector<std::wstring> UsageChartHeadingHtml(const UsageReportTitle& title)
{
    const bool monthly = title.interval == IntervalMonthly;
    return {
        kOuterTable,
        monthly ? L"<tr><td align=center> " : L"<tr> <td align=center>",
        TitleHtml(title),
        L"</td></tr>",
        Fmt(L"<tr> <td align=center><font size=2>%s</font></td></tr></table>", HtmlEscape(title.adapterLabel)),
    };
}

std::vector<std::wstring> UsageTableHtml(const UsageReportTitle& title, const std::vector<UsageReportRow>& rows)
{
    const bool monthly = title.interval == IntervalMonthly;
    const std::wstring adapter = HtmlEscape(title.adapterLabel);
    std::vector<std::wstring> html {
        kOuterTable,
        monthly ? L"<tr> <td align=center>" : L"<tr> <td> <div align=\"center\"> ",
        TitleHtml(title),
        monthly ? L"</td></tr>" : L"</div></td></tr>",
        monthly ? Fmt(L"<tr> <td align=center><font size=2>%s</font></td></tr></table>", adapter)
                : Fmt(L"<tr> <td><div align=center><font size=2>%s</font></div></td></tr></table>", adapter),
        kGridTable,
        L"<tr bordercolor=\"#666666\" bgcolor=\"#FFFF00\">",
        Fmt(L"<td align=center> %s</td>", SlotName(title.interval)),
        L"<td align=center> Xmit </td>",
        L"<td align=center> Rcv </td>",
        L"<td align=center> Total</td></tr>",
    };
    int shown = 0;
    for (const UsageReportRow& row : rows) {
        ++shown;
        html.push_back(Fmt(L"<tr bordercolor=\"#666666\" bgcolor=\"%s\"><td align=center>%s</td> <td align=center>%s</td> "
                           L"<td align=center>%s</td> <td align=center>%s</td></tr>\n",
            shown % 2 == 1 ? kGrey : kWhite, HtmlEscape(row.label), UsageCellText(row.sent), UsageCellText(row.received),
            UsageCellText(row.Total())));
    }
    html.push_back(L"</table>");
    return html;
}

std::string UsageReportDocument(const std::vector<std::wstring>& fragments, const std::string& chartImage)
{
    std::wstring body;
    bool placed = chartImage.empty();
    for (const std::wstring& fragment : fragments) {
        body += fragment;
        // Under the heading, where the page shows it.
        if (!placed && fragment.ends_with(L"</table>")) {
            body += L"\n<p align=\"center\"><img src=\"" + HtmlEscape(Utf8ToWide(chartImage)) + L"\" alt=\"Usage chart\"></p>\n";
            placed = true;
        }
    }
    return "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>Velmora usage report</title>\n</head>\n<body>\n"
        + WideToUtf8(body) + "\n</body>\n</html>\n";
}
