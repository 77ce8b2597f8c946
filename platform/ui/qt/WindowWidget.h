// The Qt widget that shows one window: its frame and the surface the window paints, or, for
// a control, the real Qt control inside it. Child windows' widgets lie on their parent's.
#pragma once

#include <QWidget>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;

class WindowWidget : public QWidget {
public:
    WindowWidget(HWND window, QWidget* parent);

    HWND WindowHandle() const { return m_window; }

    // The window's geometry, visibility, enabled state or text changed.
    void SyncGeometry();
    void SyncVisible();
    virtual void SyncEnabled();
    virtual void SyncText() { }
    virtual void SyncFont() { }
    // Part of the surface changed: show it.
    void SurfaceChanged(const RECT& clientRect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    // The window behind this widget, or null once it is destroyed.
    Window* LiveWindow() const;
    // Controls draw themselves; plain windows show their surface.
    virtual bool ShowsSurface() const { return true; }

private:
    void PostMouse(UINT message, QMouseEvent* event);

    HWND m_window;
};

} // namespace platform::ui
