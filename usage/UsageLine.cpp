#include "usage/UsageLine.h"

#include "platform/text/WideString.h"

namespace usage_line_detail {

std::wstring_view SplitOff(std::wstring_view& rest, wchar_t separator)
{
    size_t at = rest.find(separator);
    if (at == std::wstring_view::npos) {
        // As the device's reader does: the field is empty and one character goes with it.
        if (!rest.empty())
            rest.remove_prefix(1);
        return {};
    }
    std::wstring_view field = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return field;
}

void SkipLeading(std::wstring_view& rest, std::wstring_view characters)
{
    size_t at = rest.find_first_not_of(characters);
    rest.remove_prefix(at == std::wstring_view::npos ? rest.size() : at);
}

int32_t TakeEntryCount(std::wstring_view& rest)
{
    SkipLeading(rest, L"\t *");
    return WtoL(SplitOff(rest, L'*'));
}

} // namespace usage_line_detail

using namespace usage_line_detail;

UsageLineHeader SplitUsageHeader(std::wstring_view line)
{
    UsageLineHeader header;
    SplitOff(line, L'-'); // year: the file name alone says which month a line belongs to
    SplitOff(line, L'-'); // month
    std::wstring_view day = SplitOff(line, L'-');
    std::wstring_view hour = SplitOff(line, L' ');
    header.day = WtoL(day);
    header.hour = WtoL(hour);
    header.rest = line;
    return header;
}

UsageLineSums SumAllEntries(std::wstring_view rest)
{
    UsageLineSums sums;
    int32_t count = TakeEntryCount(rest);
    for (int32_t i = 0; i < count && !rest.empty(); ++i) {
        SkipLeading(rest, L"\t ");
        std::wstring_view name = SplitOff(rest, L' ');
        std::wstring_view sent = SplitOff(rest, L' ');
        std::wstring_view received = SplitOff(rest, L' ');
        if (name == L"dummy")
            continue;
        // Signed 32-bit readings added in 32 bits give back the unsigned totals.
        sums.sent += static_cast<DWORD>(WtoL(sent));
        sums.received += static_cast<DWORD>(WtoL(received));
    }
    return sums;
}

UsageLineSums SumSelectedEntry(std::wstring_view rest, std::wstring_view fileSelector)
{
    UsageLineSums sums;
    SkipLeading(rest, L"\t ");
    size_t at = rest.find(fileSelector);
    if (at == std::wstring_view::npos)
        return sums;
    rest.remove_prefix(at);
    SplitOff(rest, L' '); // the name the selector occurs in
    sums.sent = static_cast<DWORD>(WtoL(SplitOff(rest, L' ')));
    sums.received = static_cast<DWORD>(WtoL(SplitOff(rest, L' ')));
    return sums;
}

std::wstring FileSelector(std::wstring_view selector)
{
    std::wstring converted = WideToLower(selector);
    for (wchar_t& ch : converted) {
        if (ch == L' ')
            ch = L'+';
    }
    return converted;
}

std::wstring NameFromFile(std::wstring_view fileName)
{
    std::wstring converted = WideToLower(fileName);
    for (wchar_t& ch : converted) {
        if (ch == L'+')
            ch = L' ';
    }
    return converted;
}

void AddLineToTable(DWORD interval, int requestedMonth, int requestedDay, const UsageLineHeader& header,
    UsageLineSums sums, UsageTable& table)
{
    int64_t bucket = -1;
    switch (interval) {
    case IntervalMonthly:
        bucket = requestedMonth;
        break;
    case IntervalDaily:
        if (header.day >= 0 && header.day <= 31)
            bucket = header.day;
        break;
    case IntervalHourly:
        if (header.day == requestedDay && header.hour >= 0 && header.hour <= 23)
            bucket = static_cast<int64_t>(header.hour) + 1;
        break;
    default:
        break;
    }
    if (bucket < 0 || bucket > 31)
        return;
    table[static_cast<size_t>(bucket)] += sums.sent;
    table[UsageTableReceived + static_cast<size_t>(bucket)] += sums.received;
}
