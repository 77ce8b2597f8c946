// The "BUTTON" class: push and default push buttons, check boxes, radio buttons (automatic
// ones grouped by WS_GROUP), group boxes, and owner-drawn buttons that their parent draws on
// WM_DRAWITEM.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// BS_PUSHBUTTON, BS_CHECKBOX, ... from the window's style.
DWORD ButtonType(const Window& window);
bool IsCheckButtonType(DWORD type);
bool IsRadioButtonType(DWORD type);

} // namespace platform::ui
