#include "usage/UsageSettingsDialog.h"

INT_PTR UsageSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dialog;
    (void)message;
    (void)wParam;
    (void)lParam;
    return FALSE;
}
