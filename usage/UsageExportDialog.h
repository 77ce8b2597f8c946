// The export dialog (template 513), opened from the usage report page: a date range, the
// interval of the rows and the file, chosen by hand or through the save file dialog.
#pragma once

#include <string>

#include "platform/time/CalendarTime.h"
#include "platform/ui/WinUser.h"
#include "usage/UsageExport.h"

INT_PTR UsageExportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The file the path field starts with.
extern const wchar_t* const UsageExportDefaultPath; // "\Program Files\Velmora\export.csv"

// The export interval code of the interval list's position (500 monthly, 501 daily, 502 hourly).
DWORD ExportIntervalAt(LRESULT listPosition);

// Whether OK asks first: a monthly export of a single month gives that month's total only.
bool ExportAsksForWholeMonth(DWORD exportInterval, const platform::CalendarTime& start, const platform::CalendarTime& end);

// The stop message for an export that wrote nothing; empty for one that did.
std::wstring ExportFailureText(ExportOutcome outcome, const std::wstring& path);
