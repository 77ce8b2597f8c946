#include "item/ItemPaint.h"

#include <algorithm>

#include "item/ItemFont.h"
#include "item/ItemLayout.h"
#include "item/ItemIcons.h"
#include "item/PluginModule.h"
#include "item/StatusLines.h"
#include "netinfo/AdapterTracking.h"
#include "platform/shell/TodayScreen.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"

namespace {

// Ticks between two repaints of the status text in full view.
constexpr DWORD kFullViewLineTicks = 5;
// In compact view the line stays for (9 - ScrollRate) ticks; ScrollRate runs from 1 to 9.
constexpr DWORD kCompactLineTicksBase = 9;
// Asks the shell to lay the Today screen out again.
constexpr WPARAM kRelayoutSetting = 0xF2;

DWORD LineTicks(const Settings& settings)
{
    if (settings.FullViewEnabled != 0)
        return kFullViewLineTicks;
    // A stored rate beyond the scale would wrap the countdown to years: take it as the fastest.
    return kCompactLineTicksBase - std::min(settings.ScrollRate, kCompactLineTicksBase);
}

// The tracked adapter's index for drawing: not found, or fewer than two interfaces, puts the
// activity state to "no connection".
DWORD TrackedIndexForPaint(DWORD interfaceCount)
{
    PluginModule& module = *g_pModule;
    DWORD index = TrackedAdapterIndex(module.m_settings, module.m_interfaceTable, module.m_netStatusInfo);
    if (index == IndexNotFound || interfaceCount < 2)
        module.m_item.uiNetAct = ActivityNoConnection;
    return index;
}

} // namespace

void PaintItem(HWND item)
{
    PluginModule& module = *g_pModule;
    Settings& settings = module.m_settings;
    ItemState& state = module.m_item;

    DWORD interfaceCount = module.m_interfaceTable.InterfaceCount();
    if (interfaceCount > 1)
        module.m_netStatusInfo.Refresh();
    DWORD index = TrackedIndexForPaint(interfaceCount);

    RECT window {};
    GetWindowRect(item, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(item, &paint);
    SetBkMode(dc, TRANSPARENT);

    ItemLayout layout = MakeItemLayout(module, item);
    int iconRowWidth = layout.pitch * layout.icons;
    if (paint.rcPaint.left < layout.leftMargin)
        DrawLeftColumn(item, dc);
    if (paint.rcPaint.right > width - iconRowWidth)
        DrawIconRow(item, dc);

    HFONT font = CreateItemFont(CurrentItemFontChoice());
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetTextColor(dc, static_cast<COLORREF>(SendMessageW(GetParent(item), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0)));

    settings.SortViewItems();

    bool advance = false;
    if (state.lineCountdown == 0 && paint.rcPaint.right > layout.leftMargin) {
        advance = !(settings.PinEnabled != 0 && settings.PinPressed());
        state.lineCountdown = LineTicks(settings);
    }

    RECT text { layout.leftMargin, 0, width - iconRowWidth - ((module.m_logPixelsX + 24) * 2) / 96, height };
    if (state.shrinkCountdown > 0) {
        --state.shrinkCountdown;
        if (settings.PlatformGeneration() != 2003)
            SendMessageW(GetDesktopWindow(), WM_SETTINGCHANGE, kRelayoutSetting, 0);
        if (settings.TaskbarIconEnabled != 0 && state.hwndTaskIcon != nullptr) {
            DestroyWindow(state.hwndTaskIcon);
            state.hwndTaskIcon = nullptr;
        }
        DrawStatusLines(item, dc, text, advance, index);
    } else if (paint.rcPaint.right > layout.cx + layout.gap) {
        DrawStatusLines(item, dc, text, advance, index);
    }

    SelectObject(dc, previousFont);
    DeleteObject(font);
    EndPaint(item, &paint);
}
