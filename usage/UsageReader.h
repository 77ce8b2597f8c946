// Reading the month files back into totals per hour, day or month, for one interface or for
// all together, with the live counts of the hour not yet written.
#pragma once

#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"
#include "usage/MonthTotalsStore.h"
#include "usage/NameList.h"
#include "usage/UsageTable.h"

class UsageLogger;

// A month file that is there but could not be read, and the error that stopped it.
struct UnreadMonthFile {
    std::wstring path;
    DWORD error = NO_ERROR;
};

// Where month totals and names come from. The direct source opens and reads the month file
// at every call, as the report does; an export uses a cache that reads each file once.
class MonthSource {
public:
    virtual ~MonthSource() = default;
    // Adds the month file's lines to the table (see ReadMonthTotals).
    virtual BOOL ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
        const std::wstring& selector, UsageTable& table)
        = 0;
    // Adds the month file's interface names to the list (see CollectMonthNames).
    virtual BOOL CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list) = 0;

    // The month files asked for so far that exist but could not be read (no permission, a
    // folder in the file's place, a read error, the writer holding it), each once, in the
    // order they were met. Their months read as having no traffic, as the device's reader has
    // it; a caller that can tell the user checks here. A missing file is a month without
    // traffic and is not among them.
    const std::vector<UnreadMonthFile>& UnreadFiles() const { return m_unread; }

protected:
    // After a read of the file failed: notes it unless the last error says it is not there.
    void NoteUnread(const std::wstring& path);

private:
    std::vector<UnreadMonthFile> m_unread;
};

// Opens and reads the file at every call, parsing its code units where they were read; with a
// store, a file whose totals the store holds for it as it is now is not read at all.
class DirectMonthSource final : public MonthSource {
public:
    explicit DirectMonthSource(MonthTotalsStore* store = nullptr)
        : m_store(store)
    {
    }

    BOOL ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
        const std::wstring& selector, UsageTable& table) override;
    BOOL CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list) override;

private:
    MonthTotalsStore* m_store;
    std::u16string m_buffer; // the pieces of the file being read, kept for the next one
};

// The table for the interval (IntervalMonthly: the requested year; IntervalDaily: its month;
// IntervalHourly: its day), for the interface named by the selector or, when it is empty, for
// all interfaces, including the logger's counts of the current hour when now falls in the
// period.
UsageTable UsageTotals(const UsageLogger& logger, DWORD interval, const platform::CalendarTime& time,
    const std::wstring& selector, const std::wstring& folder);
UsageTable UsageTotals(const UsageLogger& logger, DWORD interval, const platform::CalendarTime& time,
    const std::wstring& selector, const std::wstring& folder, MonthSource& source);

// Adds the lines of the requested time's month file to the table. FALSE when the file could
// not be opened (it then adds nothing).
BOOL ReadMonthTotals(DWORD interval, const platform::CalendarTime& time, const std::wstring& folder,
    const std::wstring& selector, UsageTable& table);

// Adds the interface names of every month from the start's to the end's. Always TRUE.
BOOL CollectNames(const std::wstring& folder, const platform::CalendarTime& start, const platform::CalendarTime& end,
    NameList& list);
BOOL CollectNames(const std::wstring& folder, const platform::CalendarTime& start, const platform::CalendarTime& end,
    NameList& list, MonthSource& source);

// Adds the interface names of every month file in the folder, month by month from the oldest.
// Files that cannot be read add nothing (the source notes them).
void CollectFolderNames(const std::wstring& folder, NameList& list, MonthSource& source);

// Adds the names in one month file, lower case with spaces restored. FALSE when the file could
// not be opened.
BOOL CollectMonthNames(const std::wstring& folder, int year, int month, NameList& list);

// TRUE when the name was appended, FALSE when the list already holds it (exact comparison).
// In constant time on average, whatever the list's length.
BOOL AddUniqueName(NameList& list, const std::wstring& name);

// 28 to 31; 31 for a month outside 1 to 12.
DWORD DaysInMonth(DWORD month, DWORD year);
