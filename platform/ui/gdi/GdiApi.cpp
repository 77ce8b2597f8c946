// Device contexts, drawing objects, pixels and fills.
#include <algorithm>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/gdi/GdiPainting.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

// The 1 x 1 monochrome bitmap every memory context starts with.
HGDIOBJ DefaultBitmap()
{
    static HGDIOBJ bitmap = [] {
        auto object = std::make_unique<GdiObject>();
        object->kind = GdiKind::Bitmap;
        object->stock = true;
        object->bitsPerPixel = 1;
        object->image = Image(1, 1, PixelFormat::Rgb32);
        object->image.Fill(0xFF000000u);
        return RegisterGdiObject(std::move(object));
    }();
    return bitmap;
}

} // namespace

HDC GetDC(HWND window)
{
    auto& manager = WindowManager::Get();
    Window* target = window == nullptr ? &manager.Desktop() : manager.Lookup(window);
    if (target == nullptr)
        return nullptr;
    return MakeWindowContext(target->Handle(), RECT { 0, 0, target->ClientWidth(), target->ClientHeight() }, false);
}

int ReleaseDC(HWND, HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || context->kind != DeviceContext::Kind::Window || context->paint)
        return 0;
    Window* window = context->targetUsed ? WindowManager::Get().Find(context->window) : nullptr;
    if (window != nullptr && window->peer != nullptr)
        window->peer->SurfaceChanged(context->clip);
    DestroyDeviceContext(dc);
    return 1;
}

HDC CreateCompatibleDC(HDC dc)
{
    if (dc != nullptr && LookupDeviceContext(dc) == nullptr)
        return nullptr;
    auto context = std::make_unique<DeviceContext>();
    context->kind = DeviceContext::Kind::Memory;
    context->bitmap = DefaultBitmap();
    return RegisterDeviceContext(std::move(context));
}

BOOL DeleteDC(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || context->kind != DeviceContext::Kind::Memory)
        return FALSE;
    return DestroyDeviceContext(dc) ? TRUE : FALSE;
}

int GetDeviceCaps(HDC dc, int index)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return 0;
    const platform::DeviceProfile& device = platform::CurrentDevice();
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return device.dpi;
    case HORZRES:
        return device.screenWidth;
    case VERTRES:
        return device.screenHeight;
    case BITSPIXEL:
        if (context->kind == DeviceContext::Kind::Memory) {
            GdiObject* bitmap = LookupGdiObject(context->bitmap);
            return bitmap != nullptr ? bitmap->bitsPerPixel : 1;
        }
        return 32;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

HGDIOBJ GetStockObject(int object)
{
    return StockObject(object);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    DeviceContext* context = LookupDeviceContext(dc);
    GdiObject* selected = LookupGdiObject(object);
    if (context == nullptr || selected == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ* slot = nullptr;
    switch (selected->kind) {
    case GdiKind::Pen:
        slot = &context->pen;
        break;
    case GdiKind::Brush:
        slot = &context->brush;
        break;
    case GdiKind::Font:
        slot = &context->font;
        break;
    case GdiKind::Bitmap:
        // Only a memory context takes a bitmap, and a bitmap sits in one context at a time.
        if (context->kind != DeviceContext::Kind::Memory || (selected->selectCount > 0 && context->bitmap != object))
            return nullptr;
        slot = &context->bitmap;
        break;
    }
    HGDIOBJ previous = *slot;
    if (previous == object)
        return previous;
    *slot = object;
    ++selected->selectCount;
    if (GdiObject* old = LookupGdiObject(previous)) {
        --old->selectCount;
        if (old->deletePending && old->selectCount == 0)
            DestroyGdiObject(previous);
    }
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    GdiObject* target = LookupGdiObject(object);
    if (target == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (target->stock)
        return TRUE;
    if (target->selectCount > 0) {
        // A selected bitmap cannot go; a pen, brush or font goes when it is deselected.
        if (target->kind == GdiKind::Bitmap)
            return FALSE;
        target->deletePending = true;
        return TRUE;
    }
    return DestroyGdiObject(object) ? TRUE : FALSE;
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto object = std::make_unique<GdiObject>();
    object->kind = GdiKind::Brush;
    object->color = color & 0x00FFFFFF;
    return RegisterGdiObject(std::move(object));
}

namespace {

bool InsideClip(const DeviceContext& context, int x, int y)
{
    RECT clip = context.ClipRect();
    return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
}

// A window's surface keeps its colours premultiplied by the alpha; the platform reads them back
// whole.
uint32_t Unpremultiplied(uint32_t pixel)
{
    uint32_t alpha = pixel >> 24;
    if (alpha == 255 || alpha == 0)
        return alpha == 0 ? 0 : pixel;
    auto channel = [alpha](uint32_t value) { return std::min<uint32_t>((value * 255 + alpha / 2) / alpha, 255); };
    return (alpha << 24) | (channel((pixel >> 16) & 0xFF) << 16) | (channel((pixel >> 8) & 0xFF) << 8) | channel(pixel & 0xFF);
}

} // namespace

COLORREF GetPixel(HDC dc, int x, int y)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    Image* target = context->Target();
    if (target == nullptr || !InsideClip(*context, x, y))
        return CLR_INVALID;
    uint32_t pixel = target->Pixel(x, y);
    if (target->Format() == PixelFormat::Argb32Premultiplied)
        pixel = Unpremultiplied(pixel);
    return ColorRefFromArgb(pixel);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    Image* target = context->Target();
    if (target == nullptr || !InsideClip(*context, x, y))
        return CLR_INVALID;
    target->Row(y)[x] = ArgbFromColorRef(color);
    return color & 0x00FFFFFF;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || rect == nullptr)
        return 0;
    std::optional<BrushFill> fill = BrushOf(brush);
    if (!fill)
        return 0;
    if (fill->hollow)
        return 1; // a null brush paints nothing
    if (PaintTarget target = TargetOf(*context); target.Drawable())
        FillPixels(*target.image, target.clip, *rect, fill->color);
    return 1;
}
