// The Qt widget that shows one window, its peer: its frame and the surface the window paints,
// or, for a control, the real Qt control inside it. Child windows' widgets lie on their
// parent's.
#pragma once

#include <QWidget>

#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"

namespace platform::ui {

class Window;

class WindowWidget : public QWidget, public WindowPeer {
public:
    WindowWidget(HWND window, QWidget* parent);

    HWND WindowHandle() const { return m_window; }

    void SyncGeometry() override;
    void SyncVisible() override;
    void SyncEnabled() override;
    void SyncText() override { }
    void SyncFont() override { }
    void SyncFocus() override { }
    void SyncState() override { }
    void Hide() override { hide(); }
    void Raise() override { raise(); }
    void Lower() override { lower(); }
    void SurfaceChanged(const RECT& clientRect) override;
    Image Grab() override;
    void Release() override;

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
