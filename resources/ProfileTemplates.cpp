// Dialog templates of the Profiles page and the profile editor.
#include "resources/ModuleResources.h"

#include <iterator>

#include "resources/ResourceIds.h"
#include "resources/TemplateStyles.h"

namespace {

using namespace templates;

constexpr DWORD kAddressField = kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kLabel = kVisible | SS_LEFT;

const DLGITEMTEMPLATE kProfilesPageItems[] = {
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 4, 14, 122, 60, IDC_PROFILE_ADAPTER, L"COMBOBOX", L"" },
    { kLabel, 0, 4, 4, 122, 8, kNoId, L"STATIC", L"Выберите сетевой адаптер:" },
    { kLabel, 0, 4, 32, 122, 8, kNoId, L"STATIC", L"Доступные профили:" },
    { kButton, 0, 86, 42, 40, 14, IDC_PROFILE_NEW, L"BUTTON", L"Новый..." },
    { kButton, 0, 86, 59, 40, 14, IDC_PROFILE_EDIT, L"BUTTON", L"Правка..." },
    { kButton | BS_MULTILINE, 0, 86, 76, 40, 22, IDC_PROFILE_ACTIVATE, L"BUTTON", L"Активи- ровать" },
    { kButton, 0, 86, 101, 40, 14, IDC_PROFILE_DELETE, L"BUTTON", L"Удалить" },
    { kVisible | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP, 0, 4, 42, 78, 89, IDC_PROFILE_LIST,
        L"LISTBOX", L"" },
};
const DLGTEMPLATE kProfilesPageTemplate = { kPageStyle, 0, static_cast<WORD>(std::size(kProfilesPageItems)), 0, 0, 130, 135,
    L"", 8, L"System", kProfilesPageItems };

// The name-server rows start hidden on the rows of the address controls (one row higher, over
// the static-address button): the two views share the space.
const DLGITEMTEMPLATE kProfileEditorItems[] = {
    { kAddressField, 0, 56, 4, 76, 12, IDC_PROFILE_NAME, L"EDIT", L"" },
    { kLabel, 0, 4, 6, 50, 8, kNoId, L"STATIC", L"Имя профиля:" },
    { kLabel, 0, 4, 21, 24, 8, kNoId, L"STATIC", L"Показ:" },
    { kVisible | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 28, 20, 60, 10, IDC_PROFILE_SHOW_ADDRESSES, L"BUTTON",
        L"IP-настройки" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 88, 20, 46, 10, IDC_PROFILE_SHOW_SERVERS, L"BUTTON", L"DNS/WINS" },
    { kVisible | BS_AUTORADIOBUTTON | BS_MULTILINE | WS_GROUP | WS_TABSTOP, 0, 4, 35, 128, 18, IDC_PROFILE_DHCP, L"BUTTON",
        L"Использовать установленный сервером IP-адрес" },
    { kVisible | BS_AUTORADIOBUTTON | BS_MULTILINE, 0, 4, 55, 128, 18, IDC_PROFILE_STATIC, L"BUTTON",
        L"Использовать следующий IP-адрес:" },
    { kLabel | WS_GROUP, 0, 4, 78, 50, 8, IDC_PROFILE_IP_LABEL, L"STATIC", L"IP-адрес:" },
    { kAddressField, 0, 56, 76, 76, 12, IDC_PROFILE_IP, L"EDIT", L"" },
    { kLabel, 0, 4, 94, 50, 8, IDC_PROFILE_MASK_LABEL, L"STATIC", L"Маска:" },
    { kAddressField, 0, 56, 92, 76, 12, IDC_PROFILE_MASK, L"EDIT", L"" },
    { kLabel, 0, 4, 110, 50, 8, IDC_PROFILE_GATEWAY_LABEL, L"STATIC", L"Шлюз:" },
    { kAddressField, 0, 56, 108, 76, 12, IDC_PROFILE_GATEWAY, L"EDIT", L"" },
    { SS_LEFT, 0, 4, 62, 50, 8, IDC_PROFILE_DNS_LABEL, L"STATIC", L"DNS-сервер:" },
    { kAddressField & ~kVisible, 0, 56, 60, 76, 12, IDC_PROFILE_DNS, L"EDIT", L"" },
    { SS_LEFT, 0, 4, 78, 50, 8, IDC_PROFILE_ALT_DNS_LABEL, L"STATIC", L"Альтерн. DNS:" },
    { kAddressField & ~kVisible, 0, 56, 76, 76, 12, IDC_PROFILE_ALT_DNS, L"EDIT", L"" },
    { SS_LEFT, 0, 4, 94, 50, 8, IDC_PROFILE_WINS_LABEL, L"STATIC", L"WINS-сервер:" },
    { kAddressField & ~kVisible, 0, 56, 92, 76, 12, IDC_PROFILE_WINS, L"EDIT", L"" },
    { SS_LEFT, 0, 4, 110, 50, 8, IDC_PROFILE_ALT_WINS_LABEL, L"STATIC", L"Альтерн.WINS:" },
    { kAddressField & ~kVisible, 0, 56, 108, 76, 12, IDC_PROFILE_ALT_WINS, L"EDIT", L"" },
    { kButton | BS_DEFPUSHBUTTON | WS_GROUP, 0, 22, 128, 42, 12, IDOK, L"BUTTON", L"OK" },
    { kButton, 0, 72, 128, 42, 12, IDCANCEL, L"BUTTON", L"Отмена" },
};
const DLGTEMPLATE kProfileEditorTemplate = { WS_POPUP | DS_SETFONT, 0, static_cast<WORD>(std::size(kProfileEditorItems)), 0, 0,
    136, 146, L"", 8, L"System", kProfileEditorItems };

} // namespace

void AddProfileTemplates(platform::ModuleResources& resources)
{
    resources.AddDialog(IDD_PROFILES_PAGE, &kProfilesPageTemplate, sizeof kProfilesPageTemplate);
    resources.AddDialog(IDD_PROFILE_EDITOR, &kProfileEditorTemplate, sizeof kProfileEditorTemplate);
}
