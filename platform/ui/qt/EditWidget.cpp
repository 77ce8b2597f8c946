#include <QLineEdit>
#include <QValidator>

#include "platform/ui/controls/EditControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// Checks what Qt's field would let the user type against the platform's rules.
class EditValidator final : public QValidator {
public:
    EditValidator(HWND window, QObject* parent)
        : QValidator(parent)
        , m_window(window)
    {
    }

    State validate(QString& input, int&) const override
    {
        Window* window = WindowManager::Get().Find(m_window);
        if (window == nullptr)
            return Acceptable;
        if ((window->style & ES_UPPERCASE) != 0)
            input = input.toUpper();
        else if ((window->style & ES_LOWERCASE) != 0)
            input = input.toLower();
        if ((window->style & ES_NUMBER) != 0) {
            for (QChar c : input) {
                if (!c.isDigit())
                    return Invalid;
            }
        }
        size_t length = static_cast<size_t>(input.size());
        if (length > DataOf<EditData>(*window).limit && length > window->text.size())
            return Invalid;
        return Acceptable;
    }

private:
    HWND m_window;
};

class EditWidget final : public ControlWidget {
public:
    explicit EditWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        m_field = new QLineEdit();
        m_field->setFrame(false); // the platform draws the border
        m_field->setTextMargins(1, 0, 1, 0);
        m_field->setValidator(new EditValidator(window.Handle(), m_field));
        HWND handle = window.Handle();
        QObject::connect(m_field, &QLineEdit::textEdited, [this, handle](const QString& text) {
            if (m_syncing)
                return;
            Window* live = WindowManager::Get().Find(handle);
            if (live == nullptr)
                return;
            EditUserTyped(*live, text.toStdWString(), m_field->cursorPosition());
        });
        QObject::connect(m_field, &QLineEdit::selectionChanged, [this, handle] { TakeSelection(handle); });
        QObject::connect(m_field, &QLineEdit::cursorPositionChanged, [this, handle] { TakeSelection(handle); });
        SetInner(m_field);
        SyncState();
        SyncText();
    }

    void SyncText() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        QString text = QString::fromStdWString(window->text);
        m_syncing = true;
        if (m_field->text() != text)
            m_field->setText(text);
        const EditData& state = DataOf<EditData>(*window);
        if (state.selStart != state.selEnd)
            m_field->setSelection(state.selStart, state.selEnd - state.selStart);
        else
            m_field->setCursorPosition(state.selEnd);
        m_syncing = false;
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        DWORD style = window->style;
        Qt::Alignment horizontal = (style & ES_RIGHT) != 0 ? Qt::AlignRight
            : (style & ES_CENTER) != 0                     ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
        m_field->setAlignment(horizontal | Qt::AlignVCenter);
        m_field->setReadOnly((style & ES_READONLY) != 0);
        m_field->setEchoMode((style & ES_PASSWORD) != 0 ? QLineEdit::Password : QLineEdit::Normal);
    }

private:
    void TakeSelection(HWND handle)
    {
        Window* live = WindowManager::Get().Find(handle);
        if (m_syncing || live == nullptr)
            return;
        if (m_field->hasSelectedText()) {
            int start = m_field->selectionStart();
            EditUserSelected(*live, start, start + static_cast<int>(m_field->selectedText().size()));
        } else {
            EditUserSelected(*live, m_field->cursorPosition(), m_field->cursorPosition());
        }
    }

    QLineEdit* m_field = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeEditWidget(Window& window)
{
    return new EditWidget(window);
}


} // namespace platform::ui
