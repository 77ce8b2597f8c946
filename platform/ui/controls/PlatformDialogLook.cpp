#include "platform/ui/controls/PlatformDialogLook.h"

#include <string>

#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"

namespace platform::ui {

namespace {

HFONT TitleFont()
{
    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

} // namespace

int ScaledPixels(int logical)
{
    return (logical * CurrentDevice().dpi + 48) / 96;
}

int TitleStripHeight()
{
    HDC screen = GetDC(nullptr);
    HFONT font = TitleFont();
    HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICW metrics {};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight + ScaledPixels(6);
}

void PaintTitleStrip(HDC dc, int width, std::wstring_view title)
{
    RECT strip { 0, 0, width, TitleStripHeight() };
    HBRUSH blue = CreateSolidBrush(RGB(0, 51, 153));
    FillRect(dc, &strip, blue);
    DeleteObject(blue);
    HFONT font = TitleFont();
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    strip.left += ScaledPixels(6);
    std::wstring text(title);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &strip, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

HWND AddDialogControl(HWND dialog, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect, int id)
{
    HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
        nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

} // namespace platform::ui
