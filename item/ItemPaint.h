// The item's paint: the left column and the icon row where the paint reaches them, then the
// status lines in the item font and the shell's text colour.
#pragma once

#include "platform/ui/WinDef.h"

void PaintItem(HWND item);
