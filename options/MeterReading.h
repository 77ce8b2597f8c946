// The meter reading (template 503): a small modal popup that the item's meter icon opens over
// the item window. It shows the meter's sent, received and total bytes and the time of its
// last reset, refreshed every two seconds, and resets the meter on request. On OK the item
// window is repainted so that its meter line shows what the dialog last showed.
#pragma once

#include "platform/ui/WinUser.h"

// The refresh timer, running only while the dialog is open.
constexpr UINT_PTR kMeterReadingTimer = 13;
constexpr UINT kMeterReadingRefreshMs = 2000;

INT_PTR MeterReadingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
