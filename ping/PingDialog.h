// The ping dialog (template 508), opened from the DHCP dialog.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR PingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
