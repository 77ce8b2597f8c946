#include "platform/ui/Observe.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

#include "platform/ui/WinUser.h"
#include "platform/ui/controls/HtmlViewerControl.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"
#include "platform/ui/qt/WindowWidget.h"

using namespace platform::ui;

namespace {

QImage Grab(HWND window)
{
    auto& manager = WindowManager::Get();
    Window* target = window != nullptr ? manager.Find(window) : &manager.Desktop();
    if (target == nullptr || target->widget == nullptr)
        return QImage();
    return target->widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
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
    QImage image = Grab(window);
    Pixels pixels;
    if (image.isNull())
        return pixels;
    pixels.width = image.width();
    pixels.height = image.height();
    pixels.rgb.reserve(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pixels.rgb.push_back(line[x] & 0x00FFFFFFu);
    }
    return pixels;
}

bool SaveWindowPng(HWND window, const std::string& path)
{
    QImage image = Grab(window);
    return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
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
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace platform
