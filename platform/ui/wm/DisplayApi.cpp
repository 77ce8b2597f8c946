// The device's screen as the host and the tests change it: another profile, or a rotation.
#include "platform/ui/Display.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

namespace platform {

void ChangeDevice(const DeviceProfile& profile)
{
    auto& manager = WindowManager::Get();
    DeviceProfile before = CurrentDevice();
    SetCurrentDevice(profile);
    manager.FitDesktopToScreen();
    if (before.screenWidth == profile.screenWidth && before.screenHeight == profile.screenHeight)
        return;
    manager.ScreenChanged();
    // Sent to each top-level window, as the platform broadcasts it; a window that a handler
    // destroys on the way is skipped.
    std::vector<HWND> windows;
    for (Window* top : manager.Desktop().children)
        windows.push_back(top->Handle());
    for (HWND window : windows) {
        if (IsWindow(window))
            SendMessageW(window, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    }
}

void RotateScreen()
{
    DeviceProfile rotated = CurrentDevice();
    rotated.Rotate();
    ChangeDevice(rotated);
}

} // namespace platform
