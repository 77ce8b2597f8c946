#include "platform/ui/Observe.h"


#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"
#include "platform/ui/controls/HtmlViewerControl.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace {

Image Grab(HWND window)
{
    auto& manager = WindowManager::Get();
    Window* target = window != nullptr ? manager.Find(window) : &manager.Desktop();
    if (target == nullptr || target->peer == nullptr)
        return Image();
    return Renderer().Convert(target->peer->Grab(), PixelFormat::Rgb32);
}

} // namespace

namespace platform {

PaintRecord LastPaint(HWND window)
{
    Window* target = WindowManager::Get().Find(window);
    return target != nullptr ? target->lastPaint : PaintRecord {};
}

COLORREF Pixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFFFFu;
    uint32_t pixel = rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    return RGB(static_cast<BYTE>(pixel >> 16), static_cast<BYTE>(pixel >> 8), static_cast<BYTE>(pixel));
}

Pixels CaptureWindow(HWND window)
{
    Image image = Grab(window);
    Pixels pixels;
    if (image.IsNull())
        return pixels;
    pixels.width = image.Width();
    pixels.height = image.Height();
    pixels.rgb.reserve(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
    for (int y = 0; y < image.Height(); ++y) {
        const uint32_t* line = image.Row(y);
        for (int x = 0; x < image.Width(); ++x)
            pixels.rgb.push_back(line[x] & 0x00FFFFFFu);
    }
    return pixels;
}

bool SaveWindowPng(HWND window, const std::string& path)
{
    Image image = Grab(window);
    return !image.IsNull() && Renderer().SavePng(image, path);
}

bool SaveBitmapPng(HBITMAP bitmap, const std::string& path)
{
    ui::GdiObject* object = ui::LookupGdiObject(bitmap);
    if (object == nullptr || object->kind != ui::GdiKind::Bitmap || object->image.IsNull())
        return false;
    return Renderer().SavePng(object->image, path);
}

std::wstring HtmlViewerSource(HWND viewer)
{
    Window* target = WindowManager::Get().Find(viewer);
    return target != nullptr && target->Class().proc == ui::HtmlViewerProc ? ui::HtmlViewerSource(*target)
                                                                           : std::wstring();
}

std::wstring HtmlViewerText(HWND viewer)
{
    Window* target = WindowManager::Get().Find(viewer);
    return target != nullptr && target->Class().proc == ui::HtmlViewerProc ? ui::HtmlViewerText(*target)
                                                                           : std::wstring();
}

size_t LiveWindowCount()
{
    return WindowManager::Get().LiveWindowCount();
}

void DestroyAllWindows()
{
    auto& manager = WindowManager::Get();
    while (!manager.Desktop().children.empty())
        DestroyWindow(manager.Desktop().children.front()->Handle());
    Renderer().DeleteReleasedPeers();
}

} // namespace platform
