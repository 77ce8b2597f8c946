// The options dialog's settings page (template 514): saves the plug-in's settings key to a
// backup file and restores it from one, saying what happened in the page's status text.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
