#include "host/shell/BarPainting.h"

#include "platform/ui/WinGdi.h"

namespace host {

namespace {

constexpr COLORREF kBarTop = RGB(0x10, 0x3C, 0x94);
constexpr COLORREF kBarBottom = RGB(0x2C, 0x64, 0xC4);
constexpr int kBands = 4;

HFONT CreateBarFont()
{
    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

BYTE Mix(BYTE from, BYTE to, int step)
{
    return static_cast<BYTE>(from + (static_cast<int>(to) - from) * step / (kBands - 1));
}

} // namespace

void FillBar(HDC dc, const RECT& area)
{
    int height = area.bottom - area.top;
    for (int band = 0; band < kBands; ++band) {
        RECT part { area.left, area.top + height * band / kBands, area.right, area.top + height * (band + 1) / kBands };
        HBRUSH brush = CreateSolidBrush(RGB(Mix(GetRValue(kBarTop), GetRValue(kBarBottom), band),
            Mix(GetGValue(kBarTop), GetGValue(kBarBottom), band), Mix(GetBValue(kBarTop), GetBValue(kBarBottom), band)));
        FillRect(dc, &part, brush);
        DeleteObject(brush);
    }
}

int DrawBarText(HDC dc, const std::wstring& text, RECT area, UINT flags)
{
    HFONT font = CreateBarFont();
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    DrawTextW(dc, text.c_str(), -1, &area, flags | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteObject(font);
    return size.cx;
}

int BarTextWidth(HDC dc, const std::wstring& text)
{
    HFONT font = CreateBarFont();
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    DeleteObject(font);
    return size.cx;
}

} // namespace host
