// The part of a window that makes it a dialog: its dialog procedure, result and modal state.
#pragma once

#include "platform/ui/WinUser.h"

namespace platform::ui {

using DialogProc = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Dialogs made from a module's template, and the platform's own (message boxes, file
// dialogs), which the virtual driver answers through their own handlers.
enum class DialogKind { Template, MessageBox, FileDialog };

struct DialogState {
    DialogProc proc = nullptr;
    LONG_PTR messageResult = 0; // DWL_MSGRESULT
    LONG_PTR user = 0;          // DWL_USER
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    const void* templateData = nullptr;
    int templateId = 0; // the resource id of the template, 0 when not from a module's resources
    DialogKind kind = DialogKind::Template;
    void* request = nullptr; // what a platform dialog was asked (MessageBoxRequest, FileDialogRequest)
    HWND defaultButtonOwner = nullptr;
    HFONT font = nullptr;
    int baseUnitX = 0;
    int baseUnitY = 0;
};

} // namespace platform::ui
