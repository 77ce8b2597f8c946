// The options frame's Usage page (template 511): the traffic of one day by hours, one month by
// days or one year by months, as a bar chart or as a table. Five bitmap buttons and a date
// picker at the top pick the mode, the view and the date, and open the usage settings and the
// export. One page exists at a time; its mode, view and date last as long as it does.
#pragma once

#include "platform/ui/WinUser.h"

// The page asks itself to render one view or the other.
constexpr UINT WM_USAGE_RENDER_TABLE = WM_USER + 1011;
constexpr UINT WM_USAGE_RENDER_CHART = WM_USER + 1012;
// The re-render after the usage settings close.
constexpr UINT_PTR kUsageRerenderTimer = 19;
constexpr UINT kUsageRerenderDelay = 150;

INT_PTR UsageReportPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The chart's bitmap outlives the page; the module gives it back when it is unloaded.
void ReleaseUsageChartCanvas();
