#include "host/shell/TitleBar.h"

#include "host/shell/BarPainting.h"
#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/text/Format.h"
#include "platform/time/CalendarTime.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"WisBarClass";
constexpr const wchar_t* kTodayTitle = L"Today";
constexpr const wchar_t* kOkText = L"ok";
constexpr int kMargin = 4;
constexpr int kOkWidth = 26;

} // namespace

std::wstring ClockText(int hour, int minute)
{
    return Fmt(L"%d:%02d", hour, minute);
}

HWND TitleBar::Create(HWND taskbar, const RECT& place)
{
    RegisterShellClass(kClassName, WindowProc, nullptr);
    platform::CalendarTime now = platform::CalendarTime::Now();
    m_clock = ClockText(now.Hour(), now.Minute());
    m_window = CreateWindowExW(0, kClassName, kTodayTitle, WS_CHILD | WS_VISIBLE, place.left, place.top,
        place.right - place.left, place.bottom - place.top, taskbar, nullptr, nullptr, this);
    if (m_window != nullptr)
        SetTimer(m_window, kClockTimerId, kClockPeriodMs, nullptr);
    return m_window;
}

void TitleBar::Place(const RECT& place)
{
    MoveWindow(m_window, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void TitleBar::Update()
{
    if (m_window == nullptr)
        return;
    HWND front = frontWindow ? frontWindow() : nullptr;
    std::wstring title = kTodayTitle;
    HWND okTarget = nullptr;
    if (front != nullptr) {
        WCHAR text[128] = {};
        GetWindowTextW(front, text, 128);
        if (text[0] != L'\0')
            title = text;
        if ((GetWindowLongW(front, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN) != 0)
            okTarget = front;
    }
    platform::CalendarTime now = platform::CalendarTime::Now();
    std::wstring clock = ClockText(now.Hour(), now.Minute());
    if (title == m_title && clock == m_clock && okTarget == m_okTarget)
        return;
    m_title = title;
    m_clock = clock;
    m_okTarget = okTarget;
    InvalidateRect(m_window, nullptr, TRUE);
}

RECT TitleBar::OkButtonRect() const
{
    if (m_okTarget == nullptr)
        return RECT {};
    RECT client {};
    GetClientRect(m_window, &client);
    return RECT { client.right - Scaled(kOkWidth), 0, client.right, client.bottom };
}

void TitleBar::PressOk()
{
    if (m_okTarget != nullptr && IsWindow(m_okTarget))
        PostMessageW(m_okTarget, WM_COMMAND, IDOK, 0);
}

LRESULT TitleBar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToShellObject(window, message, wParam, lParam, &TitleBar::m_window, &TitleBar::OnMessage);
}

LRESULT TitleBar::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_TIMER:
        if (wParam == kClockTimerId)
            Update();
        return 0;
    case WM_LBUTTONUP: {
        RECT ok = OkButtonRect();
        POINT tap { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        if (PtInRect(&ok, tap))
            PressOk();
        return 0;
    }
    case WM_DESTROY:
        KillTimer(m_window, kClockTimerId);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void TitleBar::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client {};
    GetClientRect(m_window, &client);
    FillBar(dc, client);
    int margin = Scaled(kMargin);
    RECT right { margin, 0, client.right - margin, client.bottom };
    if (m_okTarget != nullptr) {
        RECT ok = OkButtonRect();
        RECT button { ok.left + Scaled(2), ok.top + Scaled(4), ok.right - Scaled(2), ok.bottom - Scaled(4) };
        HGDIOBJ pen = SelectObject(dc, GetStockObject(WHITE_PEN));
        HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, button.left, button.top, button.right, button.bottom);
        SelectObject(dc, brush);
        SelectObject(dc, pen);
        DrawBarText(dc, kOkText, button, DT_CENTER);
        right.right = ok.left - margin;
    }
    int clockWidth = DrawBarText(dc, m_clock, right, DT_RIGHT);
    RECT title { margin, 0, right.right - clockWidth - margin, client.bottom };
    DrawBarText(dc, m_title, title, DT_LEFT);
    EndPaint(m_window, &paint);
}

} // namespace host
