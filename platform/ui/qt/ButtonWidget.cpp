#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "platform/ui/controls/ButtonControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/Window.h"

namespace platform::ui {

namespace {

// A check box or radio button that the platform draws itself: with BS_LEFTTEXT its box is at the
// right end and the text keeps to the left edge, where Qt's right-to-left layout would push it
// against the box; with BS_MULTILINE the text breaks at blanks onto as many lines as the
// button's height holds, which Qt's own never does.
template <class Base, QStyle::SubElement kIndicator, QStyle::PrimitiveElement kPrimitive>
class DrawnBoxButton final : public Base {
public:
    DrawnBoxButton(bool leftText, bool multiLine)
        : m_leftText(leftText)
        , m_multiLine(multiLine)
    {
        if (leftText)
            this->setLayoutDirection(Qt::RightToLeft);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        QRect box = this->style()->subElementRect(kIndicator, &option, this);
        QStyleOptionButton indicator = option;
        indicator.rect = box;
        painter.drawPrimitive(kPrimitive, indicator);
        int gap = this->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
        int left = m_leftText ? 0 : box.right() + 1 + gap;
        int right = m_leftText ? box.left() - gap : this->width();
        QRect text(left, 0, std::max(0, right - left), this->height());
        int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | (m_multiLine ? Qt::TextWordWrap : 0);
        painter.drawItemText(text, flags, option.palette, this->isEnabled(), this->text(), QPalette::WindowText);
    }

private:
    bool m_leftText;
    bool m_multiLine;
};

using DrawnCheckBox = DrawnBoxButton<QCheckBox, QStyle::SE_CheckBoxIndicator, QStyle::PE_IndicatorCheckBox>;
using DrawnRadioButton = DrawnBoxButton<QRadioButton, QStyle::SE_RadioButtonIndicator, QStyle::PE_IndicatorRadioButton>;

// A push button with BS_MULTILINE: its text centred and broken at blanks.
class WrappingPushButton final : public QPushButton {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        QString label = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        QRect text = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        painter.drawItemText(text, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextWordWrap, option.palette, isEnabled(), label,
            QPalette::ButtonText);
    }
};

template <class Plain, class Drawn>
Plain* MakeBoxButton(DWORD style)
{
    bool leftText = (style & BS_LEFTTEXT) != 0;
    bool multiLine = (style & BS_MULTILINE) != 0;
    if (leftText || multiLine)
        return new Drawn(leftText, multiLine);
    return new Plain();
}

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
            QCheckBox* box = MakeBoxButton<QCheckBox, DrawnCheckBox>(window.style);
            QObject::connect(box, &QCheckBox::clicked, [handle] { SendMessageW(handle, BM_CLICK, 0, 0); });
            SetInner(box);
        } else if (IsRadioButtonType(type)) {
            QRadioButton* radio = MakeBoxButton<QRadioButton, DrawnRadioButton>(window.style);
            radio->setAutoExclusive(false); // the platform's grouping decides
            QObject::connect(radio, &QRadioButton::clicked, [handle] { SendMessageW(handle, BM_CLICK, 0, 0); });
            SetInner(radio);
        } else if (type != BS_OWNERDRAW) {
            QPushButton* button = (window.style & BS_MULTILINE) != 0 ? new WrappingPushButton() : new QPushButton();
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
