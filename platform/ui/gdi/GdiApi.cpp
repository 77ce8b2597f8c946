// Device contexts, drawing objects, pixels and fills.
#include <QPainter>

#include "platform/core/LastError.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/gdi/DeviceContext.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/gdi/GdiPainting.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"
#include "platform/ui/qt/WindowWidget.h"

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
        object->image = QImage(1, 1, QImage::Format_RGB32);
        object->image.fill(QColor(0, 0, 0));
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
    if (Window* window = WindowManager::Get().Find(context->window); window != nullptr && window->widget != nullptr)
        window->widget->SurfaceChanged(context->clip);
    DestroyDeviceContext(dc);
    return 1;
}

HDC CreateCompatibleDC(HDC dc)
{
    if (dc != nullptr && LookupDeviceContext(dc) == nullptr)
        return nullptr;
    WindowManager::Get();
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

HWND WindowFromDC(HDC dc)
{
    DeviceContext* context = LookupDeviceContext(dc);
    return context != nullptr && context->kind == DeviceContext::Kind::Window ? context->window : nullptr;
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
    WindowManager::Get();
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

COLORREF GetPixel(HDC dc, int x, int y)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    QImage* target = context->Target();
    if (target == nullptr || !context->ClipRect().contains(x, y))
        return CLR_INVALID;
    QRgb pixel = target->pixel(x, y);
    return RGB(static_cast<BYTE>(qRed(pixel)), static_cast<BYTE>(qGreen(pixel)), static_cast<BYTE>(qBlue(pixel)));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr)
        return CLR_INVALID;
    QImage* target = context->Target();
    if (target == nullptr || !context->ClipRect().contains(x, y))
        return CLR_INVALID;
    target->setPixel(x, y, QColorFromColorRef(color).rgb());
    return color & 0x00FFFFFF;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
    DeviceContext* context = LookupDeviceContext(dc);
    if (context == nullptr || rect == nullptr)
        return 0;
    std::optional<QColor> color = BrushColor(brush);
    if (!color)
        return 0;
    if (color->alpha() == 0)
        return 1; // a null brush paints nothing
    PaintOn(*context, [&](QPainter& painter) { painter.fillRect(QRectFromRect(*rect), *color); });
    return 1;
}
