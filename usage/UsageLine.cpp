#include "usage/UsageLine.h"

#include "platform/text/Utf16.h"

using namespace usage_line_detail;

namespace {

template <typename Char>
BasicUsageLineHeader<Char> SplitHeader(std::basic_string_view<Char> line)
{
    BasicUsageLineHeader<Char> header;
    SplitOff(line, Char('-')); // year: the file name alone says which month a line belongs to
    SplitOff(line, Char('-')); // month
    std::basic_string_view<Char> day = SplitOff(line, Char('-'));
    std::basic_string_view<Char> hour = SplitOff(line, Char(' '));
    header.day = LeadingInteger(day);
    header.hour = LeadingInteger(hour);
    header.rest = line;
    return header;
}

template <typename Char>
bool IsDummy(std::basic_string_view<Char> name)
{
    return name.size() == 5 && name[0] == 'd' && name[1] == 'u' && name[2] == 'm' && name[3] == 'm' && name[4] == 'y';
}

template <typename Char>
UsageLineSums SumAll(std::basic_string_view<Char> rest)
{
    UsageLineSums sums;
    int32_t count = TakeEntryCount(rest);
    for (int32_t i = 0; i < count && !rest.empty(); ++i) {
        SkipBlanks(rest);
        // Without a space left no entry from here on has a count: each would only drop a
        // character, searching the rest again for as many entries as the count announces.
        std::basic_string_view<Char> name;
        if (!SplitOffFound(rest, Char(' '), name))
            break;
        ULONG64 sent = TakeCount(rest);
        ULONG64 received = TakeCount(rest);
        if (IsDummy(name))
            continue;
        sums.sent += sent;
        sums.received += received;
    }
    return sums;
}

// Where the selector first occurs as characters: in decoded text, wherever it occurs.
size_t FindSelector(std::wstring_view rest, std::wstring_view selector)
{
    return rest.find(selector);
}

// In code units, an occurrence that cuts a surrogate pair at either end matches no character.
size_t FindSelector(std::u16string_view rest, std::u16string_view selector)
{
    auto cutsPair = [rest](size_t at) {
        return at > 0 && at < rest.size() && IsHighSurrogate(rest[at - 1]) && IsLowSurrogate(rest[at]);
    };
    for (size_t at = rest.find(selector); at != std::u16string_view::npos; at = rest.find(selector, at + 1)) {
        if (!cutsPair(at) && !cutsPair(at + selector.size()))
            return at;
    }
    return std::u16string_view::npos;
}

template <typename Char>
UsageLineSums SumSelected(std::basic_string_view<Char> rest, std::basic_string_view<Char> fileSelector)
{
    UsageLineSums sums;
    SkipBlanks(rest);
    size_t at = FindSelector(rest, fileSelector);
    if (at == std::basic_string_view<Char>::npos)
        return sums;
    rest.remove_prefix(at);
    SplitOff(rest, Char(' ')); // the name the selector occurs in
    sums.sent = TakeCount(rest);
    sums.received = TakeCount(rest);
    return sums;
}

} // namespace

UsageLineHeader SplitUsageHeader(std::wstring_view line)
{
    return SplitHeader(line);
}

Utf16LineHeader SplitUsageHeader(std::u16string_view line)
{
    return SplitHeader(line);
}

UsageLineSums SumAllEntries(std::wstring_view rest)
{
    return SumAll(rest);
}

UsageLineSums SumAllEntries(std::u16string_view rest)
{
    return SumAll(rest);
}

UsageLineSums SumSelectedEntry(std::wstring_view rest, std::wstring_view fileSelector)
{
    return SumSelected(rest, fileSelector);
}

UsageLineSums SumSelectedEntry(std::u16string_view rest, std::u16string_view fileSelector)
{
    return SumSelected(rest, fileSelector);
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

std::optional<std::u16string> Utf16FileSelector(std::wstring_view selector)
{
    std::wstring converted = FileSelector(selector);
    for (size_t i = 0; i < converted.size(); ++i) {
        uint32_t ch = static_cast<uint32_t>(converted[i]);
        if (ch > 0x10FFFF)
            return std::nullopt;
        if (i + 1 < converted.size() && IsHighSurrogate(ch) && IsLowSurrogate(static_cast<uint32_t>(converted[i + 1])))
            return std::nullopt;
    }
    std::u16string units;
    units.reserve(converted.size());
    for (wchar_t ch : converted) {
        uint32_t cp = static_cast<uint32_t>(ch);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<char16_t>(cp));
        }
    }
    return units;
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

std::wstring NameFromFile(std::u16string_view fileName)
{
    return NameFromFile(DecodeUtf16(fileName));
}

void AddSumsToTable(DWORD interval, int requestedMonth, int requestedDay, int32_t day, int32_t hour, UsageLineSums sums,
    UsageTable& table)
{
    int64_t bucket = -1;
    switch (interval) {
    case IntervalMonthly:
        bucket = requestedMonth;
        break;
    case IntervalDaily:
        if (day >= 0 && day <= 31)
            bucket = day;
        break;
    case IntervalHourly:
        if (day == requestedDay && hour >= 0 && hour <= 23)
            bucket = static_cast<int64_t>(hour) + 1;
        break;
    default:
        break;
    }
    if (bucket < 0 || bucket > 31)
        return;
    table[static_cast<size_t>(bucket)] += sums.sent;
    table[UsageTableReceived + static_cast<size_t>(bucket)] += sums.received;
}
