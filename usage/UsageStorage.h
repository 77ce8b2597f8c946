// The log folder's storage cap and the oldest month file.
#pragma once

#include <string>

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

// Deletes the oldest month files while the folder's "UsageData*" entries together are larger
// than the limit, at most 10 in one call. Always TRUE.
BOOL ApplyStorageCap(const std::wstring& folder, DWORD limitKb);

// TRUE and the summed size (low 32 bits of each) of the folder's "UsageData*" entries; FALSE
// when none matches.
BOOL LogFolderSize(const std::wstring& folder, DWORD& totalBytes);

// A time on day 1 of the oldest month, from January 2003 to now, whose file exists and can be
// opened; the current month when none does. The time of day is now's.
platform::CalendarTime OldestLogMonth(const std::wstring& folder);

// Deletes the file of OldestLogMonth: the current month's file when no older one was found.
BOOL DeleteOldestLog(const std::wstring& folder);
