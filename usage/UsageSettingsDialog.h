// The usage logging settings (template 512), opened from the usage report page: the interface
// the report shows, logging on or off, the log folder (made and filled on request), the
// storage cap and whether the report lists empty rows. OK changes the settings object; the
// registry follows with the options frame's OK.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"

INT_PTR UsageSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The storage cap in KB is held within these.
constexpr DWORD kUsageCapLowest = 100;
constexpr DWORD kUsageCapHighest = 5000;
constexpr DWORD kUsageCapStep = 100;

// The cap field's number (its first 10 characters), held within the bounds.
DWORD UsageCapFromText(const std::wstring& text);
// One press on the cap's spin: up (a delta below 1, the spin's range running backwards) adds
// a step, down takes one away; the result held within the bounds.
DWORD StepUsageCap(const std::wstring& text, int delta);

// The folders a new log path needs, outermost first: the text before each "\" after the first
// character, then the path itself.
std::vector<std::wstring> LogFolderLevels(const std::wstring& path);
// Makes every level. 0, or the code of the last failure that was neither already-exists nor
// access-denied (a card's root refuses to be made, which is no fault); a later such failure
// clears it.
DWORD CreateLogFolderLevels(const std::wstring& path);
