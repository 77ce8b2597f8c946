#include "host/shell/MenuBar.h"

#include "host/shell/BarPainting.h"
#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/shell/TodayScreen.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"TodayMenuBar";
constexpr int kKeyMargin = 8;

} // namespace

MenuBar::~MenuBar()
{
    if (m_window != nullptr && IsWindow(m_window))
        DestroyWindow(m_window);
}

HWND MenuBar::Create()
{
    RegisterShellClass(kClassName, WindowProc, nullptr);
    RECT bar = MenuBarRect();
    m_window = CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_VISIBLE, bar.left, bar.top, bar.right - bar.left,
        bar.bottom - bar.top, nullptr, nullptr, nullptr, this);
    return m_window;
}

void MenuBar::Layout()
{
    RECT bar = MenuBarRect();
    MoveWindow(m_window, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT MenuBar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToShellObject(window, message, wParam, lParam, &MenuBar::m_window, &MenuBar::OnMessage);
}

LRESULT MenuBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            Layout();
        return 0;
    case WM_LBUTTONUP: {
        RECT client {};
        GetClientRect(m_window, &client);
        const std::function<void()>& key = GET_X_LPARAM(lParam) < client.right / 2 ? onLeftKey : onRightKey;
        if (key)
            key();
        return 0;
    }
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void MenuBar::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client {};
    GetClientRect(m_window, &client);
    FillBar(dc, client);
    int margin = Scaled(kKeyMargin);
    DrawBarText(dc, kLeftKey, RECT { margin, 0, client.right / 2, client.bottom }, DT_LEFT);
    DrawBarText(dc, kRightKey, RECT { client.right / 2, 0, client.right - margin, client.bottom }, DT_RIGHT);
    EndPaint(m_window, &paint);
}

} // namespace host
