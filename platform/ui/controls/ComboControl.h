// The "COMBOBOX" class: a drop-down list (CBS_DROPDOWNLIST) or an editable field with a list
// (CBS_DROPDOWN), on a Qt combo box. The window is as high as its closed field; the height the
// template gave is the height of the dropped list.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeComboWidget(Window& window);

// The user's actions, from the Qt control or the deterministic driver.
// Picks an item from the dropped list: CBN_SELCHANGE, CBN_SELENDOK.
void ComboUserChoose(Window& window, int index);
// The list drops down (CBN_DROPDOWN) or closes (CBN_CLOSEUP).
void ComboUserDropDown(Window& window, bool dropped);
// The user edited the field of an editable combo box: CBN_EDITUPDATE, CBN_EDITCHANGE.
void ComboUserEdited(Window& window, const std::wstring& text, int caret);

} // namespace platform::ui
