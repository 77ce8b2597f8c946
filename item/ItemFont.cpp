#include "item/ItemFont.h"

#include <cmath>

#include "item/PluginModule.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"

namespace {

constexpr DWORD kLangChinese = 0x04;
constexpr DWORD kLangJapanese = 0x11;
constexpr DWORD kLangKorean = 0x12;

bool IsEastAsian(DWORD locale)
{
    DWORD primary = locale & 0x3FF;
    return primary == kLangChinese || primary == kLangJapanese || primary == kLangKorean;
}

int PointsOf(DWORD fontSize)
{
    switch (fontSize) {
    case kFontSizeLarge:
        return 9;
    case kFontSizeSmall:
        return 7;
    default:
        return 8;
    }
}

} // namespace

HFONT CreateItemFont(const ItemFontChoice& choice)
{
    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    if (IsEastAsian(choice.systemLocale)) {
        font.lfWeight = FW_NORMAL;
        font.lfHeight = -static_cast<LONG>(std::trunc(choice.logPixelsY * 0.125 + 0.5));
    } else {
        font.lfWeight = choice.boldText != 0 ? FW_BOLD : FW_NORMAL;
        double points = PointsOf(choice.fontSize);
        font.lfHeight = -static_cast<LONG>(std::trunc(choice.logPixelsY * points / 72.0 + 0.5));
    }
    return CreateFontIndirectW(&font);
}

ItemFontChoice CurrentItemFontChoice()
{
    const PluginModule& module = *g_pModule;
    return ItemFontChoice { module.m_logPixelsY, module.m_settings.FontSize, module.m_settings.BoldTextEnabled,
        GetSystemDefaultLCID() };
}

int ItemLineHeight(HWND item)
{
    HDC dc = GetDC(item);
    HFONT font = CreateItemFont(CurrentItemFontChoice());
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent {};
    GetTextExtentExPointW(dc, L"XXXX", 4, 0, nullptr, nullptr, &extent);
    SelectObject(dc, previous);
    DeleteObject(font);
    ReleaseDC(item, dc);
    return extent.cy;
}

LONG SmallFontHeight(int logPixelsY)
{
    return -static_cast<LONG>(logPixelsY / 9 + 0.5);
}

HFONT CreateSmallFont(int logPixelsY)
{
    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_NORMAL;
    font.lfHeight = SmallFontHeight(logPixelsY);
    return CreateFontIndirectW(&font);
}
