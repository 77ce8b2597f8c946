// The notification area and the notification bubbles: the records the shell keeps, and the
// host that shows them.
#include <algorithm>

#include "platform/core/LastError.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/ShellHost.h"

namespace {

struct ShellState {
    platform::ShellHost* host = nullptr;
    std::vector<platform::NotifyIconRecord> icons;
    std::vector<platform::ShellNotification> notifications;
};

ShellState& State()
{
    static ShellState state;
    return state;
}

std::vector<platform::NotifyIconRecord>::iterator FindIcon(ShellState& state, HWND window, UINT id)
{
    return std::find_if(state.icons.begin(), state.icons.end(),
        [&](const platform::NotifyIconRecord& icon) { return icon.window == window && icon.id == id; });
}

void TakeMembers(platform::NotifyIconRecord& icon, const NOTIFYICONDATAW& data)
{
    if ((data.uFlags & NIF_MESSAGE) != 0)
        icon.callbackMessage = data.uCallbackMessage;
    if ((data.uFlags & NIF_ICON) != 0)
        icon.icon = data.hIcon;
    if ((data.uFlags & NIF_TIP) != 0)
        icon.tip.assign(data.szTip, std::find(std::begin(data.szTip), std::end(data.szTip), L'\0'));
}

} // namespace

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data)
{
    if (data == nullptr || data->cbSize != sizeof(NOTIFYICONDATAW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShellState& state = State();
    auto found = FindIcon(state, data->hWnd, data->uID);
    platform::NotifyIconRecord changed;
    switch (message) {
    case NIM_ADD:
        if (found != state.icons.end()) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return FALSE;
        }
        changed.window = data->hWnd;
        changed.id = data->uID;
        TakeMembers(changed, *data);
        state.icons.push_back(changed);
        break;
    case NIM_MODIFY:
    case NIM_DELETE:
        if (found == state.icons.end()) {
            SetLastError(ERROR_NOT_FOUND);
            return FALSE;
        }
        if (message == NIM_MODIFY) {
            TakeMembers(*found, *data);
            changed = *found;
        } else {
            changed = *found;
            state.icons.erase(found);
        }
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (state.host != nullptr)
        state.host->NotifyIconChanged(message, changed);
    return TRUE;
}

LRESULT SHNotificationAdd(SHNOTIFICATIONDATA* data)
{
    if (data == nullptr || data->cbStruct != sizeof(SHNOTIFICATIONDATA))
        return ERROR_INVALID_PARAMETER;
    platform::ShellNotification notification;
    notification.clsid = data->clsid;
    notification.id = data->dwID;
    notification.priority = data->npPriority;
    notification.durationSeconds = data->csDuration;
    notification.icon = data->hicon;
    notification.flags = data->grfFlags;
    notification.sink = data->hwndSink;
    notification.html = data->pszHTML != nullptr ? data->pszHTML : L"";
    notification.title = data->pszTitle != nullptr ? data->pszTitle : L"";
    notification.lParam = data->lParam;

    ShellState& state = State();
    auto same = std::find_if(state.notifications.begin(), state.notifications.end(),
        [&](const platform::ShellNotification& shown) { return shown.clsid == data->clsid && shown.id == data->dwID; });
    if (same != state.notifications.end())
        *same = notification;
    else
        state.notifications.push_back(notification);
    if (state.host != nullptr)
        state.host->NotificationAdded(notification);
    return ERROR_SUCCESS;
}

LRESULT SHNotificationRemove(const CLSID* clsid, DWORD id)
{
    if (clsid == nullptr)
        return ERROR_INVALID_PARAMETER;
    ShellState& state = State();
    auto found = std::find_if(state.notifications.begin(), state.notifications.end(),
        [&](const platform::ShellNotification& shown) { return shown.clsid == *clsid && shown.id == id; });
    if (found == state.notifications.end())
        return ERROR_NOT_FOUND;
    platform::ShellNotification removed = *found;
    state.notifications.erase(found);
    if (state.host != nullptr)
        state.host->NotificationRemoved(removed);
    return ERROR_SUCCESS;
}

namespace platform {

void InstallShellHost(ShellHost* host)
{
    State().host = host;
}

ShellHost* InstalledShellHost()
{
    return State().host;
}

std::vector<NotifyIconRecord> NotifyIcons()
{
    return State().icons;
}

std::vector<ShellNotification> ShellNotifications()
{
    return State().notifications;
}

void ResetShell()
{
    State().icons.clear();
    State().notifications.clear();
    ResetInputPanel();
}

} // namespace platform
