// The "COMBOBOX" class: a drop-down list (CBS_DROPDOWNLIST) or an editable field with a list
// (CBS_DROPDOWN). The window is as high as its closed field; the height the
// template gave is the height of the dropped list.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/EditControl.h"
#include "platform/ui/controls/ItemList.h"

namespace platform::ui {

class Window;

// What the control keeps: its items, the height of the dropped list, and the field's limit and
// selection.
struct ComboData : ControlData {
    ItemList items;
    int droppedHeight = 0;
    bool dropped = false;
    size_t limit = kDefaultEditLimit;
    int selStart = 0;
    int selEnd = 0;
};

LRESULT ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// CBS_DROPDOWN: the field takes typing; CBS_DROPDOWNLIST: only the list's choices.
bool IsEditableCombo(const Window& window);

// The user's actions, from the control on the screen or the deterministic driver.
// Picks an item from the dropped list: CBN_SELCHANGE, CBN_SELENDOK.
void ComboUserChoose(Window& window, int index);
// The list drops down (CBN_DROPDOWN) or closes (CBN_CLOSEUP).
void ComboUserDropDown(Window& window, bool dropped);
// The user edited the field of an editable combo box: CBN_EDITUPDATE, CBN_EDITCHANGE.
void ComboUserEdited(Window& window, const std::wstring& text, int caret);

// Choose: the list drops down, the item is picked, the list closes. SelectAllText: the
// field's whole text.
bool ComboUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
