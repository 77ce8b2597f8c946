#include <QListWidget>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/ListViewControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

class ListViewWidget final : public ControlWidget {
public:
    explicit ListViewWidget(Window& window)
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        m_list = new QListWidget();
        m_list->setFrameShape(QFrame::NoFrame); // the platform draws the border
        m_list->setViewMode(QListView::ListMode);
        if ((window.style & LVS_TYPEMASK) == LVS_LIST) {
            // List mode fills columns top to bottom, then left to right.
            m_list->setFlow(QListView::TopToBottom);
            m_list->setWrapping(true);
        }
        m_list->setSelectionMode((window.style & LVS_SINGLESEL) != 0 ? QAbstractItemView::SingleSelection
                                                                     : QAbstractItemView::ExtendedSelection);
        QObject::connect(m_list, &QListWidget::itemPressed, [this, handle](QListWidgetItem* item) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr)
                ListViewUserSelect(*live, m_list->row(item));
        });
        QObject::connect(m_list, &QListWidget::itemChanged, [this, handle](QListWidgetItem* item) {
            Window* live = WindowManager::Get().Find(handle);
            if (m_syncing || live == nullptr)
                return;
            ListViewData& state = DataOf<ListViewData>(*live);
            int index = m_list->row(item);
            const ListViewItem* shown = ListViewItemAt(state, index);
            bool checked = item->checkState() == Qt::Checked;
            if (shown != nullptr && ((shown->state & LVIS_STATEIMAGEMASK) == kCheckedImage) != checked)
                ListViewUserToggleCheck(*live, index);
        });
        SetInner(m_list);
        SyncState();
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        ListViewData& state = DataOf<ListViewData>(*window);
        m_syncing = true;
        while (m_list->count() > static_cast<int>(state.items.size()))
            delete m_list->takeItem(m_list->count() - 1);
        while (m_list->count() < static_cast<int>(state.items.size()))
            m_list->addItem(QString());
        for (int i = 0; i < m_list->count(); ++i) {
            const ListViewItem& source = state.items[static_cast<size_t>(i)];
            QListWidgetItem* item = m_list->item(i);
            item->setText(QString::fromStdWString(source.text));
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (ListViewHasCheckBoxes(state)) {
                flags |= Qt::ItemIsUserCheckable;
                item->setCheckState((source.state & LVIS_STATEIMAGEMASK) == kCheckedImage ? Qt::Checked : Qt::Unchecked);
            } else {
                item->setData(Qt::CheckStateRole, QVariant());
            }
            item->setFlags(flags);
            item->setSelected((source.state & LVIS_SELECTED) != 0);
            if ((source.state & LVIS_FOCUSED) != 0)
                m_list->setCurrentRow(i, QItemSelectionModel::NoUpdate);
        }
        m_syncing = false;
    }

    void ScrollTo(int index) override
    {
        if (QListWidgetItem* item = m_list->item(index))
            m_list->scrollToItem(item);
    }

private:
    QListWidget* m_list = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeListViewWidget(Window& window)
{
    return new ListViewWidget(window);
}


} // namespace platform::ui
