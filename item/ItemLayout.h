// Where the item's icons sit and where taps land: the lengths of the item's layout, in pixels,
// from the screen metrics, the screen resolution and the settings, and the item's client
// rectangle.
#pragma once

#include "platform/ui/WinDef.h"

class PluginModule;

struct ItemLayout {
    int cx = 16;        // small-icon width
    int cy = 16;        // small-icon height
    int gap = 2;        // cx / 8
    int pitch = 18;     // cx + gap
    int pinWidth = 8;   // cx / 2
    int pinHeight = 8;  // cx / 2
    int leftMargin = 28; // the status text's left margin
    int icons = 3;      // enabled tap icons
    int dx = 2;         // ((LOGPIXELSX + 24) * 2) / 96
    int dy = 1;         // (LOGPIXELSY + 48) / 96
    int ex = 1;         // (LOGPIXELSX + 48) / 96
    int py = 3;         // ((LOGPIXELSY + 16) * 3) / 96
    bool smallScreen = true; // screen narrower than 321 pixels
    RECT client {};

    // The top that centres a height h in the client.
    int CentredTop(int h) const { return (client.bottom - client.top) / 2 - h / 2; }
    // The left edge of the tap-icon row.
    int RowLeft() const { return client.right - pitch * icons; }
};

ItemLayout MakeItemLayout(const PluginModule& module, HWND item);

// Whether the point lies in [left, right) x [top, bottom).
bool InSpan(int x, int y, int left, int top, int right, int bottom);
