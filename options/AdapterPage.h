// The options dialog's Adapter page (template 501): which adapter the item tracks, or automatic
// tracking, the chosen adapter's hardware address, and the way into the Control Panel's adapter
// settings. The choice reaches the settings object when the frame sends OK; the frame saves it.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR AdapterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
