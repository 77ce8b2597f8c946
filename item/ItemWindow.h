// The item window procedure: the tick, the shell's refresh query, the paint, the watermark
// background, taps, moves, and the notification icon's callback.
#pragma once

#include "platform/shell/TodayScreen.h"
#include "platform/ui/WinUser.h"

// The one-second timer that drives the plug-in.
constexpr UINT_PTR kItemTimerId = 11;
constexpr UINT kItemTimerPeriodMs = 1000;

LRESULT ItemWindowProc(HWND item, UINT message, WPARAM wParam, LPARAM lParam);
