// The "LISTBOX" class: a single-selection list of strings with item data.
#pragma once

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/ItemList.h"

namespace platform::ui {

class Window;

// What the control keeps: its items and the first one shown.
struct ListBoxData : ControlData {
    ItemList items;
    int top = 0;
};

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The user's tap on an item (LBN_SELCHANGE with LBS_NOTIFY), or a double tap (LBN_DBLCLK too).
void ListBoxUserChoose(Window& window, int index, bool doubleTap);

// Choose: a single tap on the item.
bool ListBoxUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
