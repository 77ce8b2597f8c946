#include "item/ItemLayout.h"

#include "item/PluginModule.h"
#include "platform/device/Device.h"
#include "platform/ui/WinUser.h"

namespace {

constexpr int kSmallScreenWidthLimit = 321;

} // namespace

ItemLayout MakeItemLayout(const PluginModule& module, HWND item)
{
    const Settings& settings = module.m_settings;
    ItemLayout layout;
    layout.cx = settings.SmallIconWidth();
    layout.cy = settings.SmallIconHeight();
    layout.gap = settings.IconGap();
    layout.pitch = layout.cx + layout.gap;
    layout.pinWidth = settings.PinWidth();
    layout.pinHeight = settings.PinHeight();
    layout.leftMargin = settings.StatusTextLeftMargin();
    layout.icons = static_cast<int>(settings.MeterIconEnabled + settings.DHCPIconEnabled + settings.OptionsIconEnabled);
    layout.dx = ((module.m_logPixelsX + 24) * 2) / 96;
    layout.dy = (module.m_logPixelsY + 48) / 96;
    layout.ex = (module.m_logPixelsX + 48) / 96;
    layout.py = ((module.m_logPixelsY + 16) * 3) / 96;
    layout.smallScreen = GetSystemMetrics(SM_CXSCREEN) < kSmallScreenWidthLimit;
    GetClientRect(item, &layout.client);
    return layout;
}

bool InSpan(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}
