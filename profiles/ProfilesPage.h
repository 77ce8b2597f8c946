// The options dialog's Profiles page (template 509): the stored network profiles, made and
// changed in the profile editor, deleted, and activated on an adapter chosen from the device's
// adapters, which writes the profile into that adapter's registry parameters and saves the
// profiles at once. Other changes reach the registry with the frame's OK.
#pragma once

#include "platform/ui/WinUser.h"

INT_PTR ProfilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
