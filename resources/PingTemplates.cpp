// Dialog templates of the ping dialog.
#include "resources/ModuleResources.h"

#include "platform/shell/AygShell.h"
#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

using namespace templates;

namespace {

// The result field holds four lines in the dialog's 8-point font.
const DLGITEMTEMPLATE kPingItems[] = {
    { kVisible | BS_GROUPBOX, 0, 4, 2, 116, 118, kNoId, L"BUTTON", L"Пингование :" },
    { kVisible | SS_LEFT, 0, 10, 14, 104, 8, kNoId, L"STATIC", L"IP адрес / Имя хоста:" },
    { kVisible | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, 10, 25, 72, 70, IDC_PING_TARGET, L"COMBOBOX", L"" },
    { kButton, 0, 86, 25, 28, 13, IDC_PING_START, L"BUTTON", L"Пинг" },
    { kVisible | SS_LEFT, 0, 10, 44, 104, 8, IDC_PING_STATUS, L"STATIC", L"Состояние:" },
    { kVisible | SS_LEFT, 0, 10, 56, 104, 60, IDC_PING_RESULT, L"STATIC", L"Static" },
    { kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 42, 124, 40, 14, IDOK, L"BUTTON", L"Выход" },
    { 0, 0, -10, -10, 5, 5, kNoId, WC_SIPPREF, L"" },
};
const DLGTEMPLATE kPingTemplate = { WS_POPUP | DS_MODALFRAME | DS_SETFONT, 0,
    static_cast<WORD>(std::size(kPingItems)), 0, 0, 124, 142, L"", 8, L"System", kPingItems };

} // namespace

void AddPingTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_PING, &kPingTemplate, sizeof kPingTemplate);
}
