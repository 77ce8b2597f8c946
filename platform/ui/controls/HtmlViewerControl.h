// The "DISPLAYCLASS" class: the HTML viewer. The page grows with each
// DTM_ADDTEXTW and is shown as it arrives (once the messages of the moment are handled) and at
// once on DTM_ENDOFSOURCE.
#pragma once

#include <string>

#include "platform/ui/WinGdi.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"
#include "platform/ui/controls/HtmlSource.h"

namespace platform::ui {

class Window;
class WindowClassTable;

constexpr int kMediumZoom = 2;

// What the viewer keeps: the source given so far and the page made of it.
struct HtmlViewerData : ControlData {
    std::wstring source;
    bool ended = false;
    bool showPending = false;
    int zoom = kMediumZoom;
    bool scripting = true;
    bool clearType = false;
    HtmlPage page;
};

LRESULT HtmlViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The user's tap on the page's button K: WM_COMMAND N to the parent for a "cmd:N" button.
void HtmlViewerUserClick(Window& window, int button);
// The button K that sends command N, or -1.
int HtmlViewerButtonFor(Window& window, int command);

// The page's base font: 9 points at the medium zoom level, smaller and larger around it.
LOGFONTW HtmlViewerFont(int zoom);

std::wstring HtmlViewerSource(Window& window);
std::wstring HtmlViewerText(Window& window);

// ClickCommand: a tap on the page's button that sends the command.
bool HtmlViewerUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
