#include "host/shell/DateItem.h"

#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "platform/shell/TodayScreen.h"
#include "platform/time/DateFormat.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"TodayDateItem";
// Laid out like the plug-in items: the picture in the left column, the text from 28 pixels.
constexpr int kTextLeft = 28;
constexpr int kItemHeight = 20;
constexpr int kPageSize = 14;

// A calendar page: a white sheet with a red binding along its top.
void DrawCalendarPage(HDC dc, int left, int top, int size)
{
    HBRUSH red = CreateSolidBrush(RGB(0xC8, 0x28, 0x28));
    HPEN frame = CreatePen(PS_SOLID, 1, RGB(0x60, 0x60, 0x70));
    HGDIOBJ oldPen = SelectObject(dc, frame);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, left, top, left + size, top + size);
    RECT binding { left + 1, top + 1, left + size - 1, top + size / 3 };
    FillRect(dc, &binding, red);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(frame);
    DeleteObject(red);
}

} // namespace

std::wstring DateItem::DateText(const platform::CalendarTime& time)
{
    return platform::FormatDate(time, L"dddd, MMMM d, yyyy");
}

HWND DateItem::Create(HWND today)
{
    RegisterShellClass(kClassName, WindowProc, nullptr);
    RECT client {};
    GetClientRect(today, &client);
    m_window = CreateWindowExW(0, kClassName, L"Date", WS_CHILD | WS_VISIBLE, 0, 0, client.right, Height(), today,
        nullptr, nullptr, this);
    return m_window;
}

int DateItem::Height() const
{
    return Scaled(kItemHeight);
}

void DateItem::CheckDate()
{
    if (m_window != nullptr && platform::CalendarTime::Now().Day() != m_paintedDay)
        InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT DateItem::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DateItem* self = ShellObject<DateItem>(window, message, lParam);
    switch (message) {
    case WM_ERASEBKGND: {
        TODAYDRAWWATERMARKINFO watermark {};
        watermark.hdc = reinterpret_cast<HDC>(wParam);
        GetClientRect(window, &watermark.rc);
        watermark.hwnd = window;
        SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&watermark));
        return 1;
    }
    case WM_PAINT:
        if (self != nullptr)
            self->Paint();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void DateItem::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    RECT client {};
    GetClientRect(m_window, &client);
    int page = Scaled(kPageSize);
    DrawCalendarPage(dc, Scaled(6), (client.bottom - page) / 2, page);

    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, bold);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(SendMessageW(GetParent(m_window), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0)));
    platform::CalendarTime now = platform::CalendarTime::Now();
    RECT text { Scaled(kTextLeft), 0, client.right, client.bottom };
    std::wstring date = DateText(now);
    DrawTextW(dc, date.c_str(), -1, &text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, previous);
    DeleteObject(bold);
    EndPaint(m_window, &paint);
    m_paintedDay = now.Day();
}

} // namespace host
