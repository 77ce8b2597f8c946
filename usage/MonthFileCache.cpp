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
    loaded.month = month;
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

const MonthFileCache::SelectorTables& MonthFileCache::TablesFor(Month& month, const std::wstring& fileSelector)
{
    auto found = month.tables.find(fileSelector);
    if (found != month.tables.end())
        return found->second;
    SelectorTables& tables = month.tables[fileSelector];
    tables.hourlyByDay.resize(32);
    std::wstring_view text = month.text;
    for (const Line& line : month.lines) {
        std::wstring_view rest = text.substr(line.restStart, line.restLength);
        UsageLineSums sums = fileSelector.empty() ? SumAllEntries(rest) : SumSelectedEntry(rest, fileSelector);
        if (sums.sent == 0 && sums.received == 0)
            continue;
        UsageLineHeader header;
        header.day = line.day;
        header.hour = line.hour;
        AddLineToTable(IntervalMonthly, month.month, 0, header, sums, tables.monthly);
        AddLineToTable(IntervalDaily, month.month, 0, header, sums, tables.daily);
        if (line.day >= 0 && line.day <= 31)
            AddLineToTable(IntervalHourly, month.month, line.day, header, sums, tables.hourlyByDay[static_cast<size_t>(line.day)]);
    }
    return tables;
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
    const SelectorTables& tables = TablesFor(month, FileSelector(selector));
    const UsageTable* add = nullptr;
    if (interval == IntervalMonthly)
        add = &tables.monthly;
    else if (interval == IntervalDaily)
        add = &tables.daily;
    else if (interval == IntervalHourly)
        add = &tables.hourlyByDay[static_cast<size_t>(time.Day())];
    if (add != nullptr) {
        for (size_t i = 0; i < UsageTableSize; ++i)
            table[i] += (*add)[i];
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
