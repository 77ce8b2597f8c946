#include "host/shell/ShellMetrics.h"

#include "platform/device/Device.h"
#include "platform/shell/AygShell.h"

namespace host {

int Scaled(int logicalPixels)
{
    return (logicalPixels * platform::CurrentDevice().dpi + 48) / 96;
}

RECT TaskbarRect()
{
    return RECT { 0, 0, platform::CurrentDevice().screenWidth, ShellBarHeight() };
}

RECT TodayRect()
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    return RECT { 0, ShellBarHeight(), device.screenWidth, device.screenHeight - ShellBarHeight() };
}

RECT MenuBarRect()
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    return RECT { 0, device.screenHeight - ShellBarHeight(), device.screenWidth, device.screenHeight };
}

} // namespace host
