// The "SysTabControl32" class: a row of tabs along the top, or along the bottom with
// TCS_BOTTOM. The rest of the control is its display area, where the pages
// (child windows of the control) lie; TCM_ADJUSTRECT converts between the two.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"

namespace platform::ui {

class Window;

struct TabItem {
    std::wstring text;
    int image = -1;
    LPARAM data = 0;
    DWORD state = 0;
};

struct TabData : ControlData {
    std::vector<TabItem> items;
    int selection = -1;
    WPARAM version = 0;
};

LRESULT TabProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// TCS_BOTTOM: the tabs run along the bottom.
bool TabsAtBottom(const Window& window);
// The height of the row of tabs: one line of the control's font and a margin above and below.
int TabStripHeight(const Window& window);

// The user's tap on a tab: TCN_SELCHANGING, and unless the parent refuses, the selection
// moves and TCN_SELCHANGE follows. A tap on the selected tab does nothing.
void TabUserSelect(Window& window, int index);

// Choose: a tap on the tab.
bool TabUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
