// The taskbar's notification area: the icons programs add with Shell_NotifyIcon, right of the
// title, each passing stylus taps to its window with its callback message; and the icon of each
// notification bubble while the notification stands.
#pragma once

#include <functional>
#include <vector>

#include "platform/shell/ShellHost.h"

namespace host {

class NotificationArea {
public:
    HWND Create(HWND taskbar, const RECT& place);
    HWND Window() const { return m_window; }
    void Place(const RECT& place);

    // The width the icons need (0 for none).
    int Width() const;
    // Takes the icons as the shell keeps them now and repaints.
    void Update(std::vector<platform::NotifyIconRecord> icons, std::vector<platform::ShellNotification> notifications);
    const std::vector<platform::NotifyIconRecord>& Icons() const { return m_icons; }
    // The slot's place in client coordinates; slots count program icons first.
    RECT SlotRect(size_t slot) const;

    // A tap on a notification's icon shows its bubble again.
    std::function<void(const platform::ShellNotification&)> onNotificationTap;

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    // The slot under x, or -1.
    int SlotAt(int x) const;
    void PassTap(int x, UINT mouseMessage);

    HWND m_window = nullptr;
    std::vector<platform::NotifyIconRecord> m_icons;
    std::vector<platform::ShellNotification> m_notifications;
};

} // namespace host
