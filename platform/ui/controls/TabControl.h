// The "SysTabControl32" class: a row of tabs along the top, or along the bottom with
// TCS_BOTTOM, on a Qt tab bar. The rest of the control is its display area, where the pages
// (child windows of the control) lie; TCM_ADJUSTRECT converts between the two.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT TabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeTabWidget(Window& window);

// The user's tap on a tab: TCN_SELCHANGING, and unless the parent refuses, the selection
// moves and TCN_SELCHANGE follows. A tap on the selected tab does nothing.
void TabUserSelect(Window& window, int index);

} // namespace platform::ui
