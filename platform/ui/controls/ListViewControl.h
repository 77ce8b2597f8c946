// The "SysListView32" class in list mode: one column of items with text, data and state
// (selection, focus, the check box of LVS_EX_CHECKBOXES as state image 1 or 2), the selection
// mark, and LVN_ITEMCHANGING / LVN_ITEMCHANGED around every change.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"

namespace platform::ui {

class Window;

struct ListViewItem {
    std::wstring text;
    LPARAM data = 0;
    int image = 0;
    UINT state = 0;
};

struct ListViewData : ControlData {
    std::vector<ListViewItem> items;
    DWORD extendedStyle = 0;
    int selectionMark = -1;
    WPARAM version = 0;
};

constexpr UINT kCheckedImage = INDEXTOSTATEIMAGEMASK(2);
constexpr UINT kUncheckedImage = INDEXTOSTATEIMAGEMASK(1);

LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The item at the index, or null.
ListViewItem* ListViewItemAt(ListViewData& data, int index);
// LVS_EX_CHECKBOXES.
bool ListViewHasCheckBoxes(const ListViewData& data);

// The user's tap on an item: it becomes the selected and focused item and the selection mark.
void ListViewUserSelect(Window& window, int index);
// The user's tap on an item's check box: the state image turns between 1 and 2.
void ListViewUserToggleCheck(Window& window, int index);

// Choose: a tap on the item; ToggleCheck: a tap on its check box.
bool ListViewUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
