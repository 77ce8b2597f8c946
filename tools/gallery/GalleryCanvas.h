// A window painted with the platform's drawing calls: rectangles, fills, polylines, text in its
// alignments, a strip chart combined with MERGEPAINT as the rate monitor does, an icon and a
// stretched bitmap.
#pragma once

#include "platform/ui/WinUser.h"

namespace gallery {

constexpr int kCanvasIconId = 103;

// Registers the canvas class and the icon it draws with the module.
bool RegisterCanvas(HINSTANCE instance);
HWND CreateCanvas(HINSTANCE instance, int x, int y, int width, int height);

} // namespace gallery
