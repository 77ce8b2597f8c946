// The usage export: the logged traffic of a date range as an 8-bit CSV file, one row per
// month, day or hour, a sent and a received column for every interface in the range's logs.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

class MonthSource;
class UsageLogger;

// Export interval codes (the dialog's list position + 500).
enum : DWORD {
    ExportMonthly = 500,
    ExportDaily = 501,
    ExportHourly = 502,
};

// The display text of a usage interface key (UsageInterfaceDisplayName); empty when it has
// none, and the logging name itself is then shown.
using UsageDisplayName = std::function<std::wstring(const std::wstring& key)>;

// How an export ended, for callers that tell the user (the command line); the dialog only
// runs ExportUsage.
enum class ExportOutcome {
    Written,
    BadInterval,  // not an export interval code
    CannotCreate, // the file could not be created or put in place (the last error says why)
    NoInterfaces, // the range's logs name no interface: the file is left empty
    WriteFailed,  // the file could not be written in full (the last error says why)
};

// Writes the export file as a whole-file replace does (platform/files/WholeFile.h): under the
// temporary name, flushed, then moved over the path, so that an export that fails leaves the
// file that was there. 1 when the rows were written; 0 when the file could not be
// created or written, or the range's logs name no interface (the file is then left empty).
BOOL ExportUsage(const UsageLogger& logger, const platform::CalendarTime& start, const platform::CalendarTime& end,
    DWORD exportInterval, const std::wstring& path, const std::wstring& folder, const UsageDisplayName& displayName);

// The same with the month files read through the given source: the direct source gives the
// export as the reader's own calls make it, each month file read once per interface and step.
BOOL ExportUsage(const UsageLogger& logger, const platform::CalendarTime& start, const platform::CalendarTime& end,
    DWORD exportInterval, const std::wstring& path, const std::wstring& folder, const UsageDisplayName& displayName,
    MonthSource& source);

ExportOutcome ExportUsageFile(const UsageLogger& logger, const platform::CalendarTime& start,
    const platform::CalendarTime& end, DWORD exportInterval, const std::wstring& path, const std::wstring& folder,
    const UsageDisplayName& displayName, MonthSource& source);

// The export file's bytes, for a caller that writes the file itself (the command line puts
// them beside the target and renames them over it). Written, BadInterval or NoInterfaces
// (the text is then empty).
ExportOutcome ExportUsageText(const UsageLogger& logger, const platform::CalendarTime& start,
    const platform::CalendarTime& end, DWORD exportInterval, const std::wstring& folder,
    const UsageDisplayName& displayName, MonthSource& source, std::string& text);

// A wide text as the export's 8-bit text: characters up to U+00FF as their byte, others as
// "?" (the platform's default character for what the code page cannot hold).
std::string ExportText(std::wstring_view text);

// One field of the export's 8-bit text as a CSV field: as it stands, unless it holds a comma,
// a double quote, a carriage return or a line feed; then in double quotes, each double quote
// in it doubled (RFC 4180).
std::string CsvField(std::string_view text);
