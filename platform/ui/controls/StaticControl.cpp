#include "platform/ui/controls/StaticControl.h"

#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

LRESULT StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    // A text that does not tell its parent of taps lets them through to what lies under it.
    if (message == WM_NCHITTEST && (GetWindowLongW(handle, GWL_STYLE) & SS_NOTIFY) == 0)
        return HTTRANSPARENT;
    return DefWindowProcW(handle, message, wParam, lParam);
}

} // namespace platform::ui
