#include "platform/ui/qt/ControlWidget.h"

#include <QEvent>

#include "platform/ui/qt/QtFonts.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

ControlWidget::ControlWidget(HWND window, QWidget* parent)
    : WindowWidget(window, parent)
{
}

void ControlWidget::SetInner(QWidget* inner)
{
    m_inner = inner;
    if (m_inner != nullptr) {
        m_inner->setParent(this);
        PlaceInner();
        m_inner->show();
        m_inner->lower();
        WatchFocus(m_inner);
    }
    SyncFont();
}

QRect ControlWidget::InnerRect() const
{
    Window* window = LiveWindow();
    if (window == nullptr)
        return rect();
    RECT insets = window->FrameInsets();
    return QRectFromRect(RECT { insets.left, insets.top, width() - insets.right, height() - insets.bottom });
}

void ControlWidget::PlaceInner()
{
    if (m_inner != nullptr)
        m_inner->setGeometry(InnerRect());
}

void ControlWidget::SyncEnabled()
{
    WindowWidget::SyncEnabled();
    if (m_inner != nullptr)
        m_inner->setEnabled(isEnabled());
}

void ControlWidget::SyncFont()
{
    Window* window = LiveWindow();
    if (window == nullptr || m_inner == nullptr)
        return;
    m_inner->setFont(ContextFont(window->font));
}

void ControlWidget::SyncFocus()
{
    if (m_inner != nullptr && !m_inner->hasFocus() && m_inner->focusPolicy() != Qt::NoFocus)
        m_inner->setFocus(Qt::OtherFocusReason);
}

void ControlWidget::WatchFocus(QWidget* part)
{
    if (part != nullptr)
        part->installEventFilter(this);
}

bool ControlWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && GetFocus() != WindowHandle() && LiveWindow() != nullptr)
        SetFocus(WindowHandle());
    return WindowWidget::eventFilter(watched, event);
}

void ControlWidget::resizeEvent(QResizeEvent*)
{
    PlaceInner();
}

} // namespace platform::ui
