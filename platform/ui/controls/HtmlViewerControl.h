// The "DISPLAYCLASS" class: the HTML viewer on a Qt text browser. The page grows with each
// DTM_ADDTEXTW and is shown as it arrives (once the messages of the moment are handled) and at
// once on DTM_ENDOFSOURCE.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowClassTable;
class WindowWidget;

LRESULT HtmlViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeHtmlViewerWidget(Window& window);

// The user's tap on the page's button K: WM_COMMAND N to the parent for a "cmd:N" button.
void HtmlViewerUserClick(Window& window, int button);
// The button K that sends command N, or -1.
int HtmlViewerButtonFor(Window& window, int command);

std::wstring HtmlViewerSource(Window& window);
std::wstring HtmlViewerText(Window& window);

} // namespace platform::ui
