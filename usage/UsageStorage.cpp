#include "usage/UsageStorage.h"

#include "platform/files/Files.h"
#include "usage/UsageLogFile.h"

namespace {

constexpr int kMaxDeletionsPerCall = 10;
constexpr int kFirstLogYear = 2003;

bool MonthFileOpens(const std::wstring& folder, int year, int month)
{
    std::wstring path = MonthFileName(folder, year, month);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

BOOL ApplyStorageCap(const std::wstring& folder, DWORD limitKb)
{
    const DWORD limitBytes = limitKb * 1024u;
    DWORD total = 0;
    if (!LogFolderSize(folder, total))
        total = 0;
    for (int deleted = 0; total > limitBytes && deleted < kMaxDeletionsPerCall; ++deleted) {
        DeleteOldestLog(folder);
        if (!LogFolderSize(folder, total))
            total = 0;
    }
    return TRUE;
}

BOOL LogFolderSize(const std::wstring& folder, DWORD& totalBytes)
{
    totalBytes = 0;
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW(MonthFilePattern(folder).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    do {
        totalBytes += found.nFileSizeLow;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return TRUE;
}

platform::CalendarTime OldestLogMonth(const std::wstring& folder)
{
    // Month by month: stepping back by 30 days, as the scan once did, jumps over February
    // from the first days of March, and a February file then outlives every newer month
    // under the storage cap.
    const platform::CalendarTime now = platform::CalendarTime::Now();
    int oldestYear = now.Year();
    int oldestMonth = now.Month();
    int year = now.Year();
    int month = now.Month();
    while (year >= kFirstLogYear) {
        if (MonthFileOpens(folder, year, month)) {
            oldestYear = year;
            oldestMonth = month;
        }
        if (--month == 0) {
            month = 12;
            --year;
        }
    }
    return platform::CalendarTime::FromFields(oldestYear, oldestMonth, 1, now.Hour(), now.Minute(), now.Second());
}

BOOL DeleteOldestLog(const std::wstring& folder)
{
    platform::CalendarTime oldest = OldestLogMonth(folder);
    return DeleteFileW(MonthFileName(folder, oldest.Year(), oldest.Month()).c_str());
}
