// Pens, fonts, bitmaps, text, shapes and block transfers.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/gdi/GdiPainting.h"
#include "platform/ui/gdi/ResourceData.h"
#include "platform/ui/gdi/PaintRecorder.h"

using namespace platform::ui;

namespace {

template <typename T>
int CopyOut(const T& value, int size, LPVOID buffer)
{
    if (buffer == nullptr)
        return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T)))
        return 0;
    std::memcpy(buffer, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

int TextLength(LPCWSTR text, int count)
{
    return count < 0 ? static_cast<int>(std::wcslen(text)) : count;
}

uint32_t ApplyRop(DWORD rop, uint32_t source, uint32_t destination, uint32_t pattern)
{
    switch (rop) {
    case SRCCOPY:
        return source;
    case SRCPAINT:
        return source | destination;
    case SRCAND:
        return source & destination;
    case SRCINVERT:
        return source ^ destination;
    case MERGEPAINT:
        return ~source | destination;
    case NOTSRCCOPY:
        return ~source;
    case DSTINVERT:
        return ~destination;
    case PATCOPY:
        return pattern;
    case BLACKNESS:
        return 0;
    case WHITENESS:
        return 0xFFFFFF;
    default:
        return destination;
    }
}

bool RopUsesSource(DWORD rop)
{
    return rop != DSTINVERT && rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS;
}

bool KnownRop(DWORD rop)
{
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case MERGEPAINT:
    case NOTSRCCOPY:
    case DSTINVERT:
    case PATCOPY:
    case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

// The block transfer both BitBlt and StretchBlt come to: every destination pixel inside the
// clip takes the raster operation of the source pixel that maps onto it.
BOOL Transfer(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, DWORD rop)
{
    DeviceContext* to = LookupDeviceContext(destination);
    if (to == nullptr)
        return FALSE;
    if (!KnownRop(rop) || width < 0 || height < 0 || sourceWidth <= 0 || sourceHeight <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Image* target = to->Target();
    if (target == nullptr)
        return FALSE;
    // The source is read in place; a copy only where it must be converted, or where it is the
    // destination itself (the rows may overlap). The Today screen's watermark is a screen-sized
    // bitmap blitted under the item at each of its paints.
    const Image* sourcePixels = nullptr;
    Image sourceCopy;
    if (RopUsesSource(rop)) {
        DeviceContext* from = LookupDeviceContext(source);
        if (from == nullptr)
            return FALSE;
        Image* sourceImage = from->Target();
        if (sourceImage == nullptr)
            return FALSE;
        if (sourceImage->Format() != PixelFormat::Rgb32)
            sourceCopy = Renderer().Convert(*sourceImage, PixelFormat::Rgb32);
        else if (sourceImage == target)
            sourceCopy = *sourceImage;
        sourcePixels = sourceCopy.IsNull() ? sourceImage : &sourceCopy;
    }
    uint32_t pattern = 0;
    if (auto brush = BrushOf(to->brush); brush && !brush->hollow)
        pattern = ArgbFromColorRef(brush->color) & 0xFFFFFF;
    RECT clip {};
    RECT block { x, y, x + width, y + height };
    RECT bounds = to->ClipRect();
    IntersectRect(&clip, &bounds, &block);
    bool unscaled = width == sourceWidth && height == sourceHeight;
    for (int dy = clip.top; dy < clip.bottom; ++dy) {
        uint32_t* line = target->Row(dy);
        int sy = sourceY + (unscaled ? dy - y : static_cast<int>(static_cast<int64_t>(dy - y) * sourceHeight / std::max(height, 1)));
        const uint32_t* sourceLine = nullptr;
        if (sourcePixels != nullptr) {
            if (sy < 0 || sy >= sourcePixels->Height())
                continue; // outside the source: the platform leaves those pixels
            sourceLine = sourcePixels->Row(sy);
        }
        for (int dx = clip.left; dx < clip.right; ++dx) {
            uint32_t sourcePixel = 0;
            if (sourceLine != nullptr) {
                int sx = sourceX + (unscaled ? dx - x : static_cast<int>(static_cast<int64_t>(dx - x) * sourceWidth / std::max(width, 1)));
                if (sx < 0 || sx >= sourcePixels->Width())
                    continue;
                sourcePixel = sourceLine[sx] & 0xFFFFFF;
            }
            uint32_t result = ApplyRop(rop, sourcePixel, line[dx] & 0xFFFFFF, pattern);
            line[dx] = 0xFF000000u | (result & 0xFFFFFF);
        }
    }
    return TRUE;
}

} // namespace

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style != PS_SOLID && style != PS_DASH && style != PS_NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Pen;
    object->style = style;
    object->width = width > 0 ? width : 1;
    object->color = color & 0x00FFFFFF;
    return RegisterGdiObject(std::move(object));
}

HFONT CreateFontIndirectW(const LOGFONTW* font)
{
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Font;
    object->logFont = *font;
    return RegisterGdiObject(std::move(object));
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer)
{
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (object->kind) {
    case GdiKind::Font:
        return CopyOut(LogFontOf(*object), size, buffer);
    case GdiKind::Bitmap: {
        BITMAP bitmap {};
        bitmap.bmWidth = object->image.Width();
        bitmap.bmHeight = object->image.Height();
        bitmap.bmBitsPixel = static_cast<WORD>(object->bitsPerPixel);
        bitmap.bmPlanes = 1;
        bitmap.bmWidthBytes = ((bitmap.bmWidth * bitmap.bmBitsPixel + 15) / 16) * 2;
        return CopyOut(bitmap, size, buffer);
    }
    case GdiKind::Pen:
        return CopyOut(LOGPEN { static_cast<UINT>(object->style), POINT { object->width, 0 }, object->color }, size, buffer);
    case GdiKind::Brush:
        return CopyOut(LOGBRUSH { static_cast<UINT>(object->style), object->color, 0 }, size, buffer);
    }
    return 0;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    if (LookupDeviceContext(dc) == nullptr)
        return nullptr;
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Bitmap;
    object->image = Image(std::max(width, 1), std::max(height, 1), PixelFormat::Rgb32);
    object->image.Fill(0xFF000000u);
    return RegisterGdiObject(std::move(object));
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    COLORREF previous = context->textColor;
    context->textColor = color & 0x00FFFFFF;
    return previous;
}

COLORREF GetTextColor(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    return context != nullptr ? context->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    COLORREF previous = context->backgroundColor;
    context->backgroundColor = color & 0x00FFFFFF;
    return previous;
}

int SetBkMode(HDC dc, int mode)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = context->backgroundMode;
    context->backgroundMode = mode;
    return previous;
}

int GetBkMode(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    return context != nullptr ? context->backgroundMode : 0;
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || metrics == nullptr)
        return FALSE;
    *metrics = Renderer().TextMetrics(LogFontOfHandle(context->font));
    return TRUE;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || text == nullptr || count < 0 || size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<int> extents(static_cast<size_t>(count));
    *size = Renderer().TextExtent(LogFontOfHandle(context->font), std::wstring_view(text, static_cast<size_t>(count)), extents.data());
    int fits = 0;
    for (int i = 0; i < count; ++i) {
        if (dx != nullptr)
            dx[i] = extents[static_cast<size_t>(i)];
        if (extents[static_cast<size_t>(i)] <= maxExtent && fits == i)
            fits = i + 1;
    }
    if (fit != nullptr)
        *fit = fits;
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
    return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || text == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int length = TextLength(text, count);
    std::wstring_view content(text, static_cast<size_t>(length));
    TextColors colors { context->textColor, context->backgroundColor, context->backgroundMode == OPAQUE };
    if ((format & DT_CALCRECT) != 0)
        return Renderer().DrawText(nullptr, RECT {}, LogFontOfHandle(context->font), content, *rect, format, colors);
    RecordText(*context, platform::PaintedText { std::wstring(content), *rect, format, context->textColor });
    PaintTarget target = TargetOf(*context);
    return Renderer().DrawText(target.Drawable() ? target.image : nullptr, target.clip, LogFontOfHandle(context->font), content,
        *rect, format, colors);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return FALSE;
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    std::optional<COLORREF> fill;
    if (auto brush = BrushOf(context->brush); brush && !brush->hollow)
        fill = brush->color;
    if (PaintTarget target = TargetOf(*context); target.Drawable())
        Renderer().DrawRectangle(*target.image, target.clip, RECT { left, top, right, bottom }, PenOf(context->pen), fill);
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || points == nullptr || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<PenSpec> pen = PenOf(context->pen);
    if (!pen)
        return TRUE;
    if (PaintTarget target = TargetOf(*context); target.Drawable())
        Renderer().DrawPolyline(*target.image, target.clip, points, count, *pen);
    return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    return Transfer(destination, x, y, width, height, source, sourceX, sourceY, std::max(width, 1), std::max(height, 1), rop);
}

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
    int sourceWidth, int sourceHeight, DWORD rop)
{
    return Transfer(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH, UINT flags)
{
    DeviceContext* context = LookupDeviceContext(dc);
    Icon* found = LookupIcon(icon);
    if (context == nullptr || found == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (width == 0)
        width = found->image.Width();
    if (height == 0)
        height = found->image.Height();
    RecordIcon(*context, platform::PaintedIcon { found->resourceId, x, y, width, height });
    if ((flags & DI_IMAGE) == 0)
        return TRUE;
    // With the mask the icon's transparency blends it into what lies beneath.
    if (PaintTarget target = TargetOf(*context); target.Drawable())
        Renderer().DrawImage(*target.image, target.clip, RECT { x, y, x + width, y + height }, found->image, (flags & DI_MASK) != 0);
    return TRUE;
}
