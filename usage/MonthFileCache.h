// A month source that reads each month file once, keeping each line's day, hour and entries
// as the file's code units, and works out each interface's sums per line once, for an export
// that asks for the same months over and over. It answers exactly as the direct source does
// for files that do not change while it lives.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "usage/UsageLine.h"
#include "usage/UsageReader.h"

class MonthFileCache final : public MonthSource {
public:
    BOOL ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
        const std::wstring& selector, UsageTable& table) override;
    BOOL CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list) override;

    // Month files read so far (each once).
    size_t FilesRead() const { return m_filesRead; }

private:
    struct Line {
        int32_t day = 0;
        int32_t hour = 0;
        size_t restStart = 0; // the rest of the line, in the month's entries
        size_t restLength = 0;
    };
    // What the month's lines add for one selector, by interval: the monthly and daily
    // tables, and the hourly table of each day of month 0 to 31 (other days have no hour
    // buckets). Adding a table gives what adding its lines gives: the sums are the same
    // 64-bit sums, only grouped.
    struct SelectorTables {
        UsageTable monthly {};
        UsageTable daily {};
        std::vector<UsageTable> hourlyByDay;
    };
    struct Month {
        bool opened = false;
        int month = 0;
        std::u16string entries; // the rest of each line after its hour, one after the other
        std::vector<Line> lines;
        NameList names;
        // By selector as written in files.
        std::unordered_map<std::wstring, SelectorTables> tables;
    };

    Month& Load(const std::wstring& folder, int year, int month);
    const SelectorTables& TablesFor(Month& month, const std::wstring& selector);

    std::map<std::pair<std::wstring, int>, std::unique_ptr<Month>> m_months;
    size_t m_filesRead = 0;
    std::u16string m_buffer; // the pieces of the file being read
};
