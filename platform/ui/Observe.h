// Observability of the user interface for tests and the headless host: what a window's last
// paint drew, the pixels of any window or of the whole screen, PNG files of them, and the
// count of live windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/WinDef.h"

namespace platform {

struct PaintedText {
    std::wstring text;
    RECT rect;      // the rectangle given to the drawing call, client coordinates
    UINT flags;     // its DT_ flags
    COLORREF color; // the text colour
};

struct PaintedIcon {
    int resourceId; // 0 for an icon that did not come from a module's resources
    int x;
    int y;
    int width;
    int height;
};

struct PaintRecord {
    RECT paintRect {}; // the paint rectangle of that paint
    bool erased = false; // WM_ERASEBKGND was sent before it
    std::vector<PaintedText> texts;
    std::vector<PaintedIcon> icons;
};

// What the window's last completed paint (BeginPaint to EndPaint) drew; empty for a window
// that has not painted.
PaintRecord LastPaint(HWND window);

// A window as it shows on the screen (its frame, its surface and its child windows), or the
// whole screen for a null window. Pixels are 0x00RRGGBB, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;

    COLORREF At(int x, int y) const;
};
Pixels CaptureWindow(HWND window);
// False when the window is not live or the file cannot be written.
bool SaveWindowPng(HWND window, const std::string& path);

// A bitmap's pixels as a PNG file (a memory context's drawing, made without a window); false
// when the handle is no bitmap or the file cannot be written.
bool SaveBitmapPng(HBITMAP bitmap, const std::string& path);

// What an HTML viewer ("DISPLAYCLASS") was given since its last DTM_CLEAR (plain text as the
// escaped HTML it became), and the text it shows; empty for another window.
std::wstring HtmlViewerSource(HWND viewer);
std::wstring HtmlViewerText(HWND viewer);

size_t LiveWindowCount();
// Destroys every top-level window (tests start from an empty screen).
void DestroyAllWindows();

} // namespace platform
