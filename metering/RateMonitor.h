// The data rate monitor (template 507): a small modal popup over the Today screen with the
// strip chart of the tracked adapter's upload and download rates, the current rates as text,
// and buttons that change the chart's full scale. It samples nothing itself: it reads the
// item window's rate history, which goes on filling while the monitor is open.
#pragma once

#include "platform/ui/WinUser.h"

// The chart's timer: the first picture soon after building, then one a second.
constexpr UINT_PTR kRateMonitorTimer = 16;
constexpr UINT kRateMonitorFirstDrawMs = 20;
constexpr UINT kRateMonitorTickMs = 1000;

INT_PTR RateMonitorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
