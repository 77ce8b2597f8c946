// The "LISTBOX" class: a single-selection list of strings with item data, on a Qt list.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeListBoxWidget(Window& window);

// The user's tap on an item (LBN_SELCHANGE with LBS_NOTIFY), or a double tap (LBN_DBLCLK too).
void ListBoxUserChoose(Window& window, int index, bool doubleTap);

} // namespace platform::ui
