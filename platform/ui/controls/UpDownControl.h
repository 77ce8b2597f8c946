// The "msctls_updown32" class: a pair of arrows that step a position within a range, tell the
// parent before each step (UDN_DELTAPOS) and after it (WM_VSCROLL / WM_HSCROLL), and with
// UDS_SETBUDDYINT keep the position in the text of a buddy window (an edit field), beside which
// UDS_ALIGNRIGHT and UDS_ALIGNLEFT place the arrows.
#pragma once

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"

namespace platform::ui {

class Window;

LRESULT UpDownProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// UDS_HORZ: the arrows point left and right.
bool IsHorizontalUpDown(const Window& window);

// The user's press on an arrow (up: the arrow towards the range's upper limit), one step, and
// the release that ends the scrolling.
void UpDownUserStep(Window& window, bool up);
void UpDownUserRelease(Window& window);

// The range's next position: a step from pos, wrapped round or held within the range.
int UpDownNextPosition(int pos, int delta, int lower, int upper, bool wrap);

// Step: one press and release of an arrow.
bool UpDownUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
