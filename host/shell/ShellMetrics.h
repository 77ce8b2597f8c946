// Where the shell puts its windows on the device's screen: the taskbar along the top, the Today
// screen under it and the menu bar along the bottom, all scaled from their sizes at 96 dpi.
#pragma once

#include "platform/ui/WinDef.h"

namespace host {

// A length of n pixels at 96 dpi on the current device, rounded as the platform rounds.
int Scaled(int logicalPixels);

RECT TaskbarRect();
RECT TodayRect();
RECT MenuBarRect();

} // namespace host
