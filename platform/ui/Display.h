// Where the emulated device's screen appears. By default Qt draws offscreen (tests, the
// headless host); the host's desktop mode asks for a real window before the first window of
// the platform is made.
#pragma once

#include "platform/device/Device.h"

namespace platform {

// True when the device will be shown on the real display; false when it is too late (the
// platform already chose offscreen drawing). Closing the device's window there ends the
// message loop as PostQuitMessage(0) does.
bool UseRealDisplay();

// Gives the running device another profile (the host's choice of screen, a test's): the
// desktop window takes the new screen size. When the screen's size changed, the shell first
// lays out what it sizes (dialogs sized by SHInitDialog, menu bars), then every top-level
// window hears WM_SETTINGCHANGE with SETTINGCHANGE_RESET, as after a rotation.
void ChangeDevice(const DeviceProfile& profile);
// Portrait to landscape and back: the screen's width and height change places.
void RotateScreen();

} // namespace platform
