// Window timers.
#include "platform/core/LastError.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UiDriver.h"
#include "platform/ui/wm/Window.h"
#include "platform/ui/wm/WindowManager.h"

using namespace platform::ui;

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
    auto& manager = WindowManager::Get();
    Window* owner = window != nullptr ? manager.Lookup(window) : nullptr;
    if (window != nullptr && owner == nullptr)
        return 0;
    // A dialog's timers keep their own phase: a dialog restarts its timer after each step (a
    // ping's next echo a second after the last reply), and on the grain each step would wait up
    // to a whole grain more. The screen's long-lived timers share the grain.
    UINT grain = owner != nullptr && owner->dialog != nullptr ? 0 : manager.Driver().TimerCoalescingMs();
    UINT_PTR set = manager.Timers().Set(window, id, elapseMs, proc, WindowManager::NowMs(), grain);
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
