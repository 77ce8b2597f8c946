// The view options (template 506): the item's tap icons, pinning and view selection, the
// taskbar monitor icon and its place, the font, what the meter line shows and how fast the
// compact view scrolls. Its OK writes the settings object at once; the registry follows with
// the options frame's OK.
#pragma once

#include "platform/ui/WinUser.h"

// Modal, owned by the View page; the dialog's result (1 OK, 2 cancelled, -1 not made).
INT_PTR OpenViewOptions(HWND owner);
INT_PTR ViewOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
