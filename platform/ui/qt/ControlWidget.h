// The widget of a control window: a real Qt control fills it, follows the window's text,
// font and enabled state, and reports the user's actions back as the control's messages.
#pragma once

#include "platform/ui/qt/WindowWidget.h"

namespace platform::ui {

class ControlWidget : public WindowWidget {
public:
    ControlWidget(HWND window, QWidget* parent);

    void SyncEnabled() override;
    void SyncFont() override;

protected:
    // The Qt control; null for controls that show a surface (owner-drawn ones).
    void SetInner(QWidget* inner);
    QWidget* Inner() const { return m_inner; }
    bool ShowsSurface() const override { return m_inner == nullptr; }
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_inner = nullptr;
};

} // namespace platform::ui
