#include "host/shell/ItemObserver.h"

#include "platform/device/Device.h"
#include "platform/ui/WinUser.h"
#include "resources/ResourceIds.h"

namespace host {

namespace {

// Only one Velmora item is watched: the window procedure finds its observer here.
ItemObserver* g_observer = nullptr;

// The status text starts right of the activity-icon strip: a paint that reaches past the strip
// drew the text again (possibly no line at all).
bool PaintReachesText(const RECT& paint)
{
    int smallIcon = GetSystemMetrics(SM_CXSMICON);
    return paint.right > smallIcon + smallIcon / 8;
}

} // namespace

ItemObserver::~ItemObserver()
{
    Detach();
}

void ItemObserver::Attach(HWND item)
{
    Detach();
    m_item = item;
    g_observer = this;
    m_itemProc = reinterpret_cast<WNDPROC>(SetWindowLongW(item, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    // The item painted once while it was made.
    TakePaint();
}

void ItemObserver::Detach()
{
    if (m_item != nullptr && IsWindow(m_item) && m_itemProc != nullptr)
        SetWindowLongW(m_item, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_itemProc));
    if (g_observer == this)
        g_observer = nullptr;
    m_item = nullptr;
    m_itemProc = nullptr;
}

const char* ItemObserver::ActivityName(int activity)
{
    switch (activity) {
    case 1:
        return "idle";
    case 2:
        return "sending";
    case 3:
        return "receiving";
    case 4:
        return "sending and receiving";
    case 5:
        return "no connection";
    default:
        return "unknown";
    }
}

int ItemObserver::ActivityOfIcon(int resourceId)
{
    switch (resourceId) {
    case IDI_SMALL_IDLE:
    case IDI_LARGE_IDLE:
        return 1;
    case IDI_SMALL_SENDING:
    case IDI_LARGE_SENDING:
        return 2;
    case IDI_SMALL_RECEIVING:
    case IDI_LARGE_RECEIVING:
        return 3;
    case IDI_SMALL_BOTH:
    case IDI_LARGE_BOTH:
        return 4;
    case IDI_SMALL_NOCONNECTION:
    case IDI_LARGE_NOCONNECTION:
        return 5;
    default:
        return 0;
    }
}

ItemView ItemObserver::View()
{
    if (m_item != nullptr && IsWindow(m_item)) {
        RECT client {};
        GetClientRect(m_item, &client);
        m_view.height = client.bottom;
    }
    return m_view;
}

void ItemObserver::TakePaint()
{
    platform::PaintRecord paint = platform::LastPaint(m_item);
    if (IsRectEmpty(&paint.paintRect) && paint.texts.empty() && paint.icons.empty())
        return;
    for (const platform::PaintedIcon& icon : paint.icons)
        if (int activity = ActivityOfIcon(icon.resourceId); activity != 0)
            m_view.activity = activity;
    if (PaintReachesText(paint.paintRect)) {
        m_view.lines.clear();
        for (const platform::PaintedText& text : paint.texts) {
            size_t start = 0;
            while (start <= text.text.size()) {
                size_t end = text.text.find(L'\n', start);
                m_view.lines.push_back(text.text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
                if (end == std::wstring::npos)
                    break;
                start = end + 1;
            }
        }
    }
    m_view.paints.push_back(std::move(paint));
}

LRESULT ItemObserver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ItemObserver* self = g_observer;
    if (self == nullptr || self->m_item != window || self->m_itemProc == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC itemProc = self->m_itemProc;
    LRESULT result = CallWindowProcW(itemProc, window, message, wParam, lParam);
    if (g_observer != self || !IsWindow(window))
        return result;
    switch (message) {
    case WM_PAINT:
        self->TakePaint();
        if (self->onPaint && !self->m_view.paints.empty())
            self->onPaint(self->m_view.paints.back());
        break;
    case WM_TIMER:
        // The tick's repaint happens now rather than after the other windows' messages, so that
        // the report shows what this tick drew.
        UpdateWindow(window);
        ++self->m_view.tick;
        if (self->onTick)
            self->onTick(self->View());
        self->m_view.paints.clear();
        break;
    case WM_DESTROY:
        self->m_item = nullptr;
        self->m_itemProc = nullptr;
        break;
    default:
        break;
    }
    return result;
}

} // namespace host
