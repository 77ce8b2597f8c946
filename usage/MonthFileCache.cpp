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
    const std::wstring path = MonthFileName(folder, year, month);
    loaded.opened = ReadMonthFileUnits(path, m_buffer, [&loaded](std::u16string_view line) {
        Utf16LineHeader header = SplitUsageHeader(line);
        Line kept;
        kept.day = header.day;
        kept.hour = header.hour;
        kept.restStart = loaded.entries.size();
        kept.restLength = header.rest.size();
        loaded.entries += header.rest;
        loaded.lines.push_back(kept);
        ForEachEntryName(header.rest, [&loaded](std::u16string_view name) {
            if (!name.empty())
                AddUniqueName(loaded.names, NameFromFile(name));
        });
    }) != FALSE;
    if (!loaded.opened) {
        NoteUnread(path);
        // Lines handed over before a read error are not the month's.
        loaded.entries.clear();
        loaded.lines.clear();
        loaded.names.Clear();
    }
    return loaded;
}

const MonthFileCache::SelectorTables& MonthFileCache::TablesFor(Month& month, const std::wstring& selector)
{
    const std::wstring fileSelector = FileSelector(selector);
    auto found = month.tables.find(fileSelector);
    if (found != month.tables.end())
        return found->second;
    SelectorTables& tables = month.tables[fileSelector];
    tables.hourlyByDay.resize(32);
    // A selector no decoded line can hold matches nothing: its tables stay empty.
    std::optional<std::u16string> units = Utf16FileSelector(selector);
    if (!fileSelector.empty() && !units)
        return tables;
    std::u16string_view entries = month.entries;
    for (const Line& line : month.lines) {
        std::u16string_view rest = entries.substr(line.restStart, line.restLength);
        UsageLineSums sums = fileSelector.empty() ? SumAllEntries(rest) : SumSelectedEntry(rest, *units);
        if (sums.sent == 0 && sums.received == 0)
            continue;
        AddSumsToTable(IntervalMonthly, month.month, 0, line.day, line.hour, sums, tables.monthly);
        AddSumsToTable(IntervalDaily, month.month, 0, line.day, line.hour, sums, tables.daily);
        if (line.day >= 0 && line.day <= 31)
            AddSumsToTable(IntervalHourly, month.month, line.day, line.day, line.hour, sums,
                tables.hourlyByDay[static_cast<size_t>(line.day)]);
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
    const SelectorTables& tables = TablesFor(month, selector);
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
