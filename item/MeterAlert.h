// The meter alert: a shell notification bubble, in HTML, when the traffic meter passes the
// user's threshold.
#pragma once

#include <string>

#include "platform/ui/WinDef.h"

// The bubble's HTML for the settings and the meter's reset time as FormatResetTime wrote it.
std::wstring MeterAlertHtml(DWORD thresholdMb, DWORD notifyType, DWORD notifyReset, const std::wstring& resetTime);

// Raises the bubble, owned by the item window, for the reset time the meter had before the
// check that passed the threshold.
void RaiseMeterAlert(HWND item, const std::wstring& resetTimeBefore);
