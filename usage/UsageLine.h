// Reading one record line of a month file, with the reader's tolerance: no line is rejected.
// Fields are cut at their separators; a missing separator gives an empty field and drops one
// character of the rest; numbers convert as decimals that stop at the first non-digit. A byte
// count is 64-bit: a negative one is a 32-bit total written as signed and reads as that
// total (value + 2^32), a positive one as it stands.
//
// Each reading exists for decoded text (wchar_t, one character per element) and for the
// file's UTF-16 code units read in place (char16_t), with the same results: a surrogate pair
// counts as the one character it stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"
#include "platform/text/WideString.h"
#include "usage/UsageTable.h"

// The header fields the reader uses and the rest of the line after the hour.
template <typename Char>
struct BasicUsageLineHeader {
    int32_t day = 0;
    int32_t hour = 0;
    std::basic_string_view<Char> rest;
};
using UsageLineHeader = BasicUsageLineHeader<wchar_t>;
using Utf16LineHeader = BasicUsageLineHeader<char16_t>;

UsageLineHeader SplitUsageHeader(std::wstring_view line);
Utf16LineHeader SplitUsageHeader(std::u16string_view line);

// What one line adds: bytes sent and received.
struct UsageLineSums {
    ULONG64 sent = 0;
    ULONG64 received = 0;
};

// All interfaces together: every entry the count announces, except those named "dummy".
UsageLineSums SumAllEntries(std::wstring_view rest);
UsageLineSums SumAllEntries(std::u16string_view rest);
// One interface: the first place the selector (as written in files: lower case, "+" for
// spaces) occurs in the rest of the line, as a substring; nothing when it does not occur.
// In code units the selector comes from Utf16FileSelector, and an occurrence that starts or
// ends inside a surrogate pair is none.
UsageLineSums SumSelectedEntry(std::wstring_view rest, std::wstring_view fileSelector);
UsageLineSums SumSelectedEntry(std::u16string_view rest, std::u16string_view fileSelector);

// Calls found(name) for each entry name the count announces, as written in the file.
template <typename Char, typename Found>
void ForEachEntryName(std::basic_string_view<Char> rest, Found found);

// The selector as names are written in files: lower case, spaces as "+".
std::wstring FileSelector(std::wstring_view selector);
// The same as UTF-16 code units, for lines read in place; nothing when no decoded line can
// hold it (a character beyond U+10FFFF, or a high and a low surrogate that stay apart in
// the selector but would join in a file).
std::optional<std::u16string> Utf16FileSelector(std::wstring_view selector);
// A name as written in a file, back as the logger's name: lower case, "+" as spaces.
std::wstring NameFromFile(std::wstring_view fileName);
std::wstring NameFromFile(std::u16string_view fileName);

// Adds sums to the table. Monthly: to the requested month, whatever the line's date. Daily:
// to the line's day. Hourly: to the line's hour + 1 when its day is the requested one. Days
// outside 0 to 31 and hours outside 0 to 23 have no bucket and add nothing.
void AddSumsToTable(DWORD interval, int requestedMonth, int requestedDay, int32_t day, int32_t hour, UsageLineSums sums,
    UsageTable& table);
// The same with the day and hour of a line's header.
template <typename Char>
void AddLineToTable(DWORD interval, int requestedMonth, int requestedDay, const BasicUsageLineHeader<Char>& header,
    UsageLineSums sums, UsageTable& table)
{
    AddSumsToTable(interval, requestedMonth, requestedDay, header.day, header.hour, sums, table);
}

// --- the reading rules, shared by both forms ----------------------------------------------
namespace usage_line_detail {

inline bool IsHighSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool IsLowSurrogate(uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Code units the first character takes: 2 for a surrogate pair in UTF-16, else 1.
inline size_t FirstCharacterLength(std::wstring_view)
{
    return 1;
}

inline size_t FirstCharacterLength(std::u16string_view rest)
{
    return rest.size() >= 2 && IsHighSurrogate(rest[0]) && IsLowSurrogate(rest[1]) ? 2 : 1;
}

// Cuts the text before the next separator off the rest, with the separator; false when the
// rest holds no separator at all.
template <typename Char>
inline bool SplitOffFound(std::basic_string_view<Char>& rest, Char separator, std::basic_string_view<Char>& field)
{
    // A plain loop rather than find(): the fields are short, and it inlines into the reader.
    size_t at = 0;
    while (at < rest.size() && rest[at] != separator)
        ++at;
    if (at == rest.size()) {
        // As the device's reader does: the field is empty and one character goes with it.
        if (!rest.empty())
            rest.remove_prefix(FirstCharacterLength(rest));
        field = {};
        return false;
    }
    field = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    return true;
}

template <typename Char>
inline std::basic_string_view<Char> SplitOff(std::basic_string_view<Char>& rest, Char separator)
{
    std::basic_string_view<Char> field;
    SplitOffFound(rest, separator, field);
    return field;
}

// A byte count as the files write it, read as _wtol reads a number (leading white space, a
// sign, the leading digits): a negative count is a 32-bit total that was written as signed,
// and reads back as that total; a positive one is taken whole, in 64 bits. Out of line: the
// reader's usual field of digits alone never comes here (TakeCount), and its loop stays small
// enough to keep the rest of the line in registers.
template <typename Char>
[[gnu::noinline]] ULONG64 LeadingCount(std::basic_string_view<Char> text)
{
    LeadingDigits read = ReadLeadingDigits(text);
    if (read.negative)
        return static_cast<uint32_t>(0u - static_cast<uint32_t>(read.magnitude));
    return read.magnitude;
}

// The count in the field before the next space, cut off the rest with the space: what
// LeadingCount(SplitOff(rest, ' ')) gives, in one scan for the usual field of digits alone.
template <typename Char>
inline ULONG64 TakeCount(std::basic_string_view<Char>& rest)
{
    ULONG64 value = 0;
    size_t at = 0;
    while (at < rest.size() && rest[at] >= '0' && rest[at] <= '9') {
        value = value * 10u + static_cast<ULONG64>(rest[at] - '0');
        ++at;
    }
    if (at > 0 && at < rest.size() && rest[at] == ' ') {
        rest.remove_prefix(at + 1);
        return value;
    }
    return LeadingCount(SplitOff(rest, Char(' ')));
}

// Drops the leading tabs and spaces, and asterisks when asked to.
template <typename Char>
inline void SkipBlanks(std::basic_string_view<Char>& rest, bool asterisks = false)
{
    size_t at = 0;
    while (at < rest.size() && (rest[at] == '\t' || rest[at] == ' ' || (asterisks && rest[at] == '*')))
        ++at;
    rest.remove_prefix(at);
}

// Drops the leading characters that are among the given ones.
inline void SkipLeading(std::wstring_view& rest, std::wstring_view characters)
{
    size_t at = rest.find_first_not_of(characters);
    rest.remove_prefix(at == std::wstring_view::npos ? rest.size() : at);
}

// The entry count after the header, cut off the rest with its closing asterisk.
template <typename Char>
inline int32_t TakeEntryCount(std::basic_string_view<Char>& rest)
{
    SkipBlanks(rest, true);
    return LeadingInteger(SplitOff(rest, Char('*')));
}

} // namespace usage_line_detail

template <typename Char, typename Found>
inline void ForEachEntryName(std::basic_string_view<Char> rest, Found found)
{
    using namespace usage_line_detail;
    int32_t count = TakeEntryCount(rest);
    for (int32_t i = 0; i < count; ++i) {
        SkipBlanks(rest);
        std::basic_string_view<Char> name;
        bool named = SplitOffFound(rest, Char(' '), name);
        found(name);
        // Once no space is left (the line used up too) every further entry reads as an empty
        // name: one is enough. Going on would search the rest again for each entry the count
        // announces, which takes quadratic time on a long line of damage.
        if (!named)
            break;
        SplitOff(rest, Char(' '));
        SplitOff(rest, Char(' '));
    }
}
