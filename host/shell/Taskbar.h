// The taskbar along the top of the screen (class "HHTaskBar"): the title child ("WisBarClass")
// on the left and the notification area on the right.
#pragma once

#include "host/shell/NotificationArea.h"
#include "host/shell/TitleBar.h"

namespace host {

class Taskbar {
public:
    Taskbar() = default;
    ~Taskbar();
    Taskbar(const Taskbar&) = delete;
    Taskbar& operator=(const Taskbar&) = delete;

    HWND Create();
    HWND Window() const { return m_window; }
    TitleBar& Title() { return m_title; }
    NotificationArea& Tray() { return m_tray; }

    // Gives the notification area the width its icons need and the title the rest; also after
    // the screen's size changed.
    void Layout();

private:
    static LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    TitleBar m_title;
    NotificationArea m_tray;
};

} // namespace host
