#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "usage/UsageReportHtml.h"
#include "usage/UsageTable.h"

using platform::CalendarTime;

namespace {

std::wstring Joined(const std::vector<std::wstring>& fragments)
{
    std::wstring all;
    for (const std::wstring& f : fragments)
        all += f + L"|";
    return all;
}

UsageCalendarNames Names()
{
    UsageCalendarNames names;
    const wchar_t* const days[] = { L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat" };
    const wchar_t* const months[] = { L"January", L"February", L"March", L"April", L"May", L"June", L"July", L"August",
        L"September", L"October", L"November", L"December" };
    names.weekdayShort = [days](const CalendarTime& t) { return std::wstring(days[t.DayOfWeek()]); };
    names.monthLong = [months](const CalendarTime& t) { return std::wstring(months[t.Month() - 1]); };
    return names;
}

const std::wstring kHeadingOpen
    = L"<table width=\"100%\" align=\"center\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"> |";
const std::wstring kGridOpen = L"<table width=\"100%\" align=\"center\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\"> |"
                               L"<tr bordercolor=\"#666666\" bgcolor=\"#FFFF00\">|";
const std::wstring kColumns = L"<td align=center> Xmit </td>|<td align=center> Rcv </td>|<td align=center> Total</td></tr>|";

std::wstring Row(const wchar_t* colour, const wchar_t* label, const wchar_t* xmit, const wchar_t* rcv, const wchar_t* total)
{
    return std::wstring(L"<tr bordercolor=\"#666666\" bgcolor=\"") + colour + L"\"><td align=center>" + label
        + L"</td> <td align=center>" + xmit + L"</td> <td align=center>" + rcv + L"</td> <td align=center>" + total
        + L"</td></tr>\n|";
}

} // namespace

TEST(UsageReportHtml, ChartHeadingPerModeWithTheAdapterEscaped)
{
    UsageReportTitle title { IntervalHourly, L"March", 7, 2006, L"NE2000 <b>&\"x'" };
    EXPECT_EQ(Joined(UsageChartHeadingHtml(title)),
        kHeadingOpen + L"<tr> <td align=center>|<strong>Hourly Traffic: March 7, 2006</strong>|</td></tr>|"
            L"<tr> <td align=center><font size=2>NE2000 &lt;b&gt;&amp;&quot;x&#39;</font></td></tr></table>|");
    title.interval = IntervalDaily;
    title.adapterLabel = L"All Network Adapters";
    EXPECT_EQ(Joined(UsageChartHeadingHtml(title)),
        kHeadingOpen + L"<tr> <td align=center>|<strong>Daily Traffic: March, 2006</strong>|</td></tr>|"
            L"<tr> <td align=center><font size=2>All Network Adapters</font></td></tr></table>|");
    title.interval = IntervalMonthly;
    EXPECT_EQ(Joined(UsageChartHeadingHtml(title)),
        kHeadingOpen + L"<tr><td align=center> |<strong>Monthly Traffic: 2006</strong>|</td></tr>|"
            L"<tr> <td align=center><font size=2>All Network Adapters</font></td></tr></table>|");
}

TEST(UsageReportHtml, HourlyTableWithZerosHiddenHasOneGreyRowAndShownAlternates)
{
    UsageTable table {};
    table[15] = 1536;                       // 14:00-15:00 sent
    table[UsageTableReceived + 15] = 3 * 1024 * 1024 + 5; // and received
    CalendarTime day = CalendarTime::FromFields(2006, 3, 7, 12, 0, 0);
    UsageReportTitle title { IntervalHourly, L"March", 7, 2006, L"All Network Adapters" };
    const std::wstring heading = kHeadingOpen + L"<tr> <td> <div align=\"center\"> |<strong>Hourly Traffic: March 7, 2006</strong>|"
                                                L"</div></td></tr>|<tr> <td><div align=center><font size=2>All Network Adapters"
                                                L"</font></div></td></tr></table>|";
    EXPECT_EQ(Joined(UsageTableHtml(title, UsageReportRows(table, IntervalHourly, day, false, Names()))),
        heading + kGridOpen + L"<td align=center> Hour</td>|" + kColumns + Row(L"#DDDDDD", L"2-3 PM", L"1 KB", L"3 MB", L"3 MB")
            + L"</table>|");

    std::vector<std::wstring> all = UsageTableHtml(title, UsageReportRows(table, IntervalHourly, day, true, Names()));
    ASSERT_EQ(all.size(), 11u + 24u + 1u);
    EXPECT_EQ(all[11] + L"|", Row(L"#DDDDDD", L"12-1 AM", L"-", L"-", L"-"));
    EXPECT_EQ(all[12] + L"|", Row(L"#FFFFFF", L"1-2 AM", L"-", L"-", L"-"));
    EXPECT_EQ(all[11 + 14] + L"|", Row(L"#DDDDDD", L"2-3 PM", L"1 KB", L"3 MB", L"3 MB"));
    EXPECT_EQ(all[11 + 23] + L"|", Row(L"#FFFFFF", L"11-12 PM", L"-", L"-", L"-"));
}

TEST(UsageReportHtml, DailyAndMonthlyTablesNameTheirSlotsAndSumPast4GiB)
{
    UsageTable table {};
    table[1] = 3ull << 30;
    table[UsageTableReceived + 1] = 2ull << 30; // 5 GiB in total: beyond 32 bits
    table[3] = 1023;
    CalendarTime date = CalendarTime::FromFields(2006, 2, 28, 12, 0, 0);
    UsageReportTitle daily { IntervalDaily, L"February", 28, 2006, L"<LAN>" };
    EXPECT_EQ(Joined(UsageTableHtml(daily, UsageReportRows(table, IntervalDaily, date, false, Names()))),
        kHeadingOpen + L"<tr> <td> <div align=\"center\"> |<strong>Daily Traffic: February, 2006</strong>|</div></td></tr>|"
            L"<tr> <td><div align=center><font size=2>&lt;LAN&gt;</font></div></td></tr></table>|"
            + kGridOpen + L"<td align=center> Day</td>|" + kColumns + Row(L"#DDDDDD", L"1 (Wed)", L"3 GB", L"2 GB", L"5 GB")
            + Row(L"#FFFFFF", L"3 (Fri)", L"1023 B", L"-", L"1023 B") + L"</table>|");
    EXPECT_EQ(UsageTableHtml(daily, UsageReportRows(table, IntervalDaily, date, true, Names())).size(), 11u + 28u + 1u);

    UsageReportTitle monthly { IntervalMonthly, L"February", 28, 2006, L"All Network Adapters" };
    std::vector<UsageReportRow> months = UsageReportRows(table, IntervalMonthly, date, true, Names());
    months[0].label = L"Jan<script>"; // a locale's name is data too
    std::vector<std::wstring> html = UsageTableHtml(monthly, months);
    EXPECT_EQ(Joined(std::vector<std::wstring>(html.begin(), html.begin() + 11)),
        kHeadingOpen + L"<tr> <td align=center>|<strong>Monthly Traffic: 2006</strong>|</td></tr>|"
            L"<tr> <td align=center><font size=2>All Network Adapters</font></td></tr></table>|"
            + kGridOpen + L"<td align=center> Month</td>|" + kColumns);
    ASSERT_EQ(html.size(), 11u + 12u + 1u);
    EXPECT_EQ(html[11] + L"|", Row(L"#DDDDDD", L"Jan&lt;script&gt;", L"3 GB", L"2 GB", L"5 GB"));
    EXPECT_EQ(html[22] + L"|", Row(L"#FFFFFF", L"December", L"-", L"-", L"-"));
}

TEST(UsageReportHtml, StandaloneDocumentHasACharsetAndTheChartUnderTheHeading)
{
    UsageReportTitle title { IntervalMonthly, L"", 1, 2006, L"Caf\u00e9" };
    std::vector<std::wstring> html = UsageTableHtml(title, {});
    std::string plain = UsageReportDocument(html, "");
    EXPECT_NE(plain.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(plain.find("Caf\xc3\xa9"), std::string::npos);
    EXPECT_EQ(plain.find("<img"), std::string::npos);

    std::string charted = UsageReportDocument(html, "a&b.png");
    size_t image = charted.find("<img src=\"a&amp;b.png\"");
    ASSERT_NE(image, std::string::npos);
    EXPECT_LT(charted.find("Monthly Traffic"), image);
    EXPECT_GT(charted.find("border=\"1\""), image);
}
