// The item's column of status lines: every visible line at once in full view, one line at a
// time in compact view, or the not-present block when the tracked adapter is not there.
#pragma once

#include <string>

#include "platform/time/CalendarTime.h"
#include "platform/ui/WinDef.h"

// Draws the lines into the rectangle, each under the one before, with the font and text colour
// already selected and a transparent background. advance moves compact view to its next line;
// index is the tracked adapter's.
void DrawStatusLines(HWND item, HDC dc, RECT rect, bool advance, DWORD index);

// The whole seconds the connection has lasted: 0 until a tick has seen it connected.
int32_t ConnectedSeconds(bool connected, const platform::CalendarTime& since, const platform::CalendarTime& now);

// "Time Connected: ..." for the whole seconds since the connection was made.
std::wstring TimeConnectedText(int32_t seconds);
