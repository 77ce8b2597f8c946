// The shell's side of the notification area, the notification bubbles and the input panel.
// The platform keeps the icons, notifications and input-panel requests that programs made;
// the host, which plays the shell, shows them and is told of each change. Tests read the same
// records.
#pragma once

#include <string>
#include <vector>

#include "platform/shell/AygShell.h"
#include "platform/shell/ShellApi.h"

namespace platform {

struct NotifyIconRecord {
    HWND window = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0; // 0 when the program gave none
    HICON icon = nullptr;
    std::wstring tip;
};

struct ShellNotification {
    CLSID clsid {};
    DWORD id = 0;
    DWORD priority = 0;
    DWORD durationSeconds = 0;
    HICON icon = nullptr;
    DWORD flags = 0;
    HWND sink = nullptr;
    std::wstring html;
    std::wstring title;
    LPARAM lParam = 0;
};

class ShellHost {
public:
    virtual ~ShellHost() = default;
    // After an icon was added, changed or deleted (message: NIM_ADD, NIM_MODIFY, NIM_DELETE).
    virtual void NotifyIconChanged(DWORD message, const NotifyIconRecord& icon) = 0;
    virtual void NotificationAdded(const ShellNotification& notification) = 0;
    virtual void NotificationRemoved(const ShellNotification& notification) = 0;
    // The input panel went up or down.
    virtual void InputPanelChanged(bool /*up*/) {}
};

// The host that shows the shell's icons and bubbles; null for none (the records are kept all
// the same).
void InstallShellHost(ShellHost* host);

// The icons in the order they were added, and the notifications shown.
std::vector<NotifyIconRecord> NotifyIcons();
std::vector<ShellNotification> ShellNotifications();
// Every SHSipPreference call that was accepted, in order, and whether the panel is up now.
struct InputPanelRequest {
    HWND window = nullptr;
    SIPSTATE state = SIP_UNCHANGED;
};
std::vector<InputPanelRequest> InputPanelRequests();
bool InputPanelUp();

// Forgets every icon, notification and input-panel request, the panel down (a fresh shell,
// for tests).
void ResetShell();

} // namespace platform
