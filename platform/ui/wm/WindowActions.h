// Steps of the window calls that other calls reuse (dialogs, controls, the drivers).
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;

// Shows or hides, sending WM_SHOWWINDOW and invalidating what appears; a top-level window
// that is shown with activation comes to the top and becomes the foreground window.
void ShowWindowObject(Window& window, bool show, bool activate);
// WM_SIZE with the client size and WM_MOVE with the client area's position.
void SendSizeAndMove(Window& window, bool moved, bool sized);
// The topmost visible top-level window.
HWND NextForegroundWindow();

} // namespace platform::ui
