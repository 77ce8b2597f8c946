// The platform's drawing interface: device contexts of windows and of memory bitmaps, stock
// and created drawing objects, and the drawing calls, with the platform's names, arguments and
// results. Coordinates are device pixels; rectangles exclude their right and bottom edges.
#pragma once

#include "platform/ui/WinDef.h"

// ---- Device contexts -----------------------------------------------------------------------

// A device context for the window's client area, or for the whole screen when the window is
// null. Give it back with ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// A memory device context, holding a 1 x 1 monochrome bitmap until another is selected.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);

enum : int {
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
};
int GetDeviceCaps(HDC dc, int index);

// ---- Objects -------------------------------------------------------------------------------

enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_PALETTE = 15,
};
HGDIOBJ GetStockObject(int object);
// Selecting returns the object of that kind that was selected before (a region selects as a
// clip and returns a region type). Stock objects are never deleted.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

HBRUSH CreateSolidBrush(COLORREF color);

#define CLR_INVALID 0xFFFFFFFFu

// ---- Pixels and fills ----------------------------------------------------------------------

COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// Fills left to right − 1 and top to bottom − 1.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
