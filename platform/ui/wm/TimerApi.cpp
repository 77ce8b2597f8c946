// Window timers.
#include "platform/core/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    auto& manager = WindowManager::Get();
    if (window != nullptr && manager.Lookup(window) == nullptr)
        return 0;
    UINT_PTR set = manager.Timers().Set(window, id, elapseMs, proc, WindowManager::NowMs(),
        manager.Driver().TimerCoalescingMs());
    manager.Wake();
    return set != 0 ? set : 1;
}

BOOL KillTimer(HWND window, UINT_PTR id)
{
    auto& manager = WindowManager::Get();
    if (window != nullptr && manager.Lookup(window) == nullptr)
        return FALSE;
    if (!manager.Timers().Kill(window, id)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}
