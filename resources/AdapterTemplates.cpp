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

} // namespace

void AddAdapterTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_ADAPTER_PAGE, &kAdapterPageTemplate, sizeof kAdapterPageTemplate);
}
