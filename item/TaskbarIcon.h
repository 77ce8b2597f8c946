// The activity icon outside the Today screen: a small window of the plug-in's own in the top
// bar, placed at a chosen offset over the background it found there, or an icon in the shell's
// notification area. Both follow the activity state and open the data-rate monitor.
#pragma once

#include "platform/shell/ShellApi.h"
#include "platform/ui/WinUser.h"

constexpr UINT kNotifyIconId = 4444;
constexpr UINT kNotifyIconMessage = 3468;

// Shell_NotifyIcon for the item's icon (the item window, the callback message, no tip).
BOOL NotifyIcon(HWND window, DWORD message, UINT id, HICON icon);

// At the end of every tick: creates, moves, shows or removes the top-bar window and the
// notification icon as the settings and the item's height ask.
void TaskbarUpkeep(HWND item);

// The top-bar window's procedure (also the procedure of the "VelmoraTaskIcon" class).
LRESULT TaskIconWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
