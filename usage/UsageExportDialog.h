// The export dialog (template 513), opened from the usage report page.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR UsageExportProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
