// Check boxes and radio buttons of the options pages and dialogs against the settings' switches,
// which hold 1 for on and 0 for off (any non-zero reads as on).
#pragma once

#include "platform/ui/WinUser.h"

void Check(HWND dialog, int id, DWORD on);
DWORD Checked(HWND dialog, int id);
