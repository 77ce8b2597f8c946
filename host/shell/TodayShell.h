// The emulated device's shell around the Today screen: the taskbar with its title and
// notification area, the Today screen with its items, the menu bar, the notification bubbles,
// and what the shell does for the items (their options dialog, a new layout when one asks for
// it, a turned screen).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/shell/MenuBar.h"
#include "host/shell/NotificationBubble.h"
#include "host/shell/Taskbar.h"
#include "host/shell/TickReport.h"
#include "host/shell/TodayWindow.h"
#include "platform/shell/ShellHost.h"

namespace host {

class TodayShell final : public platform::ShellHost {
public:
    TodayShell() = default;
    ~TodayShell() override;
    TodayShell(const TodayShell&) = delete;
    TodayShell& operator=(const TodayShell&) = delete;

    // Makes the shell's windows and loads the Today items; what went wrong, one line each
    // (an item that cannot be loaded is left out, the shell runs on).
    std::vector<std::string> Start();
    // Unloads the items and takes the shell's windows down.
    void Stop();

    Taskbar& Bar() { return m_taskbar; }
    TodayWindow& Today() { return m_today; }
    MenuBar& Menu() { return m_menu; }
    NotificationBubble& Bubble() { return m_bubble; }
    // The first custom item (Velmora's), or null when none could be made.
    PluginItem* Item();

    // The item's options dialog as the shell's Today settings open it; -1 when there is none or
    // it is open already (the item keeps one options dialog at a time).
    INT_PTR OpenItemOptions();
    // Turns the screen: portrait to landscape and back.
    void Rotate();
    // The top-level window in front of the Today screen (a dialog), or null.
    HWND FrontWindow() const;
    // The item's icons on the taskbar as they show now.
    TaskbarView TaskbarNow();

    // Programs of the device that the desktop has too (the network-adapter applet: the
    // desktop's network settings) start for real; only the window mode asks for it. Otherwise
    // the shell says what would open.
    void StartDesktopPrograms(bool on) { m_desktopPrograms = on; }

    // Things a user would notice: a bubble, a program that would start. One line, no time.
    std::function<void(const std::string&)> onEvent;

    // ---- platform::ShellHost ----
    void NotifyIconChanged(DWORD message, const platform::NotifyIconRecord& icon) override;
    void NotificationAdded(const platform::ShellNotification& notification) override;
    void NotificationRemoved(const platform::ShellNotification& notification) override;

private:
    static LRESULT DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsShellWindow(HWND window) const;
    void UpdateTray();
    void Event(const std::string& line);
    DWORD OpenNetworkSettings(const std::string& program);

    Taskbar m_taskbar;
    TodayWindow m_today;
    MenuBar m_menu;
    NotificationBubble m_bubble;
    WNDPROC m_desktopProc = nullptr;
    bool m_started = false;
    bool m_optionsOpen = false;
    bool m_desktopPrograms = false;
};

} // namespace host
