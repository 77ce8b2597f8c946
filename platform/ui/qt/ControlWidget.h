// The widget of a control window: a real Qt control fills its client area, follows the
// window's text, font, enabled state and focus, and reports the user's actions back through
// the control's own user-action calls. The window's frame (WS_BORDER, WS_EX_CLIENTEDGE) is the platform's and is
// drawn around the Qt control.
#pragma once

#include "platform/ui/qt/WindowWidget.h"

namespace platform::ui {

class ControlWidget : public WindowWidget {
public:
    ControlWidget(HWND window, QWidget* parent);

    void SyncEnabled() override;
    void SyncFont() override;
    void SyncFocus() override;

protected:
    // The Qt control; null for controls that show a surface (owner-drawn ones).
    void SetInner(QWidget* inner);
    QWidget* Inner() const { return m_inner; }
    bool ShowsSurface() const override { return m_inner == nullptr; }
    void resizeEvent(QResizeEvent* event) override;
    // The user put Qt's focus into the control (or a part of it, as a combo box's field).
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Watches a part of the control for the user's focus.
    void WatchFocus(QWidget* part);

    // Where the Qt control lies: the client area, unless the control shows only a part (a tab
    // control's strip).
    virtual QRect InnerRect() const;
    void PlaceInner();

private:

    QWidget* m_inner = nullptr;
};

} // namespace platform::ui
