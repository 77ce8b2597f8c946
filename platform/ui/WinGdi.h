// The platform's drawing interface: device contexts of windows and of memory bitmaps, stock
// and created drawing objects, and the drawing calls, with the platform's names, arguments and
// results. Coordinates are device pixels; rectangles exclude their right and bottom edges.
#pragma once

#include "platform/ui/WinDef.h"

using LPINT = int*;

// ---- Device contexts -----------------------------------------------------------------------

// A device context for the window's client area, or for the whole screen when the window is
// null. Give it back with ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// A memory device context, holding a 1 x 1 monochrome bitmap until another is selected.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);

// ---- Objects -------------------------------------------------------------------------------

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_PALETTE = 15;
HGDIOBJ GetStockObject(int object);
// Selecting returns the object of that kind that was selected before (a region selects as a
// clip and returns a region type). Stock objects are never deleted.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

HBRUSH CreateSolidBrush(COLORREF color);

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_NULL = 5;
// A width of 0 is one pixel.
HPEN CreatePen(int style, int width, COLORREF color);

// Fonts. The platform's one typeface here is DejaVu Sans, whatever face a LOGFONTW names,
// drawn with one fixed policy (no hinting, no kerning, greyscale antialiasing unless the
// quality asks for none), so that text metrics are the same on every machine. A negative
// height is the character height in pixels; a positive one the cell height.
#define LF_FACESIZE 32
struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;
HFONT CreateFontIndirectW(const LOGFONTW* font);

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    uintptr_t lbHatch;
};
// The object's description (LOGFONTW, BITMAP, LOGPEN or LOGBRUSH): the bytes written, or the
// bytes needed when the buffer is null; 0 when the buffer is too small or the handle is dead.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);

// A bitmap in the screen's format (32 bits per pixel), black.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// ---- Text ----------------------------------------------------------------------------------

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
// The extent of the text, the cumulative width after each character (dx), and how many
// characters fit within maxExtent (fit); dx and fit may be null.
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
// Draws (or with DT_CALCRECT only measures) the text in the rectangle. Returns the height of
// the text; with DT_VCENTER or DT_BOTTOM on a single line, the offset from the rectangle's top
// to the bottom of the drawn text; 0 on failure. DT_CALCRECT sets the rectangle's right and
// bottom to fit the text. Without DT_NOPREFIX "&x" underlines x and "&&" draws "&".
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);

// ---- Shapes and blocks ---------------------------------------------------------------------

// Outlined with the pen and filled with the brush; right and bottom excluded. With the null
// pen the filled area is one pixel narrower and lower, as on the platform.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Polyline(HDC dc, const POINT* points, int count);

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD MERGEPAINT = 0x00BB0226; // destination = NOT source OR destination
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
// Scales by nearest pixel.
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, DWORD rop);

// ---- Icons ---------------------------------------------------------------------------------

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
// Draws the icon at its own size when width and height are 0.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree, UINT flags);
BOOL DestroyIcon(HICON icon);

#define CLR_INVALID 0xFFFFFFFFu

// ---- Pixels and fills ----------------------------------------------------------------------

COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// Fills left to right − 1 and top to bottom − 1.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
