#include <algorithm>

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>

#include "platform/ui/controls/ComboControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/qt/QtFonts.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

// Qt's combo box, telling when its list drops down and closes.
class PlatformComboBox final : public QComboBox {
public:
    explicit PlatformComboBox(HWND window)
        : m_window(window)
    {
    }

    void showPopup() override
    {
        if (Window* live = WindowManager::Get().Find(m_window))
            ComboUserDropDown(*live, true);
        QComboBox::showPopup();
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        // The platform closes the list after it has told the parent about the choice.
        PostMessageW(m_window, CB_SHOWDROPDOWN, FALSE, 0);
    }

private:
    HWND m_window;
};

class ComboWidget final : public ControlWidget {
public:
    explicit ComboWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        m_box = new PlatformComboBox(handle);
        m_box->setEditable(IsEditableCombo(window));
        m_box->setInsertPolicy(QComboBox::NoInsert);
        QObject::connect(m_box, qOverload<int>(&QComboBox::activated), [this, handle](int index) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr)
                ComboUserChoose(*live, index);
        });
        if (QLineEdit* field = m_box->lineEdit()) {
            QObject::connect(field, &QLineEdit::textEdited, [this, handle, field](const QString& text) {
                Window* live = WindowManager::Get().Find(handle);
                if (!m_syncing && live != nullptr)
                    ComboUserEdited(*live, text.toStdWString(), field->cursorPosition());
            });
            WatchFocus(field);
        }
        SetInner(m_box);
        SyncState();
    }

    void SyncText() override { SyncState(); }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        ComboData& state = DataOf<ComboData>(*window);
        m_syncing = true;
        QStringList texts;
        for (int i = 0; i < state.items.Count(); ++i)
            texts.push_back(QString::fromStdWString(state.items.At(i)->text));
        QStringList shown;
        for (int i = 0; i < m_box->count(); ++i)
            shown.push_back(m_box->itemText(i));
        if (shown != texts) {
            m_box->clear();
            m_box->addItems(texts);
        }
        m_box->setCurrentIndex(state.items.Selection());
        if (QLineEdit* field = m_box->lineEdit()) {
            QString text = QString::fromStdWString(window->text);
            if (field->text() != text)
                field->setText(text);
        }
        int itemHeight = std::max(1, QFontMetrics(ContextFont(window->font)).height());
        m_box->setMaxVisibleItems(std::max(1, (state.droppedHeight - window->ClientHeight()) / itemHeight));
        m_syncing = false;
    }

private:
    PlatformComboBox* m_box = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeComboWidget(Window& window)
{
    return new ComboWidget(window);
}


} // namespace platform::ui
