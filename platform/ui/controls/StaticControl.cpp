#include "platform/ui/controls/StaticControl.h"

#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

namespace platform::ui {

LRESULT StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(handle, message, wParam, lParam);
}

} // namespace platform::ui
