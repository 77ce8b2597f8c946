// The options dialog's About page (template 504): the plug-in's version, build date and the
// device owner's name. Four taps in a row into a small zone at its lower right offer to write
// the diagnostic report.
#pragma once

#include "platform/ui/WinUser.h"

// Taps in a row into the zone that offer the report.
constexpr DWORD kAboutTapsForReport = 4;

// The hidden zone: the bottom-right corner of a rectangle as large as the frame's client area
// laid at the page's top-left, 30 pixels each way at 96 dots per inch.
RECT AboutTapZone(const RECT& frameClient, int logPixelsX, int logPixelsY);

INT_PTR AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
