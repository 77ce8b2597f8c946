#include "host/shell/NotificationBubble.h"

#include <algorithm>

#include "host/shell/BarPainting.h"
#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/device/Device.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"ShellNotificationBubble";
constexpr int kMargin = 4;
constexpr int kTitleHeight = 20;
constexpr COLORREF kBorder = RGB(0x40, 0x40, 0x60);

bool SameNotification(const platform::ShellNotification& a, const platform::ShellNotification& b)
{
    return a.clsid == b.clsid && a.id == b.id;
}

} // namespace

NotificationBubble::~NotificationBubble()
{
    if (m_window != nullptr && IsWindow(m_window))
        DestroyWindow(m_window);
}

void NotificationBubble::EnsureWindow()
{
    if (m_window != nullptr && IsWindow(m_window))
        return;
    RegisterShellClass(kClassName, WindowProc, nullptr);
    InitHTMLControl(nullptr);
    RECT place = Placement();
    m_window = CreateWindowExW(0, kClassName, L"", WS_POPUP, place.left, place.top, place.right - place.left,
        place.bottom - place.top, nullptr, nullptr, nullptr, this);
    m_showing = false;
    if (m_window == nullptr)
        return;
    RECT page = ViewerRect();
    m_viewer = CreateWindowExW(0, WC_HTML, L"", WS_CHILD | WS_VISIBLE | HS_NOSCRIPTING, page.left, page.top,
        page.right - page.left, page.bottom - page.top, m_window, nullptr, nullptr, nullptr);
}

RECT NotificationBubble::Placement() const
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    int margin = Scaled(kMargin);
    int top = ShellBarHeight();
    int height = std::min(device.screenHeight / 2, Scaled(150));
    return RECT { margin, top, device.screenWidth - margin, top + height };
}

RECT NotificationBubble::ViewerRect() const
{
    RECT place = Placement();
    return RECT { 1, Scaled(kTitleHeight), place.right - place.left - 1, place.bottom - place.top - 1 };
}

void NotificationBubble::Added(const platform::ShellNotification& notification)
{
    EnsureWindow();
    auto standing = std::find_if(m_standing.begin(), m_standing.end(),
        [&](const Standing& entry) { return SameNotification(entry.notification, notification); });
    if (standing == m_standing.end()) {
        m_standing.push_back(Standing { notification, 0 });
        standing = m_standing.end() - 1;
    } else {
        if (standing->timer != 0)
            KillTimer(m_window, standing->timer);
        standing->notification = notification;
        standing->timer = 0;
    }
    if (notification.durationSeconds > 0) {
        standing->timer = m_nextTimer++;
        SetTimer(m_window, standing->timer, notification.durationSeconds * 1000, nullptr);
    }
    if (notification.priority != SHNP_ICONIC)
        Show(notification);
    else if (m_showing && SameNotification(m_shown, notification))
        Show(notification);
}

void NotificationBubble::Removed(const platform::ShellNotification& notification)
{
    auto standing = std::find_if(m_standing.begin(), m_standing.end(),
        [&](const Standing& entry) { return SameNotification(entry.notification, notification); });
    if (standing != m_standing.end()) {
        if (standing->timer != 0 && m_window != nullptr)
            KillTimer(m_window, standing->timer);
        m_standing.erase(standing);
    }
    if (m_showing && SameNotification(m_shown, notification))
        Hide();
}

void NotificationBubble::Show(const platform::ShellNotification& notification)
{
    EnsureWindow();
    m_shown = notification;
    m_showing = true;
    RECT place = Placement();
    SetWindowPos(m_window, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
        SWP_SHOWWINDOW);
    RECT page = ViewerRect();
    MoveWindow(m_viewer, page.left, page.top, page.right - page.left, page.bottom - page.top, TRUE);
    Fill();
    InvalidateRect(m_window, nullptr, TRUE);
}

void NotificationBubble::Hide()
{
    if (m_window == nullptr)
        return;
    m_showing = false;
    SendMessageW(m_viewer, DTM_CLEAR, 0, 0);
    ShowWindow(m_window, SW_HIDE);
}

void NotificationBubble::Layout()
{
    if (!Showing())
        return;
    Show(m_shown);
}

void NotificationBubble::Fill()
{
    SendMessageW(m_viewer, DTM_CLEAR, 0, 0);
    SendMessageW(m_viewer, DTM_ADDTEXTW, FALSE, reinterpret_cast<LPARAM>(m_shown.html.c_str()));
    SendMessageW(m_viewer, DTM_ENDOFSOURCE, 0, 0);
}

void NotificationBubble::Command(int command)
{
    if (!m_showing)
        return;
    platform::ShellNotification shown = m_shown;
    if (shown.sink != nullptr && IsWindow(shown.sink))
        PostMessageW(shown.sink, WM_COMMAND, static_cast<WPARAM>(command), 0);
    SHNotificationRemove(&shown.clsid, shown.id);
}

void NotificationBubble::Expire(UINT_PTR timer)
{
    auto standing = std::find_if(m_standing.begin(), m_standing.end(),
        [&](const Standing& entry) { return entry.timer == timer; });
    KillTimer(m_window, timer);
    if (standing == m_standing.end())
        return;
    platform::ShellNotification notification = standing->notification;
    SHNotificationRemove(&notification.clsid, notification.id);
}

LRESULT NotificationBubble::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToShellObject(window, message, wParam, lParam, &NotificationBubble::m_window, &NotificationBubble::OnMessage);
}

LRESULT NotificationBubble::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        // A "cmd:N" button of the page.
        Command(LOWORD(wParam));
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            Layout();
        return 0;
    case WM_TIMER:
        Expire(wParam);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// The frame and the title; the viewer shows the page.
void NotificationBubble::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client {};
    GetClientRect(m_window, &client);
    HPEN border = CreatePen(PS_SOLID, 1, kBorder);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, border);
    Rectangle(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(border);

    RECT title { 1, 1, client.right - 1, Scaled(kTitleHeight) };
    FillBar(dc, title);
    title.left += Scaled(kMargin);
    DrawBarText(dc, m_shown.title, title, DT_LEFT);
    EndPaint(m_window, &paint);
}

} // namespace host
