// The month files of the usage log: their names, their record lines and reading them back.
// A month file is UTF-16LE text without a byte-order mark, one hourly record per line:
//   "2006-3-7-14 *2* \tne20001 1048576 52428 \tppp:1 0 0 \r\n"
// A total below 2^32 is printed as the device printed its 32-bit totals, as a signed decimal
// (3000000000 as -1294967296); a larger one as its plain decimal. A space in a name is
// written as "+".
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "metering/TrafficCounter.h"
#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

extern const wchar_t* const UsageFilePrefix; // "UsageData"

// "<folder>\UsageData<year><month, 2 digits>.txt".
std::wstring MonthFileName(const std::wstring& folder, int year, int month);
// "<folder>\UsageData*": every entry that counts towards the storage cap.
std::wstring MonthFilePattern(const std::wstring& folder);
// The year and month a month file's name ("UsageData200603.txt", any case) stands for; false
// for any other name.
bool ParseMonthFileName(std::wstring_view fileName, int& year, int& month);

// A byte total as a record writes it: "-1294967296" for 3000000000, "5368709120" for 5 GiB.
std::wstring MonthFileCount(ULONG64 bytes);

// One record line with its "\r\n", labelled with the hour start's date and hour.
std::wstring FormatHourRecord(const platform::CalendarTime& hourStart, const std::vector<TrafficCounter>& counters);

// Reads a whole month file, opened exclusively as every reader does. FALSE when it cannot be
// opened or read (absent, or held open by the writer at this instant).
BOOL ReadMonthFileText(const std::wstring& path, std::wstring& text);

// The file's lines: each ends at a line feed, a carriage return before it is dropped; text
// after the last line feed is a line too.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);

// The same lines, handed over one by one as the file is read in pieces of chunkBytes, so that
// a reader that needs each line once holds no more than a piece of the file. FALSE when the
// file cannot be opened or read (lines handed over before a read error stay handed over).
BOOL ReadMonthFileLines(const std::wstring& path, const std::function<void(std::wstring_view)>& onLine,
    size_t chunkBytes = 65536);

// The same lines as the file's UTF-16 code units, undecoded, each a view into the buffer that
// holds until the next line is handed over. The file is read in pieces of chunkBytes into the
// buffer, which keeps its storage for the next file; it only grows for a line longer than a
// piece. A surrogate pair stays two units and a lone surrogate one; an odd last byte is no
// unit. When FALSE, the last error says why (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND for
// a file that is not there).
BOOL ReadMonthFileUnits(const std::wstring& path, std::u16string& buffer,
    const std::function<void(std::u16string_view)>& onLine, size_t chunkBytes = 65536);

// Where the first line feed among the code units from `from` on is; npos when there is none.
size_t FindLineFeed(std::u16string_view units, size_t from);
