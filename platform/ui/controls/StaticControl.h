// The "STATIC" class: text left, centred or right-aligned, wrapping as the platform's does.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeStaticWidget(Window& window);

} // namespace platform::ui
