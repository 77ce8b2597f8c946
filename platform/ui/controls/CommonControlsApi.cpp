// Starting the common controls: their classes are the platform's and exist from the start.
#include "platform/core/LastError.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/wm/WindowManager.h"

void InitCommonControls()
{
    platform::ui::WindowManager::Get();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    platform::ui::WindowManager::Get();
    return TRUE;
}
