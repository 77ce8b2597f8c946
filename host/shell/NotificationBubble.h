// The shell's notification bubble: a window under the taskbar with the notification's title and
// its HTML in the platform's HTML viewer ("DISPLAYCLASS"). A "cmd:N" button of the page sends
// WM_COMMAND N to the notification's sink window and dismisses the notification; a notification
// is also dismissed when its duration has passed.
#pragma once

#include <functional>
#include <vector>

#include "platform/shell/ShellHost.h"

namespace host {

class NotificationBubble {
public:
    NotificationBubble() = default;
    ~NotificationBubble();
    NotificationBubble(const NotificationBubble&) = delete;
    NotificationBubble& operator=(const NotificationBubble&) = delete;

    // A new or replaced notification: shown at once unless it only wants its icon
    // (SHNP_ICONIC); its duration starts again.
    void Added(const platform::ShellNotification& notification);
    // The notification is gone: its bubble closes.
    void Removed(const platform::ShellNotification& notification);
    // Shows the bubble of a standing notification again (its icon was tapped).
    void Show(const platform::ShellNotification& notification);
    // Closes the bubble; the notification stands.
    void Hide();

    HWND Window() const { return m_window; }
    bool Showing() const { return m_window != nullptr && m_showing; }
    const platform::ShellNotification& Shown() const { return m_shown; }
    // The HTML viewer that shows the page.
    HWND Viewer() const { return m_viewer; }
    // A "cmd:N" button of the shown bubble was pressed.
    void Command(int command);
    // After the screen's size changed.
    void Layout();

private:
    struct Standing {
        platform::ShellNotification notification;
        UINT_PTR timer = 0; // 0 without a duration
    };

    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void EnsureWindow();
    void Fill();
    void Paint();
    void Expire(UINT_PTR timer);
    RECT Placement() const;
    RECT ViewerRect() const;

    HWND m_window = nullptr;
    bool m_showing = false;
    platform::ShellNotification m_shown;
    HWND m_viewer = nullptr;
    std::vector<Standing> m_standing;
    UINT_PTR m_nextTimer = 1;
};

} // namespace host
