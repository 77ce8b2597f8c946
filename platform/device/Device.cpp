#include "platform/device/Device.h"

#include <mutex>
#include <utility>

#include "platform/core/LastError.h"

namespace platform {

DeviceProfile DeviceProfile::Qvga()
{
    return DeviceProfile {};
}

DeviceProfile DeviceProfile::Vga()
{
    DeviceProfile profile;
    profile.screenWidth = 480;
    profile.screenHeight = 640;
    profile.dpi = 192;
    profile.smallIconSize = 32;
    return profile;
}

void DeviceProfile::SetOsGeneration(int generation)
{
    if (generation <= 2002) {
        osMajorVersion = 3;
        osMinorVersion = 0;
        osBuildNumber = 11171;
    } else if (generation == 2003) {
        osMajorVersion = 4;
        osMinorVersion = 20;
        osBuildNumber = 1081;
    } else {
        osMajorVersion = 5;
        osMinorVersion = 1;
        osBuildNumber = 14847;
    }
}

void DeviceProfile::Rotate()
{
    std::swap(screenWidth, screenHeight);
}

namespace {
std::mutex g_deviceMutex;
DeviceProfile g_device;
}

const DeviceProfile& CurrentDevice()
{
    return g_device;
}

void SetCurrentDevice(const DeviceProfile& profile)
{
    std::lock_guard lock(g_deviceMutex);
    g_device = profile;
}

} // namespace platform

BOOL GetVersionExW(OSVERSIONINFOW* info)
{
    if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const platform::DeviceProfile& device = platform::CurrentDevice();
    info->dwMajorVersion = device.osMajorVersion;
    info->dwMinorVersion = device.osMinorVersion;
    info->dwBuildNumber = device.osBuildNumber;
    info->dwPlatformId = VER_PLATFORM_WIN32_CE;
    info->szCSDVersion[0] = 0;
    return TRUE;
}

int ShellBarHeight()
{
    constexpr int kBarHeightAt96Dpi = 26;
    return (kBarHeightAt96Dpi * platform::CurrentDevice().dpi + 48) / 96;
}

int GetSystemMetrics(int index)
{
    const platform::DeviceProfile& device = platform::CurrentDevice();
    switch (index) {
    case SM_CXSCREEN:
        return device.screenWidth;
    case SM_CYSCREEN:
        return device.screenHeight;
    case SM_CXICON:
    case SM_CYICON:
        return device.smallIconSize * 2;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return device.smallIconSize;
    default:
        return 0;
    }
}

LCID GetSystemDefaultLCID()
{
    return platform::CurrentDevice().systemLocale;
}
