#include "item/ItemIcons.h"

#include "item/ItemLayout.h"
#include "item/PluginModule.h"
#include "platform/ui/WinGdi.h"

namespace {

void DrawIcon(HDC dc, int x, int y, HICON icon)
{
    DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

HICON ViewSwitchIcon(const PluginModule& module)
{
    return module.m_icons.Icon(module.m_settings.FullViewEnabled != 0 ? IconRole::ViewFull : IconRole::ViewCompact);
}

bool ViewSwitchShown(const PluginModule& module)
{
    return module.m_settings.ViewSelectEnabled != 0 && module.m_item.uiNetAct != ActivityNoConnection;
}

} // namespace

void DrawLeftColumn(HWND item, HDC dc)
{
    const PluginModule& module = *g_pModule;
    const Settings& settings = module.m_settings;
    ItemLayout layout = MakeItemLayout(module, item);

    int activityTop = layout.smallScreen ? layout.dy : layout.CentredTop(layout.cy);
    DrawIcon(dc, layout.dx, activityTop, module.m_icons.ActivityIcon(module.m_item.uiNetAct));

    int besideActivity = layout.gap + layout.ex + layout.cx;
    if (!layout.smallScreen && ViewSwitchShown(module))
        DrawIcon(dc, besideActivity, layout.CentredTop(layout.pinHeight), ViewSwitchIcon(module));

    if (settings.PinEnabled != 0 && settings.FullViewEnabled == 0) {
        HICON pin = module.m_icons.Icon(settings.PinPressed() ? IconRole::PinPressed : IconRole::PinReleased);
        if (layout.smallScreen)
            DrawIcon(dc, layout.gap + layout.dx + layout.cx, layout.py, pin);
        else
            DrawIcon(dc, besideActivity, layout.CentredTop(layout.pinHeight), pin);
    }
}

void DrawIconRow(HWND item, HDC dc)
{
    const PluginModule& module = *g_pModule;
    const Settings& settings = module.m_settings;
    ItemLayout layout = MakeItemLayout(module, item);

    int top = layout.client.top + (layout.smallScreen ? layout.dy : layout.CentredTop(layout.cy));
    int x = layout.RowLeft();
    if (settings.MeterIconEnabled != 0) {
        DrawIcon(dc, x, top, module.m_icons.Icon(IconRole::Meter));
        x += layout.pitch;
    }
    if (settings.DHCPIconEnabled != 0) {
        DrawIcon(dc, x, top, module.m_icons.Icon(IconRole::Dhcp));
        x += layout.pitch;
    }
    if (settings.OptionsIconEnabled != 0)
        DrawIcon(dc, x, top, module.m_icons.Icon(IconRole::Options));

    if (layout.smallScreen && ViewSwitchShown(module)) {
        // Under the last slot of the row, where its tap region is, whichever icons are on.
        int switchX = layout.client.right - layout.pitch;
        int switchTop = layout.client.top + layout.cx + layout.gap;
        if (settings.FullViewEnabled == 0 && settings.FontSize == kFontSizeSmall)
            switchTop = layout.client.top + layout.cx;
        DrawIcon(dc, switchX, switchTop, ViewSwitchIcon(module));
    }
}
