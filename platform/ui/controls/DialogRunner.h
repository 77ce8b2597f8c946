// The modal loop behind DialogBoxIndirectParamW, shared with the platform's own dialogs
// (message boxes, file dialogs), which say what they are so that the virtual driver can hand
// them to the right handler.
#pragma once

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/DialogState.h"

namespace platform::ui {

INT_PTR RunModalDialog(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC proc, LPARAM param,
    DialogKind kind, void* request);

} // namespace platform::ui
