// Reading one record line of a month file, with the reader's tolerance: no line is rejected.
// Fields are cut at their separators; a missing separator gives an empty field and drops one
// character of the rest; numbers convert as signed decimals that stop at the first non-digit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"
#include "usage/UsageTable.h"

// The header fields the reader uses and the rest of the line after the hour.
struct UsageLineHeader {
    int32_t day = 0;
    int32_t hour = 0;
    std::wstring_view rest;
};

UsageLineHeader SplitUsageHeader(std::wstring_view line);

// What one line adds: bytes sent and received.
struct UsageLineSums {
    DWORD sent = 0;
    DWORD received = 0;
};

// All interfaces together: every entry the count announces, except those named "dummy".
UsageLineSums SumAllEntries(std::wstring_view rest);
// One interface: the first place the selector (as written in files: lower case, "+" for
// spaces) occurs in the rest of the line, as a substring; nothing when it does not occur.
UsageLineSums SumSelectedEntry(std::wstring_view rest, std::wstring_view fileSelector);

// Calls found(name) for each entry name the count announces, as written in the file.
template <typename Found>
void ForEachEntryName(std::wstring_view rest, Found found);

// The selector as names are written in files: lower case, spaces as "+".
std::wstring FileSelector(std::wstring_view selector);
// A name as written in a file, back as the logger's name: lower case, "+" as spaces.
std::wstring NameFromFile(std::wstring_view fileName);

// Adds one line's sums to the table. Monthly: to the requested month, whatever the line's
// date. Daily: to the line's day. Hourly: to the line's hour + 1 when its day is the requested
// one. Days outside 0 to 31 and hours outside 0 to 23 have no bucket and add nothing.
void AddLineToTable(DWORD interval, int requestedMonth, int requestedDay, const UsageLineHeader& header,
    UsageLineSums sums, UsageTable& table);

// --- used by the template below ---------------------------------------------------------
namespace usage_line_detail {
// Cuts the text before the next separator off the rest, with the separator.
std::wstring_view SplitOff(std::wstring_view& rest, wchar_t separator);
void SkipLeading(std::wstring_view& rest, std::wstring_view characters);
// The entry count after the header, cut off the rest with its closing asterisk.
int32_t TakeEntryCount(std::wstring_view& rest);
} // namespace usage_line_detail

template <typename Found>
void ForEachEntryName(std::wstring_view rest, Found found)
{
    using namespace usage_line_detail;
    int32_t count = TakeEntryCount(rest);
    for (int32_t i = 0; i < count; ++i) {
        // Once the line is used up every further entry reads as an empty name: one is enough.
        bool exhausted = rest.empty();
        SkipLeading(rest, L"\t ");
        std::wstring_view name = SplitOff(rest, L' ');
        SplitOff(rest, L' ');
        SplitOff(rest, L' ');
        found(name);
        if (exhausted)
            break;
    }
}
