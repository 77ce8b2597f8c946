// Dialogs made from a module's dialog template found by name.
#include "platform/ui/Resources.h"
#include "platform/ui/WinUser.h"

namespace {

LPCDLGTEMPLATE FindDialogTemplate(HINSTANCE instance, LPCWSTR templateName)
{
    HRSRC resource = FindResourceW(instance, templateName, RT_DIALOG);
    if (resource == nullptr)
        return nullptr;
    return static_cast<LPCDLGTEMPLATE>(LoadResource(instance, resource));
}

} // namespace

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC proc, LPARAM param)
{
    LPCDLGTEMPLATE dialogTemplate = FindDialogTemplate(instance, templateName);
    if (dialogTemplate == nullptr)
        return -1;
    return DialogBoxIndirectParamW(instance, dialogTemplate, parent, proc, param);
}

