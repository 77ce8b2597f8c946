// The options dialog's View page (template 107): which status lines the item shows and in which
// order, full or compact view, and the way into the view options. Edits stay in the page until
// the frame's OK commits them into the settings object.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR ViewPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
