// The "STATIC" class: text left, centred or right-aligned, wrapping as the platform's does.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace platform::ui
