// The shell's notification area: icons that programs add to the taskbar with Shell_NotifyIcon,
// each reporting stylus taps to its window with its callback message.
#pragma once

#include "platform/ui/WinDef.h"

struct NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};
using NOTIFYICONDATA = NOTIFYICONDATAW;
using PNOTIFYICONDATAW = NOTIFYICONDATAW*;

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;

constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

// An icon is known by its window and id. NIM_ADD fails for one already there, NIM_MODIFY and
// NIM_DELETE for one that is not; a structure of the wrong size fails with
// ERROR_INVALID_PARAMETER. Only the members that uFlags names are taken.
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data);
