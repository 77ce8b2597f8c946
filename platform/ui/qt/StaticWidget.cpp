#include <QLabel>

#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

namespace {

class StaticWidget final : public ControlWidget {
public:
    explicit StaticWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        auto* label = new QLabel();
        DWORD type = window.style & SS_TYPEMASK;
        Qt::Alignment horizontal = type == SS_CENTER ? Qt::AlignHCenter : type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents, (window.style & SS_NOTIFY) == 0);
        SetInner(label);
        SyncText();
    }

    void SyncText() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        if (auto* label = qobject_cast<QLabel*>(Inner()))
            label->setText(QString::fromStdWString(window->text));
    }
};

} // namespace

WindowWidget* MakeStaticWidget(Window& window)
{
    return new StaticWidget(window);
}

} // namespace platform::ui
