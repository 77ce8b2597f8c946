// Drawing objects behind HGDIOBJ handles: pens, brushes, fonts and bitmaps, in one handle
// table with the stock objects, which live for the whole run and are never deleted.
#pragma once

#include <memory>

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/Image.h"
#include "platform/ui/backend/Raster.h" // ArgbFromColorRef, ColorRefFromArgb

namespace platform::ui {

enum class GdiKind { Pen, Brush, Font, Bitmap };

struct GdiObject {
    GdiKind kind = GdiKind::Brush;
    bool stock = false;
    int selectCount = 0; // device contexts that have it selected
    bool deletePending = false;

    // Pens and brushes.
    int style = 0;
    int width = 1;
    COLORREF color = 0;

    // Fonts. The stock system font follows the current device's resolution.
    LOGFONTW logFont {};
    bool systemFont = false;

    // Bitmaps: the pixels, 0xAARRGGBB with the alpha kept at 0xFF.
    Image image;
    int bitsPerPixel = 32;
};

// The object behind a handle, of the wanted kind when given; null when the handle is not live.
GdiObject* LookupGdiObject(HGDIOBJ handle);
HGDIOBJ RegisterGdiObject(std::unique_ptr<GdiObject> object);
// Deletes a live object that is not stock; false when the handle is not live.
bool DestroyGdiObject(HGDIOBJ handle);
HGDIOBJ StockObject(int index);
size_t LiveGdiObjectCount();

// The stock system font's description at the current device's resolution: 8 points.
LOGFONTW SystemLogFont();
// A font's description (the system font's as the device has it now).
LOGFONTW LogFontOf(const GdiObject& font);
// The description of the font behind a handle; the system font's for anything else.
LOGFONTW LogFontOfHandle(HGDIOBJ font);

} // namespace platform::ui
