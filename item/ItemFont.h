// The item's font and the height of one status line in it.
#pragma once

#include "platform/ui/WinDef.h"

struct ItemFontChoice {
    int logPixelsY = 96;
    DWORD fontSize = 400;   // FontSize
    DWORD boldText = 0;     // BoldTextEnabled
    DWORD systemLocale = 0x0409;
};

// The LOGFONTW of the stock system font with the item's weight and height: East Asian locales
// take 9 points regular whatever the settings say.
HFONT CreateItemFont(const ItemFontChoice& choice);
// The choice for the attached module's settings and the device's locale.
ItemFontChoice CurrentItemFontChoice();
// The height of "XXXX" in the item font on a device context of the window.
int ItemLineHeight(HWND item);

// The 8-point font of the ping results, the usage chart and the rate monitor. Its height is
// the device's -(LOGPIXELSY / 9 + 0.5): the division is an integer one before the half is added
// and the sum is truncated, so 96 dpi gives -10 and 192 dpi -21 (not the -11 and -21 that
// points would give).
LONG SmallFontHeight(int logPixelsY);
// The stock system font's description at that height, weight normal.
HFONT CreateSmallFont(int logPixelsY);
