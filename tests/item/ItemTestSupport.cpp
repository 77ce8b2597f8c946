#include "ItemTestSupport.h"

#include "platform/time/Clock.h"

namespace item_test {

namespace {

PaintLog* g_pPaintLog = nullptr;
DesktopSettingLog* g_pDesktopLog = nullptr;

} // namespace

PaintLog::PaintLog(HWND window)
    : m_window(window)
{
    g_pPaintLog = this;
    m_original = reinterpret_cast<WNDPROC>(SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

PaintLog::~PaintLog()
{
    if (IsWindow(m_window))
        SetWindowLongW(m_window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
    g_pPaintLog = nullptr;
}

LRESULT PaintLog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcW(g_pPaintLog->m_original, window, message, wParam, lParam);
    if (message == WM_PAINT)
        g_pPaintLog->m_entries.push_back(Entry { GetTickCount(), platform::LastPaint(window) });
    return result;
}

std::vector<std::wstring> PaintLog::Texts() const
{
    std::vector<std::wstring> texts;
    for (const Entry& entry : m_entries)
        for (const platform::PaintedText& text : entry.paint.texts)
            texts.push_back(text.text);
    return texts;
}

DesktopSettingLog::DesktopSettingLog()
{
    g_pDesktopLog = this;
    m_original = reinterpret_cast<WNDPROC>(
        SetWindowLongW(GetDesktopWindow(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

DesktopSettingLog::~DesktopSettingLog()
{
    SetWindowLongW(GetDesktopWindow(), GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
    g_pDesktopLog = nullptr;
}

LRESULT DesktopSettingLog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE)
        g_pDesktopLog->m_changes.push_back(wParam);
    return CallWindowProcW(g_pDesktopLog->m_original, window, message, wParam, lParam);
}

std::optional<platform::PaintedIcon> FindIcon(const platform::PaintRecord& paint, int resourceId)
{
    for (const platform::PaintedIcon& icon : paint.icons)
        if (icon.resourceId == resourceId)
            return icon;
    return std::nullopt;
}

bool HasIcon(const platform::PaintRecord& paint, int resourceId)
{
    return FindIcon(paint, resourceId).has_value();
}

} // namespace item_test
