#include "usage/UsageReader.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/core/LastError.h"
#include "platform/files/Files.h"
#include "platform/text/WideString.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"

namespace {

void AddLiveCounts(const UsageLogger& logger, DWORD interval, const platform::CalendarTime& time,
    const std::wstring& selector, UsageTable& table)
{
    // The counters keep their spaces: only the case is converted.
    std::wstring name = WideToLower(selector);
    ULONG64 up = 0;
    ULONG64 down = 0;
    for (const TrafficCounter& counter : logger.Counters()) {
        if (name.empty()) {
            up += counter.UploadTotal();
            down += counter.DownloadTotal();
        } else if (counter.Name() == name) {
            up = counter.UploadTotal();
            down = counter.DownloadTotal();
            break;
        }
    }

    platform::CalendarTime now = platform::CalendarTime::Now();
    size_t bucket = 0;
    if (interval == IntervalMonthly && now.Year() == time.Year())
        bucket = static_cast<size_t>(now.Month());
    else if (interval == IntervalDaily && now.Year() == time.Year() && now.Month() == time.Month())
        bucket = static_cast<size_t>(now.Day());
    else if (interval == IntervalHourly && now.Year() == time.Year() && now.Month() == time.Month()
        && now.Day() == time.Day())
        bucket = static_cast<size_t>(now.Hour()) + 1;
    if (bucket == 0)
        return;
    table[bucket] += up;
    table[UsageTableReceived + bucket] += down;
}

} // namespace

void MonthSource::NoteUnread(const std::wstring& path)
{
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return;
    auto same = [&path](const UnreadMonthFile& unread) { return unread.path == path; };
    if (std::find_if(m_unread.begin(), m_unread.end(), same) == m_unread.end())
        m_unread.push_back({ path, error });
}

BOOL DirectMonthSource::ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
    const std::wstring& selector, UsageTable& table)
{
    UsageTable added {};
    const std::wstring path = MonthFileName(folder, time.Year(), time.Month());
    const MonthTotalsKey key { interval, time.Month(), time.Day(), selector };
    MonthFileIdentity identity;
    if (m_store != nullptr && m_store->Find(path, key, added, identity)) {
        for (size_t i = 0; i < UsageTableSize; ++i)
            table[i] += added[i];
        return TRUE;
    }
    added = {};
    const std::optional<std::u16string> fileSelector = Utf16FileSelector(selector);
    BOOL read = ReadMonthFileUnits(path, m_buffer, [&](std::u16string_view line) {
        Utf16LineHeader header = SplitUsageHeader(line);
        UsageLineSums sums;
        if (selector.empty())
            sums = SumAllEntries(header.rest);
        else if (fileSelector)
            sums = SumSelectedEntry(header.rest, *fileSelector);
        AddLineToTable(interval, time.Month(), time.Day(), header, sums, added);
    });
    if (!read) {
        NoteUnread(path);
        // A file that could not be read to its end counts as one that could not be opened.
        if (interval == IntervalMonthly) {
            table[static_cast<size_t>(time.Month())] = 0;
            table[UsageTableReceived + static_cast<size_t>(time.Month())] = 0;
        }
        return FALSE;
    }
    if (m_store != nullptr && identity.known)
        m_store->Keep(identity, key, added);
    for (size_t i = 0; i < UsageTableSize; ++i)
        table[i] += added[i];
    return TRUE;
}

BOOL DirectMonthSource::CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list)
{
    const std::wstring path = MonthFileName(folder, year, month);
    // The month's own names in order, then added to the list: the list comes out as if every
    // name of the file had been added to it in turn.
    std::vector<std::wstring> kept;
    MonthFileIdentity identity;
    if (m_store == nullptr || !m_store->FindNames(path, kept, identity)) {
        NameList own;
        BOOL read = ReadMonthFileUnits(path, m_buffer, [&own](std::u16string_view line) {
            ForEachEntryName(SplitUsageHeader(line).rest, [&own](std::u16string_view name) {
                // An empty name is no interface: it comes only from a damaged line, and as a
                // selector it would stand for all interfaces together.
                if (!name.empty())
                    AddUniqueName(own, NameFromFile(name));
            });
        });
        if (!read) {
            NoteUnread(path);
            return FALSE;
        }
        kept.assign(own.begin(), own.end());
        if (m_store != nullptr && identity.known)
            m_store->KeepNames(identity, kept);
    }
    for (const std::wstring& name : kept)
        AddUniqueName(list, name);
    return TRUE;
}

UsageTable UsageTotals(const UsageLogger& logger, DWORD interval, const platform::CalendarTime& time,
    const std::wstring& selector, const std::wstring& folder)
{
    DirectMonthSource direct;
    return UsageTotals(logger, interval, time, selector, folder, direct);
}

UsageTable UsageTotals(const UsageLogger& logger, DWORD interval, const platform::CalendarTime& time,
    const std::wstring& selector, const std::wstring& folder, MonthSource& source)
{
    UsageTable table {};
    if (interval == IntervalMonthly) {
        for (int month = 1; month <= 12; ++month) {
            platform::CalendarTime first = platform::CalendarTime::FromFields(time.Year(), month, 1, 0, 0, 0);
            source.ReadMonthTotals(interval, first, folder, selector, table);
        }
    } else {
        source.ReadMonthTotals(interval, time, folder, selector, table);
    }
    AddLiveCounts(logger, interval, time, selector, table);
    return table;
}

BOOL ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
    const std::wstring& selector, UsageTable& table)
{
    DirectMonthSource direct;
    return direct.ReadMonthTotals(interval, time, folder, selector, table);
}

BOOL CollectNames(const std::wstring& folder, const platform::CalendarTime& start, const platform::CalendarTime& end,
    NameList& list)
{
    DirectMonthSource direct;
    return CollectNames(folder, start, end, list, direct);
}

BOOL CollectNames(const std::wstring& folder, const platform::CalendarTime& start, const platform::CalendarTime& end,
    NameList& list, MonthSource& source)
{
    for (platform::CalendarTime t = start; t <= end;) {
        source.CollectMonthNames(folder, t.Year(), t.Month(), list);
        int year = t.Year();
        int month = t.Month() + 1;
        if (month > 12) {
            month = 1;
            ++year;
        }
        t = platform::CalendarTime::FromFields(year, month, 1, 0, 0, 0);
    }
    return TRUE;
}

void CollectFolderNames(const std::wstring& folder, NameList& list, MonthSource& source)
{
    std::set<std::pair<int, int>> months;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(MonthFilePattern(folder).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        int year = 0;
        int month = 0;
        if (ParseMonthFileName(found.cFileName, year, month))
            months.insert({ year, month });
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const auto& [year, month] : months)
        source.CollectMonthNames(folder, year, month, list);
}

BOOL CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list)
{
    DirectMonthSource direct;
    return direct.CollectMonthNames(folder, year, month, list);
}

BOOL AddUniqueName(NameList& list, const std::wstring& name)
{
    return list.Add(name);
}

DWORD DaysInMonth(DWORD month, DWORD year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2: {
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? 29 : 28;
    }
    default:
        return 31;
    }
}
