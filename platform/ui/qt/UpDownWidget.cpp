#include <QBoxLayout>
#include <QToolButton>

#include "platform/ui/controls/UpDownControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

class UpDownWidget final : public ControlWidget {
public:
    explicit UpDownWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        auto* arrows = new QWidget();
        auto* layout = IsHorizontalUpDown(window) ? static_cast<QBoxLayout*>(new QHBoxLayout(arrows))
                                            : static_cast<QBoxLayout*>(new QVBoxLayout(arrows));
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        // Up above down; in a horizontal pair left (down) before right (up).
        for (bool up : { true, false }) {
            auto* button = new QToolButton();
            button->setArrowType(IsHorizontalUpDown(window) ? (up ? Qt::LeftArrow : Qt::RightArrow)
                                                      : (up ? Qt::UpArrow : Qt::DownArrow));
            button->setAutoRepeat(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            // In a horizontal pair the right arrow is the one that steps up.
            bool stepsUp = IsHorizontalUpDown(window) ? !up : up;
            QObject::connect(button, &QToolButton::pressed, [handle, stepsUp] {
                if (Window* live = WindowManager::Get().Find(handle))
                    UpDownUserStep(*live, stepsUp);
            });
            QObject::connect(button, &QToolButton::released, [handle] {
                if (Window* live = WindowManager::Get().Find(handle))
                    UpDownUserRelease(*live);
            });
            layout->addWidget(button);
        }
        SetInner(arrows);
    }
};

} // namespace

WindowWidget* MakeUpDownWidget(Window& window)
{
    return new UpDownWidget(window);
}


} // namespace platform::ui
