#include "platform/ui/controls/TabControl.h"

#include <QFontMetrics>
#include <QTabBar>

#include "platform/device/Device.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/gdi/GdiObject.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

struct TabItem {
    std::wstring text;
    int image = -1;
    LPARAM data = 0;
    DWORD state = 0;
};

struct TabData : ControlData {
    std::vector<TabItem> items;
    int selection = -1;
    WPARAM version = 0;
};

bool AtBottom(const Window& window)
{
    return (window.style & TCS_BOTTOM) != 0;
}

// The height of the row of tabs: one line of the control's font and a margin above and below.
int StripHeight(const Window& window)
{
    int margin = (4 * CurrentDevice().dpi + 48) / 96;
    return QFontMetrics(ContextFont(window.font)).height() + 2 * margin;
}

// Qt's tab bar with tabs exactly as high as the platform's row.
class PlatformTabBar final : public QTabBar {
public:
    int height = 0;

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize size = QTabBar::tabSizeHint(index);
        if (height > 0)
            size.setHeight(height);
        return size;
    }
};

class TabWidget final : public ControlWidget {
public:
    explicit TabWidget(Window& window)
        : ControlWidget(window.Handle(), window.parent->widget)
    {
        HWND handle = window.Handle();
        m_bar = new PlatformTabBar();
        m_bar->height = StripHeight(window);
        m_bar->setShape(AtBottom(window) ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
        m_bar->setExpanding(false);
        m_bar->setUsesScrollButtons(true);
        m_bar->setElideMode(Qt::ElideNone);
        m_bar->setDrawBase(true);
        QObject::connect(m_bar, &QTabBar::tabBarClicked, [this, handle](int index) {
            Window* live = WindowManager::Get().Find(handle);
            if (!m_syncing && live != nullptr && index >= 0)
                TabUserSelect(*live, index);
        });
        // Qt moves its own selection after the click; the platform's decides.
        QObject::connect(m_bar, &QTabBar::currentChanged, [this](int) {
            if (!m_syncing)
                Sync();
        });
        SetInner(m_bar);
        Sync();
    }

    void Sync()
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        TabData& data = DataOf<TabData>(*window);
        m_syncing = true;
        while (m_bar->count() > static_cast<int>(data.items.size()))
            m_bar->removeTab(m_bar->count() - 1);
        while (m_bar->count() < static_cast<int>(data.items.size()))
            m_bar->addTab(QString());
        for (int i = 0; i < m_bar->count(); ++i)
            m_bar->setTabText(i, QString::fromStdWString(data.items[static_cast<size_t>(i)].text));
        if (data.selection >= 0)
            m_bar->setCurrentIndex(data.selection);
        if (m_bar->height != StripHeight(*window)) {
            m_bar->height = StripHeight(*window);
            m_bar->setFont(m_bar->font()); // lays the tabs out again
        }
        PlaceInner();
        m_syncing = false;
    }

    RECT TabRect(int index) const
    {
        QRect tab = m_bar->tabRect(index);
        tab.translate(m_bar->pos());
        Window* window = LiveWindow();
        if (window != nullptr) {
            RECT insets = window->FrameInsets();
            tab.translate(-insets.left, -insets.top);
        }
        return RectFromQRect(tab);
    }

protected:
    QRect InnerRect() const override
    {
        QRect client = ControlWidget::InnerRect();
        Window* window = LiveWindow();
        if (window == nullptr)
            return client;
        int strip = std::min(StripHeight(*window), client.height());
        return AtBottom(*window) ? QRect(client.left(), client.bottom() + 1 - strip, client.width(), strip)
                                 : QRect(client.left(), client.top(), client.width(), strip);
    }

private:
    PlatformTabBar* m_bar = nullptr;
    bool m_syncing = false;
};

void Show(Window& window)
{
    if (auto* widget = dynamic_cast<TabWidget*>(window.widget))
        widget->Sync();
}

TabItem* ItemAt(TabData& data, int index)
{
    return index >= 0 && index < static_cast<int>(data.items.size()) ? &data.items[static_cast<size_t>(index)] : nullptr;
}

void Assign(TabItem& item, const TCITEMW& request)
{
    if ((request.mask & TCIF_TEXT) != 0)
        item.text = request.pszText != nullptr ? request.pszText : L"";
    if ((request.mask & TCIF_IMAGE) != 0)
        item.image = request.iImage;
    if ((request.mask & TCIF_PARAM) != 0)
        item.data = request.lParam;
    if ((request.mask & TCIF_STATE) != 0)
        item.state = (item.state & ~request.dwStateMask) | (request.dwState & request.dwStateMask);
}

void AdjustRect(const Window& window, bool larger, RECT& rect)
{
    int strip = StripHeight(window);
    int sign = larger ? -1 : 1;
    if (AtBottom(window))
        rect.bottom -= sign * strip;
    else
        rect.top += sign * strip;
}

} // namespace

void TabUserSelect(Window& window, int index)
{
    TabData& data = DataOf<TabData>(window);
    if (ItemAt(data, index) == nullptr || index == data.selection)
        return;
    HWND handle = window.Handle();
    NMHDR note {};
    if (NotifyParent(window, note, TCN_SELCHANGING) != 0) {
        Show(window);
        return;
    }
    Window* live = WindowManager::Get().Find(handle);
    if (live == nullptr || ItemAt(DataOf<TabData>(*live), index) == nullptr)
        return;
    DataOf<TabData>(*live).selection = index;
    Show(*live);
    NotifyParent(*live, note, TCN_SELCHANGE);
}

WindowWidget* MakeTabWidget(Window& window)
{
    return new TabWidget(window);
}

LRESULT TabProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = WindowManager::Get().Find(handle);
    if (window == nullptr)
        return 0;
    TabData& data = DataOf<TabData>(*window);
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    auto* item = reinterpret_cast<TCITEMW*>(lParam);
    switch (message) {
    case TCM_INSERTITEMW: {
        int count = static_cast<int>(data.items.size());
        if (item == nullptr || index < 0)
            return -1;
        index = std::min(index, count);
        TabItem added;
        Assign(added, *item);
        data.items.insert(data.items.begin() + index, added);
        // The first tab becomes the selected one; later ones keep the selection on its tab.
        if (data.selection < 0)
            data.selection = 0;
        else if (index <= data.selection)
            ++data.selection;
        Show(*window);
        return index;
    }
    case TCM_SETITEMW: {
        TabItem* found = ItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return FALSE;
        Assign(*found, *item);
        Show(*window);
        return TRUE;
    }
    case TCM_GETITEMW: {
        const TabItem* found = ItemAt(data, index);
        if (found == nullptr || item == nullptr)
            return FALSE;
        if ((item->mask & TCIF_TEXT) != 0)
            CopyToBuffer(found->text, item->pszText, item->cchTextMax);
        if ((item->mask & TCIF_IMAGE) != 0)
            item->iImage = found->image;
        if ((item->mask & TCIF_PARAM) != 0)
            item->lParam = found->data;
        if ((item->mask & TCIF_STATE) != 0)
            item->dwState = found->state & item->dwStateMask;
        return TRUE;
    }
    case TCM_GETITEMCOUNT:
        return static_cast<LRESULT>(data.items.size());
    case TCM_DELETEITEM: {
        if (ItemAt(data, index) == nullptr)
            return FALSE;
        data.items.erase(data.items.begin() + index);
        if (data.selection == index)
            data.selection = -1;
        else if (data.selection > index)
            --data.selection;
        Show(*window);
        return TRUE;
    }
    case TCM_DELETEALLITEMS:
        data.items.clear();
        data.selection = -1;
        Show(*window);
        return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
        return data.selection;
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS: {
        if (ItemAt(data, index) == nullptr)
            return -1;
        int previous = data.selection;
        data.selection = index;
        Show(*window);
        return message == TCM_SETCURSEL ? previous : 0;
    }
    case TCM_ADJUSTRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr)
            AdjustRect(*window, wParam != 0, *rect);
        return 0;
    }
    case TCM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        auto* widget = dynamic_cast<TabWidget*>(window->widget);
        if (rect == nullptr || ItemAt(data, index) == nullptr || widget == nullptr)
            return FALSE;
        *rect = widget->TabRect(index);
        return TRUE;
    }
    case CCM_SETVERSION: {
        WPARAM previous = data.version;
        data.version = wParam;
        return static_cast<LRESULT>(previous);
    }
    case CCM_GETVERSION:
        return static_cast<LRESULT>(data.version);
    case WM_SETFONT: {
        LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
        Show(*window);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(handle, message, wParam, lParam);
    }
}

} // namespace platform::ui
