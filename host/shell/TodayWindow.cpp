#include "host/shell/TodayWindow.h"

#include "host/shell/ShellMetrics.h"
#include "host/shell/ShellWindow.h"
#include "host/shell/TodayItemList.h"
#include "platform/shell/TodayScreen.h"
#include "platform/text/WideString.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr const wchar_t* kClassName = L"TodayScreen";
constexpr COLORREF kHighlightColor = RGB(0x31, 0x6A, 0xC5);
constexpr COLORREF kHighlightedTextColor = RGB(0xFF, 0xFF, 0xFF);

} // namespace

TodayWindow::TodayWindow() = default;

TodayWindow::~TodayWindow()
{
    UnloadItems();
    if (m_window != nullptr && IsWindow(m_window))
        DestroyWindow(m_window);
}

HWND TodayWindow::Create()
{
    RegisterShellClass(kClassName, WindowProc, nullptr);
    RECT area = TodayRect();
    m_watermark.Render(area.right - area.left, area.bottom - area.top);
    m_window = CreateWindowExW(0, kClassName, L"Today", WS_POPUP | WS_VISIBLE, area.left, area.top,
        area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr, this);
    if (m_window == nullptr)
        return nullptr;
    m_date.Create(m_window);
    SetTimer(m_window, kRefreshTimerId, kRefreshPeriodMs, nullptr);
    return m_window;
}

std::vector<std::string> TodayWindow::LoadItems()
{
    std::vector<std::string> problems;
    for (TodayItemEntry& entry : ReadTodayItems()) {
        auto item = std::make_unique<PluginItem>(std::move(entry));
        if (std::string problem = item->Load(); !problem.empty()) {
            problems.push_back(problem);
            continue;
        }
        if (item->Create(m_window) == nullptr) {
            problems.push_back("the item " + WideToUtf8(item->Entry().name) + " made no window");
            continue;
        }
        // The shell places a new item, then asks for its height.
        RECT client {};
        GetClientRect(m_window, &client);
        MoveWindow(item->Window(), 0, m_date.Height(), client.right, 0, TRUE);
        item->QueryRefresh();
        m_items.push_back(std::move(item));
    }
    Layout();
    return problems;
}

void TodayWindow::UnloadItems()
{
    // Windows first, while every module is still there; then the modules, the last one loaded
    // first.
    for (auto& item : m_items)
        item->Destroy();
    while (!m_items.empty())
        m_items.pop_back();
}

void TodayWindow::Refresh()
{
    bool changed = false;
    for (auto& item : m_items)
        changed = item->QueryRefresh() || changed;
    m_date.CheckDate();
    if (changed)
        Layout();
}

void TodayWindow::Layout()
{
    RECT client {};
    GetClientRect(m_window, &client);
    int top = 0;
    if (m_date.Window() != nullptr) {
        MoveWindow(m_date.Window(), 0, top, client.right, m_date.Height(), TRUE);
        top += m_date.Height();
    }
    for (auto& item : m_items) {
        HWND window = item->Window();
        if (window == nullptr || !IsWindow(window))
            continue;
        RECT placed {};
        GetWindowRect(window, &placed);
        POINT origin { placed.left, placed.top };
        ScreenToClient(m_window, &origin);
        if (origin.x != 0 || origin.y != top || placed.right - placed.left != client.right
            || placed.bottom - placed.top != item->Height())
            MoveWindow(window, 0, top, client.right, item->Height(), TRUE);
        top += item->Height();
    }
    // What lies below the last item shows the watermark again.
    RECT below { 0, top, client.right, client.bottom };
    InvalidateRect(m_window, &below, TRUE);
    if (onLayout)
        onLayout();
}

void TodayWindow::Resize()
{
    RECT area = TodayRect();
    m_watermark.Render(area.right - area.left, area.bottom - area.top);
    MoveWindow(m_window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    InvalidateRect(m_window, nullptr, TRUE);
    Layout();
    for (auto& item : m_items)
        if (item->Window() != nullptr)
            InvalidateRect(item->Window(), nullptr, TRUE);
    InvalidateRect(m_date.Window(), nullptr, TRUE);
}

LRESULT TodayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToShellObject(window, message, wParam, lParam, &TodayWindow::m_window, &TodayWindow::OnMessage);
}

LRESULT TodayWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        // The paint covers everything with the watermark.
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimerId)
            Refresh();
        return 0;
    case kRelayoutMessage:
        Refresh();
        Layout();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            Resize();
        return 0;
    case TODAYM_DRAWWATERMARK:
        if (lParam != 0)
            DrawWatermark(*reinterpret_cast<TODAYDRAWWATERMARKINFO*>(lParam));
        return TRUE;
    case TODAYM_GETCOLOR:
        switch (wParam) {
        case TODAYCOLOR_HIGHLIGHT:
            return kHighlightColor;
        case TODAYCOLOR_HIGHLIGHTEDTEXT:
            return kHighlightedTextColor;
        default:
            return kTextColor;
        }
    case WM_DESTROY:
        KillTimer(m_window, kRefreshTimerId);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void TodayWindow::Paint()
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(m_window, &paint);
    m_watermark.Paint(dc, paint.rcPaint, POINT { paint.rcPaint.left, paint.rcPaint.top });
    EndPaint(m_window, &paint);
}

// The part of the watermark that lies under the asking item.
void TodayWindow::DrawWatermark(const TODAYDRAWWATERMARKINFO& info)
{
    RECT placed {};
    if (info.hdc == nullptr || !GetWindowRect(info.hwnd, &placed))
        return;
    POINT origin { placed.left, placed.top };
    ScreenToClient(m_window, &origin);
    m_watermark.Paint(info.hdc, info.rc, POINT { origin.x + info.rc.left, origin.y + info.rc.top });
}

} // namespace host
