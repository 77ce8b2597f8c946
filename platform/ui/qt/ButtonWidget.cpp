#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/controls/ButtonControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

namespace {

class ButtonWidget final : public ControlWidget {
public:
    ButtonWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        DWORD type = ButtonType(window);
        HWND handle = window.Handle();
        if (type == BS_GROUPBOX) {
            auto* box = new QGroupBox();
            // A frame only: the controls inside it are its siblings and take the stylus.
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            SetInner(box);
            setAttribute(Qt::WA_TransparentForMouseEvents);
        } else if (IsCheckButtonType(type)) {
            auto* box = new QCheckBox();
            box->setLayoutDirection((window.style & BS_LEFTTEXT) != 0 ? Qt::RightToLeft : Qt::LeftToRight);
            QObject::connect(box, &QCheckBox::clicked, [handle] { SendMessageW(handle, BM_CLICK, 0, 0); });
            SetInner(box);
        } else if (IsRadioButtonType(type)) {
            auto* radio = new QRadioButton();
            radio->setAutoExclusive(false); // the platform's grouping decides
            radio->setLayoutDirection((window.style & BS_LEFTTEXT) != 0 ? Qt::RightToLeft : Qt::LeftToRight);
            QObject::connect(radio, &QRadioButton::clicked, [handle] { SendMessageW(handle, BM_CLICK, 0, 0); });
            SetInner(radio);
        } else if (type != BS_OWNERDRAW) {
            auto* button = new QPushButton();
            button->setDefault(type == BS_DEFPUSHBUTTON);
            QObject::connect(button, &QPushButton::clicked, [handle] { SendMessageW(handle, BM_CLICK, 0, 0); });
            SetInner(button);
        }
        SyncText();
        SyncState();
    }

    void SyncText() override
    {
        Window* window = LiveWindow();
        if (window == nullptr || Inner() == nullptr)
            return;
        // The platform's "&x" mnemonic is Qt's too; "&&" is a literal ampersand in both.
        QString text = QString::fromStdWString(window->text);
        if (auto* button = qobject_cast<QAbstractButton*>(Inner()))
            button->setText(text);
        else if (auto* box = qobject_cast<QGroupBox*>(Inner()))
            box->setTitle(text);
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        if (auto* button = qobject_cast<QAbstractButton*>(Inner())) {
            if (button->isCheckable() || qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
                button->setCheckable(true);
                button->setChecked(window->check == BST_CHECKED);
            }
            button->setDown(window->pressed);
        }
    }
};

} // namespace

WindowWidget* MakeButtonWidget(Window& window)
{
    return new ButtonWidget(window);
}

} // namespace platform::ui
