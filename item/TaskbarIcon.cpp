#include "item/TaskbarIcon.h"

#include <string_view>

#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kTaskbarChildrenSearched = 10;
constexpr int kClassNameLength = 64;

// ---- The notification icon ----

void RemoveNotifyIcon(HWND item, ItemState& state)
{
    if (!state.notifyIconPresent)
        return;
    NotifyIcon(item, NIM_DELETE, kNotifyIconId, nullptr);
    state.notifyIconPresent = false;
}

void DestroyTopBarWindow(ItemState& state)
{
    if (state.hwndTaskIcon == nullptr)
        return;
    DestroyWindow(state.hwndTaskIcon);
    state.hwndTaskIcon = nullptr;
}

// ---- The top-bar window ----

// The taskbar's title child when it has one, else the taskbar itself; null without a taskbar.
HWND FindTopBarParent()
{
    HWND taskbar = FindWindowW(L"HHTaskBar", nullptr);
    if (taskbar == nullptr)
        return nullptr;
    HWND child = GetWindow(taskbar, GW_CHILD);
    for (int i = 0; child != nullptr && i < kTaskbarChildrenSearched; ++i) {
        WCHAR className[kClassNameLength] = {};
        GetClassNameW(child, className, kClassNameLength);
        if (std::wstring_view(className) == L"WisBarClass" || std::wstring_view(className) == L"pfaceTaskbarCLS")
            return child;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    return taskbar;
}

void CreateTopBarWindow(PluginModule& module)
{
    ItemState& state = module.m_item;
    Settings& settings = module.m_settings;
    HWND parent = FindTopBarParent();
    RECT parentClient {};
    GetClientRect(parent, &parentClient);
    int width = settings.SmallIconWidth();
    int height = settings.SmallIconHeight();
    int y = (parentClient.bottom - parentClient.top) / 2 - height / 2;
    // The top-bar window is made from its own class: made from the item's class it would run the
    // item's creation and move handling (a second timer, the item's recorded top overwritten)
    // before its procedure is replaced.
    WCHAR className[kClassNameLength] = {};
    WCHAR title[kClassNameLength] = {};
    LoadStringW(module.m_hInstance, IDS_TASKICON_CLASS, className, kClassNameLength);
    LoadStringW(module.m_hInstance, IDS_ITEM_CLASS, title, kClassNameLength);
    // Without a taskbar there is no parent: the window is not made, and the next tick tries again.
    state.hwndTaskIcon = CreateWindowExW(0, className, title, WS_CHILD | WS_VISIBLE,
        static_cast<int>(settings.TaskbarIconPlacement), y, width, height, parent, nullptr, module.m_hInstance, nullptr);
    if (state.hwndTaskIcon == nullptr)
        return;
    SetWindowLongW(state.hwndTaskIcon, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&TaskIconWindowProc));
    ShowWindow(state.hwndTaskIcon, SW_SHOWNORMAL);
    InvalidateRect(state.hwndTaskIcon, nullptr, TRUE);
    UpdateWindow(state.hwndTaskIcon);
}

void KeepTopBarWindow(PluginModule& module, HWND item, bool itemHasHeight)
{
    ItemState& state = module.m_item;
    RemoveNotifyIcon(item, state);
    if (state.hwndTaskIcon != nullptr) {
        InvalidateRect(state.hwndTaskIcon, nullptr, TRUE);
        if (!itemHasHeight) {
            DestroyTopBarWindow(state);
            return;
        }
        // The placement is an offset in the taskbar: compare and move in its coordinates.
        RECT window {};
        GetWindowRect(state.hwndTaskIcon, &window);
        POINT topLeft { window.left, window.top };
        ScreenToClient(GetParent(state.hwndTaskIcon), &topLeft);
        LONG placement = static_cast<LONG>(module.m_settings.TaskbarIconPlacement);
        if (topLeft.x != placement) {
            MoveWindow(state.hwndTaskIcon, placement, topLeft.y, window.right - window.left, window.bottom - window.top,
                FALSE);
        }
        ShowWindow(state.hwndTaskIcon, SW_SHOWNORMAL);
        return;
    }
    if (itemHasHeight)
        CreateTopBarWindow(module);
}

void KeepNotifyIcon(PluginModule& module, HWND item, bool itemHasHeight)
{
    ItemState& state = module.m_item;
    DestroyTopBarWindow(state);
    if (!state.notifyIconPresent && itemHasHeight) {
        // An icon left by an earlier item window would make the add fail.
        NotifyIcon(item, NIM_DELETE, kNotifyIconId, nullptr);
        state.notifyIconPresent = false;
        if (NotifyIcon(item, NIM_ADD, kNotifyIconId, module.m_icons.ActivityIcon(ActivityIdle)))
            state.notifyIconPresent = true;
        return;
    }
    NotifyIcon(item, NIM_MODIFY, kNotifyIconId, module.m_icons.ActivityIcon(state.uiNetAct));
    if (!itemHasHeight)
        RemoveNotifyIcon(item, state);
}

// ---- The top-bar window's messages ----

// Keeps what the taskbar showed under the window when it was first erased, so that the icon is
// always drawn over the taskbar's own background.
void TaskIcon_OnEraseBackground(HWND window)
{
    ItemState& state = g_pModule->m_item;
    if (state.hdcCapture != nullptr)
        return;
    RECT client {};
    RECT rect {};
    RECT parentRect {};
    HWND parent = GetParent(window);
    GetClientRect(window, &client);
    GetWindowRect(window, &rect);
    GetWindowRect(parent, &parentRect);
    HDC parentDc = GetDC(parent);
    state.hdcCapture = CreateCompatibleDC(parentDc);
    state.hbmCapture = CreateCompatibleBitmap(parentDc, client.right - client.left, client.bottom - client.top);
    state.hbmReplaced = SelectObject(state.hdcCapture, state.hbmCapture);
    BitBlt(state.hdcCapture, 0, 0, client.right - client.left, client.bottom - client.top, parentDc,
        rect.left - parentRect.left, rect.top - parentRect.top, SRCCOPY);
    ReleaseDC(parent, parentDc);
}

void TaskIcon_OnPaint(HWND window)
{
    const PluginModule& module = *g_pModule;
    const ItemState& state = module.m_item;
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    RECT client {};
    GetClientRect(window, &client);
    if (state.hdcCapture != nullptr)
        BitBlt(dc, 0, 0, client.right, client.bottom, state.hdcCapture, 0, 0, SRCCOPY);
    DrawIconEx(dc, 0, 0, module.m_icons.ActivityIcon(state.uiNetAct), 0, 0, 0, nullptr, DI_NORMAL);
    EndPaint(window, &paint);
}

void TaskIcon_OnTap(HWND window)
{
    OpenItemDialog(IDD_RATE_MONITOR, GetForegroundWindow());
    InvalidateRect(window, nullptr, TRUE);
}

void TaskIcon_OnDestroy()
{
    ItemState& state = g_pModule->m_item;
    if (state.hdcCapture == nullptr)
        return;
    SelectObject(state.hdcCapture, state.hbmReplaced);
    DeleteObject(state.hbmCapture);
    DeleteDC(state.hdcCapture);
    state.hdcCapture = nullptr;
    state.hbmCapture = nullptr;
    state.hbmReplaced = nullptr;
}

} // namespace

BOOL NotifyIcon(HWND window, DWORD message, UINT id, HICON icon)
{
    NOTIFYICONDATAW data {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    data.uCallbackMessage = kNotifyIconMessage;
    data.hIcon = icon;
    return Shell_NotifyIcon(message, &data);
}

void TaskbarUpkeep(HWND item)
{
    PluginModule& module = *g_pModule;
    ItemState& state = module.m_item;
    const Settings& settings = module.m_settings;
    RECT client {};
    GetClientRect(item, &client);
    // An item without height is not on the Today screen just now.
    bool itemHasHeight = client.bottom != 0;

    if (settings.TaskbarIconEnabled == 0) {
        DestroyTopBarWindow(state);
        RemoveNotifyIcon(item, state);
    } else if (settings.TaskbarIconUp != 0) {
        KeepTopBarWindow(module, item, itemHasHeight);
    } else {
        KeepNotifyIcon(module, item, itemHasHeight);
    }
}

LRESULT TaskIconWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        TaskIcon_OnEraseBackground(window);
        return 1;
    case WM_PAINT:
        TaskIcon_OnPaint(window);
        return 0;
    case WM_LBUTTONUP:
        TaskIcon_OnTap(window);
        break;
    case WM_DESTROY:
        TaskIcon_OnDestroy();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
