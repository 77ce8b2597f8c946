// The dialogs that taps on the item open, by their resource id.
#pragma once

#include "platform/ui/WinUser.h"

// Opens the dialog from the module's template modally, owned by the window, with
// initialisation parameter 0: the dialog's result, or -1 when it could not be made (a template
// the module does not have fails as the platform fails for it).
INT_PTR OpenItemDialog(int templateId, HWND owner);

// Moves a dialog that the item opens to the middle of the screen's height, or of both its
// dimensions (after the screen turned); its size stays.
void CentreOnScreen(HWND dialog, bool horizontally, BOOL repaint = TRUE);
