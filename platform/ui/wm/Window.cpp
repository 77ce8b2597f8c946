#include "platform/ui/wm/Window.h"

#include <algorithm>

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

Image& Window::Surface()
{
    if (m_surface.IsNull())
        ResizeSurface();
    return m_surface;
}

void Window::ResizeSurface()
{
    int width = ClientWidth() > 0 ? ClientWidth() : 1;
    int height = ClientHeight() > 0 ? ClientHeight() : 1;
    if (!m_surface.IsNull() && m_surface.Width() == width && m_surface.Height() == height)
        return;
    // A new surface starts transparent: until the window paints, what lies beneath shows.
    Image surface(width, height, PixelFormat::Argb32Premultiplied);
    if (!m_surface.IsNull()) {
        for (int y = 0; y < std::min(height, m_surface.Height()); ++y) {
            const uint32_t* from = m_surface.Row(y);
            std::copy(from, from + std::min(width, m_surface.Width()), surface.Row(y));
        }
    }
    m_surface = std::move(surface);
}

} // namespace platform::ui
