// Dialog templates of the Adapter page and the DHCP dialog.
#include "resources/ModuleResources.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

namespace {

using namespace templates;

// The list takes the page's whole width: the page is narrow on the small screen, and adapters
// have long names.
const DLGITEMTEMPLATE kAdapterPageItems[] = {
    { kVisible | SS_LEFT, 0, 3, 4, 131, 8, kNoId, L"STATIC", L"Выберите контролируемый адаптер:" },
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 3, 15, 131, 60, IDC_ADAPTER_LIST, L"COMBOBOX", L"" },
    { kVisible | BS_GROUPBOX, 0, 3, 34, 131, 30, kNoId, L"BUTTON", L"Информация об адаптере:" },
    { kVisible | SS_LEFT, 0, 10, 48, 48, 8, IDC_ADAPTER_MAC_LABEL, L"STATIC", L"MAC Address:" },
    { kVisible | SS_LEFT, 0, 58, 48, 72, 8, IDC_ADAPTER_MAC, L"STATIC", L"" },
    { kButton, 0, 3, 72, 90, 14, IDC_ADAPTER_SETTINGS, L"BUTTON", L"Изменить настройки..." },
};
const DLGTEMPLATE kAdapterPageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kAdapterPageItems)), 0, 0, 137, 135,
    L"", 8, L"System", kAdapterPageItems };

// Button 2 renews: the dialog's cancel id is its "Включить".
const DLGITEMTEMPLATE kDhcpItems[] = {
    { kVisible | BS_GROUPBOX, 0, 3, 2, 124, 76, kNoId, L"BUTTON", L"Контроль DHCP :" },
    { kVisible | SS_LEFT, 0, 8, 14, 42, 8, kNoId, L"STATIC", L"Адаптер:" },
    { kVisible | SS_LEFT, 0, 50, 14, 74, 16, IDC_DHCP_ADAPTER, L"STATIC", L"Static" },
    { kVisible | SS_LEFT, 0, 8, 32, 42, 8, kNoId, L"STATIC", L"Состояние:" },
    { kVisible | SS_LEFT, 0, 50, 32, 74, 24, IDC_DHCP_STATUS, L"STATIC", L"Static" },
    { kButton, 0, 8, 58, 54, 14, IDC_DHCP_RELEASE, L"BUTTON", L"Отключить" },
    { kButton, 0, 68, 58, 54, 14, IDC_DHCP_RENEW, L"BUTTON", L"Включить" },
    { kButton, 0, 8, 82, 54, 14, IDC_DHCP_PING, L"BUTTON", L"Пинг..." },
    { kButton | BS_DEFPUSHBUTTON, 0, 68, 82, 54, 14, IDOK, L"BUTTON", L"OK" },
};
const DLGTEMPLATE kDhcpTemplate = { WS_POPUP | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 0,
    static_cast<WORD>(std::size(kDhcpItems)), 0, 0, 130, 100, L"", 8, L"System", kDhcpItems };

} // namespace

void AddAdapterTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_ADAPTER_PAGE, &kAdapterPageTemplate, sizeof kAdapterPageTemplate);
    resources.AddDialog(IDD_DHCP, &kDhcpTemplate, sizeof kDhcpTemplate);
}
