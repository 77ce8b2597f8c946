#include "host/shell/Taskbar.h"

#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/shell/TodayScreen.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"HHTaskBar";

} // namespace

Taskbar::~Taskbar()
{
    if (m_window != nullptr && IsWindow(m_window))
        DestroyWindow(m_window);
}

HWND Taskbar::Create()
{
    RegisterShellClass(kClassName, WindowProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT bar = TaskbarRect();
    m_window = CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_VISIBLE, bar.left, bar.top, bar.right - bar.left,
        bar.bottom - bar.top, nullptr, nullptr, nullptr, this);
    if (m_window == nullptr)
        return nullptr;
    RECT client { 0, 0, bar.right - bar.left, bar.bottom - bar.top };
    m_title.Create(m_window, client);
    m_tray.Create(m_window, RECT { client.right, 0, client.right, client.bottom });
    Layout();
    return m_window;
}

void Taskbar::Layout()
{
    RECT bar = TaskbarRect();
    MoveWindow(m_window, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, TRUE);
    int width = bar.right - bar.left;
    int height = bar.bottom - bar.top;
    int trayWidth = m_tray.Width();
    m_title.Place(RECT { 0, 0, width - trayWidth, height });
    m_tray.Place(RECT { width - trayWidth, 0, width, height });
}

LRESULT Taskbar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Taskbar* self = ShellObject<Taskbar>(window, message, lParam);
    if (message == WM_SETTINGCHANGE && wParam == SETTINGCHANGE_RESET && self != nullptr && self->m_window == window) {
        self->Layout();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace host
