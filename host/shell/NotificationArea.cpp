#include "host/shell/NotificationArea.h"

#include "host/shell/BarPainting.h"
#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"ShellNotificationArea";
constexpr int kSlotPadding = 4;

int SlotWidth()
{
    return GetSystemMetrics(SM_CXSMICON) + Scaled(kSlotPadding);
}

} // namespace

HWND NotificationArea::Create(HWND taskbar, const RECT& place)
{
    RegisterShellClass(kClassName, WindowProc, nullptr);
    m_window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, place.left, place.top,
        place.right - place.left, place.bottom - place.top, taskbar, nullptr, nullptr, this);
    return m_window;
}

void NotificationArea::Place(const RECT& place)
{
    MoveWindow(m_window, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    ShowWindow(m_window, place.right > place.left ? SW_SHOW : SW_HIDE);
    InvalidateRect(m_window, nullptr, TRUE);
}

int NotificationArea::Width() const
{
    return static_cast<int>(m_icons.size() + m_notifications.size()) * SlotWidth();
}

void NotificationArea::Update(std::vector<platform::NotifyIconRecord> icons,
    std::vector<platform::ShellNotification> notifications)
{
    m_icons = std::move(icons);
    m_notifications = std::move(notifications);
    if (m_window != nullptr)
        InvalidateRect(m_window, nullptr, TRUE);
}

RECT NotificationArea::SlotRect(size_t slot) const
{
    RECT client {};
    GetClientRect(m_window, &client);
    int width = SlotWidth();
    return RECT { static_cast<LONG>(slot) * width, 0, static_cast<LONG>(slot + 1) * width, client.bottom };
}

int NotificationArea::SlotAt(int x) const
{
    int slots = static_cast<int>(m_icons.size() + m_notifications.size());
    int slot = x / SlotWidth();
    return x >= 0 && slot < slots ? slot : -1;
}

void NotificationArea::PassTap(int x, UINT mouseMessage)
{
    int slot = SlotAt(x);
    if (slot < 0)
        return;
    if (static_cast<size_t>(slot) < m_icons.size()) {
        const platform::NotifyIconRecord& icon = m_icons[static_cast<size_t>(slot)];
        if (icon.callbackMessage != 0 && IsWindow(icon.window))
            PostMessageW(icon.window, icon.callbackMessage, icon.id, mouseMessage);
        return;
    }
    if (mouseMessage == WM_LBUTTONUP && onNotificationTap)
        onNotificationTap(m_notifications[static_cast<size_t>(slot) - m_icons.size()]);
}

LRESULT NotificationArea::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToShellObject(window, message, wParam, lParam, &NotificationArea::m_window, &NotificationArea::OnMessage);
}

LRESULT NotificationArea::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        PassTap(GET_X_LPARAM(lParam), message);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void NotificationArea::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client {};
    GetClientRect(m_window, &client);
    FillBar(dc, client);
    int size = GetSystemMetrics(SM_CXSMICON);
    size_t slot = 0;
    auto draw = [&](HICON icon) {
        RECT place = SlotRect(slot++);
        if (icon != nullptr)
            DrawIconEx(dc, place.left + (place.right - place.left - size) / 2, (client.bottom - size) / 2, icon, size, size,
                0, nullptr, DI_NORMAL);
    };
    for (const platform::NotifyIconRecord& icon : m_icons)
        draw(icon.icon);
    for (const platform::ShellNotification& notification : m_notifications)
        draw(notification.icon);
    EndPaint(m_window, &paint);
}

} // namespace host
