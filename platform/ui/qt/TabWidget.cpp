#include <algorithm>

#include <QTabBar>

#include "platform/ui/controls/TabControl.h"
#include "platform/ui/qt/ControlWidget.h"
#include "platform/ui/qt/ControlWidgets.h"
#include "platform/ui/qt/RectConversion.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

namespace {

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
        : ControlWidget(window.Handle(), ParentWidgetOf(window))
    {
        HWND handle = window.Handle();
        m_bar = new PlatformTabBar();
        m_bar->height = TabStripHeight(window);
        m_bar->setShape(TabsAtBottom(window) ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
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
                SyncState();
        });
        SetInner(m_bar);
        SyncState();
    }

    void SyncState() override
    {
        Window* window = LiveWindow();
        if (window == nullptr)
            return;
        TabData& state = DataOf<TabData>(*window);
        m_syncing = true;
        while (m_bar->count() > static_cast<int>(state.items.size()))
            m_bar->removeTab(m_bar->count() - 1);
        while (m_bar->count() < static_cast<int>(state.items.size()))
            m_bar->addTab(QString());
        for (int i = 0; i < m_bar->count(); ++i)
            m_bar->setTabText(i, QString::fromStdWString(state.items[static_cast<size_t>(i)].text));
        if (state.selection >= 0)
            m_bar->setCurrentIndex(state.selection);
        if (m_bar->height != TabStripHeight(*window)) {
            m_bar->height = TabStripHeight(*window);
            m_bar->setFont(m_bar->font()); // lays the tabs out again
        }
        PlaceInner();
        m_syncing = false;
    }

    std::optional<RECT> ItemRect(int index) override
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
        int strip = std::min(TabStripHeight(*window), client.height());
        return TabsAtBottom(*window) ? QRect(client.left(), client.bottom() + 1 - strip, client.width(), strip)
                                 : QRect(client.left(), client.top(), client.width(), strip);
    }

private:
    PlatformTabBar* m_bar = nullptr;
    bool m_syncing = false;
};

} // namespace

WindowWidget* MakeTabWidget(Window& window)
{
    return new TabWidget(window);
}


} // namespace platform::ui
