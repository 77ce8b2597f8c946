// What a tap on the item does: the tap icons open their dialogs, the view switch changes the
// view, the pin holds the line, a tap on the text shows the next line, and the activity icon
// opens the data-rate monitor.
#pragma once

#include "platform/ui/WinDef.h"

// A stylus-up at (x, y) in the item's client coordinates.
void TapItem(HWND item, int x, int y);
