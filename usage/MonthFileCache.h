// A month source that reads and splits each month file once and works out each interface's
// sums per line once, for an export that asks for the same months over and over. It answers
// exactly as the direct source does for files that do not change while it lives.
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
        size_t restStart = 0; // the rest of the line, in the month's text
        size_t restLength = 0;
    };
    struct LineSums {
        int32_t day = 0;
        int32_t hour = 0;
        UsageLineSums sums;
    };
    struct Month {
        bool opened = false;
        std::wstring text;
        std::vector<Line> lines;
        NameList names;
        // By selector as written in files; only lines that add something are kept.
        std::unordered_map<std::wstring, std::vector<LineSums>> sums;
    };

    Month& Load(const std::wstring& folder, int year, int month);
    const std::vector<LineSums>& SumsFor(Month& month, const std::wstring& fileSelector);

    std::map<std::pair<std::wstring, int>, std::unique_ptr<Month>> m_months;
    size_t m_filesRead = 0;
};
