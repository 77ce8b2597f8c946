// The "SysListView32" class in list mode: one column of items with text, data and state
// (selection, focus, the check box of LVS_EX_CHECKBOXES as state image 1 or 2), the selection
// mark, and LVN_ITEMCHANGING / LVN_ITEMCHANGED around every change; on a Qt list.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeListViewWidget(Window& window);

// The user's tap on an item: it becomes the selected and focused item and the selection mark.
void ListViewUserSelect(Window& window, int index);
// The user's tap on an item's check box: the state image turns between 1 and 2.
void ListViewUserToggleCheck(Window& window, int index);

} // namespace platform::ui
