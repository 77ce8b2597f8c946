#include "usage/MonthFileCache.h"

#include "usage/UsageLogFile.h"

MonthFileCache::Month& MonthFileCache::Load(const std::wstring& folder, int year, int month)
{
    std::unique_ptr<Month>& slot = m_months[{ folder, year * 100 + month }];
    if (slot)
        return *slot;
    slot = std::make_unique<Month>();
    Month& loaded = *slot;
    ++m_filesRead;
    loaded.opened = ReadMonthFileText(MonthFileName(folder, year, month), loaded.text) != FALSE;
    if (!loaded.opened)
        return loaded;
    std::wstring_view text = loaded.text;
    for (std::wstring_view line : SplitLines(text)) {
        UsageLineHeader header = SplitUsageHeader(line);
        Line kept;
        kept.day = header.day;
        kept.hour = header.hour;
        kept.restStart = static_cast<size_t>(header.rest.data() - text.data());
        kept.restLength = header.rest.size();
        loaded.lines.push_back(kept);
        ForEachEntryName(header.rest, [&loaded](std::wstring_view name) {
            if (!name.empty())
                AddUniqueName(loaded.names, NameFromFile(name));
        });
    }
    return loaded;
}

const std::vector<MonthFileCache::LineSums>& MonthFileCache::SumsFor(Month& month, const std::wstring& fileSelector)
{
    auto found = month.sums.find(fileSelector);
    if (found != month.sums.end())
        return found->second;
    std::vector<LineSums>& sums = month.sums[fileSelector];
    std::wstring_view text = month.text;
    for (const Line& line : month.lines) {
        std::wstring_view rest = text.substr(line.restStart, line.restLength);
        UsageLineSums lineSums = fileSelector.empty() ? SumAllEntries(rest) : SumSelectedEntry(rest, fileSelector);
        if (lineSums.sent != 0 || lineSums.received != 0)
            sums.push_back(LineSums { line.day, line.hour, lineSums });
    }
    return sums;
}

BOOL MonthFileCache::ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
    const std::wstring& selector, UsageTable& table)
{
    Month& month = Load(folder, time.Year(), time.Month());
    if (!month.opened) {
        if (interval == IntervalMonthly) {
            table[static_cast<size_t>(time.Month())] = 0;
            table[UsageTableReceived + static_cast<size_t>(time.Month())] = 0;
        }
        return FALSE;
    }
    for (const LineSums& line : SumsFor(month, FileSelector(selector))) {
        UsageLineHeader header;
        header.day = line.day;
        header.hour = line.hour;
        AddLineToTable(interval, time.Month(), time.Day(), header, line.sums, table);
    }
    return TRUE;
}

BOOL MonthFileCache::CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list)
{
    Month& loaded = Load(folder, year, month);
    if (!loaded.opened)
        return FALSE;
    for (const std::wstring& name : loaded.names)
        AddUniqueName(list, name);
    return TRUE;
}
