#include <QListWidget>

#include "platform/ui/controls/ListBoxControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

class ListBoxWidget final : public ControlWidget {
public:
    explicit ListBoxWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        m_list = new QListWidget();
        m_list->setFrameShape(QFrame::NoFrame); // the platform draws the border
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        QObject::connect(m_list, &QListWidget::currentRowChanged, [this, handle](int row) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr && row >= 0)
                ListBoxUserChoose(*live, row, false);
        });
        QObject::connect(m_list, &QListWidget::itemDoubleClicked, [this, handle](QListWidgetItem* item) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr)
                ListBoxUserChoose(*live, m_list->row(item), true);
        });
        SetInner(m_list);
        SyncState();
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        ListBoxData& state = DataOf<ListBoxData>(*window);
        m_syncing = true;
        bool same = m_list->count() == state.items.Count();
        for (int i = 0; same && i < state.items.Count(); ++i)
            same = m_list->item(i)->text() == QString::fromStdWString(state.items.At(i)->text);
        if (!same) {
            m_list->clear();
            for (int i = 0; i < state.items.Count(); ++i)
                m_list->addItem(QString::fromStdWString(state.items.At(i)->text));
        }
        int selected = state.items.Selection();
        m_list->setCurrentRow(selected, selected >= 0 ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
        if (QListWidgetItem* top = m_list->item(state.top))
            m_list->scrollToItem(top, QAbstractItemView::PositionAtTop);
        m_syncing = false;
    }

private:
    QListWidget* m_list = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeListBoxWidget(Window& window)
{
    return new ListBoxWidget(window);
}


} // namespace platform::ui
