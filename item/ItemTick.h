// The item's one-second tick, the plug-in's main loop: refreshes the snapshots, feeds the
// usage logs, the rate history and the meter, raises the meter alert, works out the activity
// state, invalidates what must be repainted and keeps the taskbar icon up to date.
#pragma once

#include "platform/ui/WinDef.h"

void ItemTick(HWND item);
