#include "platform/ui/qt/ControlWidget.h"

#include "platform/ui/qt/GdiObject.h"
#include "platform/ui/qt/Window.h"

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
        m_inner->setGeometry(rect());
        m_inner->show();
        m_inner->lower();
    }
    SyncFont();
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

void ControlWidget::resizeEvent(QResizeEvent*)
{
    if (m_inner != nullptr)
        m_inner->setGeometry(rect());
}

} // namespace platform::ui
