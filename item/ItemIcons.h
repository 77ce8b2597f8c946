// The item's icons: the left column (activity icon, view switch, pin) and the row of tap icons
// on the right (meter, DHCP, options, and the view switch below them on small screens).
#pragma once

#include "platform/ui/WinDef.h"

void DrawLeftColumn(HWND item, HDC dc);
void DrawIconRow(HWND item, HDC dc);
