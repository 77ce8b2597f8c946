// The Today screen: the window between the taskbar and the menu bar that shows the items one
// under the other over the watermark, gives them the background and the text colour they ask
// for, and asks them every two seconds whether their height changed.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/shell/DateItem.h"
#include "host/shell/PluginItem.h"
#include "host/shell/Watermark.h"

namespace host {

class TodayWindow {
public:
    TodayWindow();
    ~TodayWindow();
    TodayWindow(const TodayWindow&) = delete;
    TodayWindow& operator=(const TodayWindow&) = delete;

    HWND Create();
    HWND Window() const { return m_window; }

    // Loads the custom items the registry lists and creates their windows, then lays the
    // screen out. What could not be loaded, one line each.
    std::vector<std::string> LoadItems();
    // Destroys the item windows and frees their modules.
    void UnloadItems();
    std::vector<std::unique_ptr<PluginItem>>& Items() { return m_items; }
    DateItem& Date() { return m_date; }

    // Asks every item for its height; lays out again when one changed.
    void Refresh();
    // Places the items one under the other at their heights.
    void Layout();
    // The screen's size changed (rotation).
    void Resize();

    // Called after each layout (the host reports heights).
    std::function<void()> onLayout;

    // Posted when an item asked for a new layout (WM_SETTINGCHANGE 0xF2 to the desktop).
    static constexpr UINT kRelayoutMessage = WM_APP + 1;
    static constexpr UINT_PTR kRefreshTimerId = 1;
    static constexpr UINT kRefreshPeriodMs = 2000;
    static constexpr COLORREF kTextColor = RGB(0, 0, 0);

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void DrawWatermark(const TODAYDRAWWATERMARKINFO& info);

    HWND m_window = nullptr;
    Watermark m_watermark;
    DateItem m_date;
    std::vector<std::unique_ptr<PluginItem>> m_items;
};

} // namespace host
