#include "item/ItemTaps.h"

#include "item/ItemDialogs.h"
#include "item/ItemLayout.h"
#include "item/PluginModule.h"
#include "platform/ui/WinUser.h"
#include "resources/ResourceIds.h"

namespace {

enum class TapResult { Continue, Done };

// The tap icons in row order, each with the dialog it opens.
struct TapIcon {
    DWORD Settings::*enabled;
    int templateId;
};
const TapIcon kTapIcons[] = {
    { &Settings::MeterIconEnabled, IDD_METER_READING },
    { &Settings::DHCPIconEnabled, IDD_DHCP },
    { &Settings::OptionsIconEnabled, IDD_OPTIONS },
};

bool LargeFullView(const ItemLayout& layout, const Settings& settings)
{
    return !layout.smallScreen && settings.FullViewEnabled != 0;
}

TapResult TapIconRow(HWND item, const ItemLayout& layout, int x, int y)
{
    const Settings& settings = g_pModule->m_settings;
    int top = LargeFullView(layout, settings) ? layout.CentredTop(layout.cy) : layout.client.top;
    int height = LargeFullView(layout, settings) ? layout.cy : layout.cx;
    if (!InSpan(x, y, layout.RowLeft(), top, layout.client.right, top + height))
        return TapResult::Continue;
    int slot = (x - layout.RowLeft()) / (layout.cx + layout.gap / 2);
    int enabledSeen = 0;
    for (const TapIcon& icon : kTapIcons) {
        if (settings.*icon.enabled == 0)
            continue;
        if (enabledSeen++ == slot) {
            OpenItemDialog(icon.templateId, item);
            break;
        }
    }
    return TapResult::Continue;
}

TapResult TapViewSwitch(HWND item, const ItemLayout& layout, int x, int y)
{
    PluginModule& module = *g_pModule;
    Settings& settings = module.m_settings;
    if (settings.ViewSelectEnabled == 0 || module.m_item.uiNetAct == ActivityNoConnection)
        return TapResult::Continue;
    bool inside;
    if (layout.smallScreen) {
        inside = InSpan(x, y, layout.client.right - layout.gap - layout.cx, layout.client.top + layout.cy,
            layout.client.right, layout.client.top + 2 * layout.cy);
    } else {
        int left = layout.gap + layout.ex + layout.cx;
        int top = layout.CentredTop(layout.pinHeight);
        inside = InSpan(x, y, left, top, left + layout.pinWidth, top + layout.pinHeight);
    }
    if (!inside)
        return TapResult::Continue;
    settings.SetFullView(settings.FullViewEnabled != 0 ? 0 : 1);
    module.m_item.remeasure = true;
    InvalidateRect(item, nullptr, TRUE);
    return TapResult::Done;
}

TapResult TapPin(HWND item, const ItemLayout& layout, int x, int y)
{
    Settings& settings = g_pModule->m_settings;
    if (settings.PinEnabled == 0 || settings.FullViewEnabled != 0)
        return TapResult::Continue;
    RECT pin;
    if (layout.smallScreen) {
        int left = layout.pitch + 2;
        pin = RECT { left, 3, left + layout.pinWidth, layout.pinHeight + 3 };
    } else {
        int left = layout.gap + layout.ex + layout.cx;
        int top = layout.CentredTop(layout.pinHeight);
        pin = RECT { left, top, left + layout.pinWidth, top + layout.pinHeight };
    }
    if (!InSpan(x, y, pin.left, pin.top, pin.right, pin.bottom))
        return TapResult::Continue;
    settings.SetPinPressed(!settings.PinPressed());
    // Pressing the pin keeps the line now showing: the cursor has already moved past it.
    if (settings.PinPressed())
        settings.PreviousStatusItem();
    InvalidateRect(item, &pin, TRUE);
    return TapResult::Done;
}

TapResult TapStatusText(HWND item, const ItemLayout& layout, int x, int y)
{
    PluginModule& module = *g_pModule;
    if (module.m_settings.FullViewEnabled != 0)
        return TapResult::Continue;
    RECT text { layout.client.left + layout.leftMargin, layout.client.top, layout.RowLeft(), layout.client.bottom };
    if (!InSpan(x, y, text.left, text.top, text.right, text.bottom))
        return TapResult::Continue;
    module.m_item.lineCountdown = 0;
    InvalidateRect(item, &text, TRUE);
    return TapResult::Continue;
}

TapResult TapActivityIcon(HWND item, const ItemLayout& layout, int x, int y)
{
    const Settings& settings = g_pModule->m_settings;
    int top = LargeFullView(layout, settings) ? layout.CentredTop(layout.cy) : layout.client.top;
    if (InSpan(x, y, layout.client.left, top, layout.pitch, top + layout.cy))
        OpenItemDialog(IDD_RATE_MONITOR, item);
    return TapResult::Continue;
}

} // namespace

void TapItem(HWND item, int x, int y)
{
    using TapStep = TapResult (*)(HWND, const ItemLayout&, int, int);
    static constexpr TapStep kSteps[] = { TapIconRow, TapViewSwitch, TapPin, TapStatusText, TapActivityIcon };
    for (TapStep step : kSteps) {
        // A dialog opened by a step may have changed the settings: each step sees them afresh.
        ItemLayout layout = MakeItemLayout(*g_pModule, item);
        if (step(item, layout, x, y) == TapResult::Done)
            return;
    }
}
