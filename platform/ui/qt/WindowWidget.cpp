#include "platform/ui/qt/WindowWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/qt/ImageView.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

WindowWidget::WindowWidget(HWND window, QWidget* parent)
    : QWidget(parent)
    , m_window(window)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(false);
}

Window* WindowWidget::LiveWindow() const
{
    return WindowManager::Get().Find(m_window);
}

void WindowWidget::SyncGeometry()
{
    Window* window = LiveWindow();
    if (window == nullptr)
        return;
    RECT rect = window->Rect();
    if (window->parent != nullptr) {
        RECT parentInsets = window->parent->FrameInsets();
        OffsetRect(&rect, parentInsets.left, parentInsets.top);
    }
    setGeometry(QRectFromRect(rect));
}

void WindowWidget::SyncVisible()
{
    Window* window = LiveWindow();
    if (window != nullptr)
        setVisible((window->style & WS_VISIBLE) != 0);
}

void WindowWidget::SyncEnabled()
{
    Window* window = LiveWindow();
    if (window != nullptr)
        setEnabled((window->style & WS_DISABLED) == 0);
}

void WindowWidget::SurfaceChanged(const RECT& clientRect)
{
    Window* window = LiveWindow();
    if (window == nullptr)
        return;
    RECT rect = clientRect;
    RECT insets = window->FrameInsets();
    OffsetRect(&rect, insets.left, insets.top);
    update(QRectFromRect(rect));
}

Image WindowWidget::Grab()
{
    return ImageFromQt(grab().toImage());
}

void WindowWidget::Release()
{
    // Qt may be inside this widget's own event handler: let Qt delete it when it is out.
    hide();
    setParent(nullptr);
    deleteLater();
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    Window* window = LiveWindow();
    if (window == nullptr)
        return;
    QPainter painter(this);
    RECT insets = window->FrameInsets();
    if (ShowsSurface())
        painter.drawImage(QPoint(insets.left, insets.top), ReadOnlyView(window->Surface()));
    // The frame: a one-pixel border, and a sunken client edge inside it.
    int edge = 0;
    if ((window->style & (WS_BORDER | WS_DLGFRAME)) != 0 || (window->exStyle & WS_EX_DLGMODALFRAME) != 0) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
        edge = 1;
    }
    if ((window->exStyle & WS_EX_CLIENTEDGE) != 0) {
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(QRect(edge, edge, width() - 2 * edge - 1, height() - 2 * edge - 1));
        painter.setPen(QColor(192, 192, 192));
        painter.drawRect(QRect(edge + 1, edge + 1, width() - 2 * edge - 3, height() - 2 * edge - 3));
    }
}

void WindowWidget::PostMouse(UINT message, QMouseEvent* event)
{
    Window* window = LiveWindow();
    if (window == nullptr || (window->style & WS_DISABLED) != 0)
        return;
    RECT insets = window->FrameInsets();
    QPoint at = event->position().toPoint();
    WPARAM keys = (event->buttons() & Qt::LeftButton) != 0 ? static_cast<WPARAM>(MK_LBUTTON) : 0;
    PostMessageW(m_window, message, keys, MAKELPARAM(at.x() - insets.left, at.y() - insets.top));
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONDOWN, event);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PostMouse(WM_LBUTTONUP, event);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    PostMouse(WM_MOUSEMOVE, event);
}

} // namespace platform::ui
