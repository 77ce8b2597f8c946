// The emulated device: screen, resolution, operating-system version and locale. The host
// chooses a profile at start; the platform's system-information calls answer from it.
#pragma once

#include "platform/core/WinTypes.h"

namespace platform {

struct DeviceProfile {
    int screenWidth = 240;
    int screenHeight = 320;
    int dpi = 96;          // LOGPIXELSX and LOGPIXELSY
    int smallIconSize = 16; // SM_CXSMICON and SM_CYSMICON
    DWORD osMajorVersion = 5;
    DWORD osMinorVersion = 1;
    DWORD osBuildNumber = 14847;
    DWORD systemLocale = 0x0409;

    // 240 x 320 at 96 dpi and 480 x 640 at 192 dpi, portrait.
    static DeviceProfile Qvga();
    static DeviceProfile Vga();
    // Pocket PC 2002 (3.0), Windows Mobile 2003 (4.20), Windows Mobile 5.0 (5.1).
    void SetOsGeneration(int generation);
    // Landscape and portrait: width and height change places.
    void Rotate();
};

const DeviceProfile& CurrentDevice();
void SetCurrentDevice(const DeviceProfile& profile);

} // namespace platform

// The height of the shell's taskbar at the top of the screen and of a menu bar at its bottom,
// pixels at the current device's resolution: what full-screen windows leave free.
int ShellBarHeight();

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};

#define VER_PLATFORM_WIN32_CE 3

BOOL GetVersionExW(OSVERSIONINFOW* info);

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
};

int GetSystemMetrics(int index);

using LCID = DWORD;
LCID GetSystemDefaultLCID();
