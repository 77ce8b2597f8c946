#include "platform/ui/wm/Window.h"

#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/wm/DialogState.h"
#include "platform/ui/wm/WindowClass.h"

namespace platform::ui {

Window::Window(HWND handle, WindowClass& windowClass)
    : m_handle(handle)
    , m_class(&windowClass)
{
}

Window::~Window() = default;

RECT Window::FrameInsets() const
{
    int edge = 0;
    if ((style & (WS_BORDER | WS_DLGFRAME)) != 0 || (exStyle & WS_EX_DLGMODALFRAME) != 0)
        edge += 1;
    if ((exStyle & WS_EX_CLIENTEDGE) != 0)
        edge += 2;
    return RECT { edge, edge, edge, edge };
}

int Window::ClientWidth() const
{
    RECT insets = FrameInsets();
    int width = (m_rect.right - m_rect.left) - insets.left - insets.right;
    return width > 0 ? width : 0;
}

int Window::ClientHeight() const
{
    RECT insets = FrameInsets();
    int height = (m_rect.bottom - m_rect.top) - insets.top - insets.bottom;
    return height > 0 ? height : 0;
}

POINT Window::ClientOriginOnScreen() const
{
    RECT insets = FrameInsets();
    POINT origin { m_rect.left + insets.left, m_rect.top + insets.top };
    if (parent != nullptr) {
        POINT parentOrigin = parent->ClientOriginOnScreen();
        origin.x += parentOrigin.x;
        origin.y += parentOrigin.y;
    }
    return origin;
}

RECT Window::WindowRectOnScreen() const
{
    POINT parentOrigin { 0, 0 };
    if (parent != nullptr)
        parentOrigin = parent->ClientOriginOnScreen();
    return RECT { m_rect.left + parentOrigin.x, m_rect.top + parentOrigin.y, m_rect.right + parentOrigin.x,
        m_rect.bottom + parentOrigin.y };
}

bool Window::IsTopLevel() const
{
    return parent != nullptr && parent->parent == nullptr;
}

bool Window::IsShowing() const
{
    for (const Window* w = this; w != nullptr; w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0)
            return false;
    }
    return true;
}

QImage& Window::Surface()
{
    if (m_surface.isNull())
        ResizeSurface();
    return m_surface;
}

void Window::ResizeSurface()
{
    int width = ClientWidth() > 0 ? ClientWidth() : 1;
    int height = ClientHeight() > 0 ? ClientHeight() : 1;
    if (!m_surface.isNull() && m_surface.width() == width && m_surface.height() == height)
        return;
    // A new surface starts transparent: until the window paints, what lies beneath shows.
    QImage surface(width, height, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::transparent);
    if (!m_surface.isNull()) {
        for (int y = 0; y < std::min(height, m_surface.height()); ++y) {
            const auto* from = reinterpret_cast<const uint32_t*>(m_surface.constScanLine(y));
            auto* to = reinterpret_cast<uint32_t*>(surface.scanLine(y));
            std::copy(from, from + std::min(width, m_surface.width()), to);
        }
    }
    m_surface = std::move(surface);
}

} // namespace platform::ui
