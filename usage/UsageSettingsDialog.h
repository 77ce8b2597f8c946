// The usage logging settings (template 512), opened from the usage report page.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR UsageSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
