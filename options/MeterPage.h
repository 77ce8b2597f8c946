// The options dialog's meter page (template 502): the traffic meter on or off, and its alert
// every N megabytes of upload, download or total traffic, optionally resetting the meter.
// The page writes the settings object on the frame's OK; the frame saves it.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR MeterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
