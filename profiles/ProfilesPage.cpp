#include "profiles/ProfilesPage.h"

#include "item/PluginModule.h"
#include "profiles/ApplyProfile.h"
#include "profiles/ProfileEditor.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const wchar_t* kCaption = L"Velmora";

Settings& TheSettings()
{
    return g_pModule->m_settings;
}

ProfileList& Profiles()
{
    return TheSettings().Profiles();
}

int Ask(HWND page, const std::wstring& text)
{
    return MessageBoxW(page, text.c_str(), kCaption, MB_YESNO | MB_ICONEXCLAMATION);
}

void Tell(HWND page, const wchar_t* text, UINT icon)
{
    MessageBoxW(page, text, kCaption, MB_OK | icon);
}

// The names in list order; a line that stands alone when there are none.
void ProfilesPage_FillList(HWND page)
{
    HWND list = GetDlgItem(page, IDC_PROFILE_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    WPARAM position = 0;
    for (const NetProfile* p = Profiles().Head(); p != nullptr; p = p->next.get())
        SendMessageW(list, LB_INSERTSTRING, position++, reinterpret_cast<LPARAM>(p->name.c_str()));
    if (position == 0)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"(no profiles defined)"));
}

void ProfilesPage_OnInitDialog(HWND page)
{
    HWND adapters = GetDlgItem(page, IDC_PROFILE_ADAPTER);
    const Settings& settings = TheSettings();
    LPARAM position = 0;
    for (const AdapterNameEntry& entry : settings.AdapterNames()) {
        auto index = static_cast<WPARAM>(SendMessageW(adapters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.displayName.c_str())));
        SendMessageW(adapters, CB_SETITEMDATA, index, position);
        if (entry.keyName == settings.InterfaceString)
            SendMessageW(adapters, CB_SETCURSEL, index, 0);
        ++position;
    }
    ProfilesPage_FillList(page);
}

// The chosen line of the profile list; LB_ERR when none is chosen.
int SelectedLine(HWND page)
{
    return static_cast<int>(SendDlgItemMessageW(page, IDC_PROFILE_LIST, LB_GETCURSEL, 0, 0));
}

void ProfilesPage_OnNew(HWND page)
{
    if (Profiles().Count() >= kMaxProfiles) {
        Tell(page, L"No more profiles can be added.", MB_ICONHAND);
        return;
    }
    OpenProfileEditor(page, kNewProfile);
    ProfilesPage_FillList(page);
}

// Lines are told apart by position, since two profiles may share a name; with no profiles the
// one line is no profile, whatever it reads.
void ProfilesPage_OnEdit(HWND page)
{
    int line = SelectedLine(page);
    if (line == LB_ERR)
        Tell(page, L"Please select a profile to edit.", MB_ICONINFORMATION);
    else if (Profiles().Head() == nullptr)
        Tell(page, L"Please define a profile first by tapping the \"New\" button.", MB_ICONINFORMATION);
    else
        OpenProfileEditor(page, line);
    ProfilesPage_FillList(page);
}

// The adapter chosen in the combo box; null, after saying why, when there is none to use.
const AdapterNameEntry* ChosenAdapter(HWND page)
{
    HWND adapters = GetDlgItem(page, IDC_PROFILE_ADAPTER);
    auto index = static_cast<LONG_PTR>(SendMessageW(adapters, CB_GETCURSEL, 0, 0));
    const AdapterNameList& names = TheSettings().AdapterNames();
    if (index < 0) {
        Tell(page, L"Please select a network adapter to activate the profile on.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    auto position = static_cast<size_t>(SendMessageW(adapters, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    // Without a key name there is no registry key to write the profile into.
    if (position >= names.size() || names[position].keyName.empty()) {
        Tell(page, L"This network adapter cannot be configured. Please select another network adapter.", MB_ICONEXCLAMATION);
        return nullptr;
    }
    return &names[position];
}

void ProfilesPage_OnActivate(HWND page)
{
    const AdapterNameEntry* adapter = ChosenAdapter(page);
    if (adapter == nullptr)
        return;
    int line = SelectedLine(page);
    if (line == LB_ERR) {
        Tell(page, L"Please select a profile to activate.", MB_ICONEXCLAMATION);
        return;
    }
    NetProfile* profile = Profiles().ProfileAt(static_cast<DWORD>(line));
    if (profile == nullptr) {
        Tell(page, L"No profiles to activate.", MB_ICONEXCLAMATION);
        return;
    }
    std::wstring question = L"Are you sure you wish to activate the profile " + profile->name + L" on the network adapter "
        + adapter->displayName + L"?";
    if (Ask(page, question) != IDYES)
        return;
    profile->adapter = adapter->keyName;
    bool applied = ApplyProfile(*profile);
    Profiles().SaveProfiles();
    if (applied)
        MessageBoxW(page, L"The profile will be enabled the next time the adapter is reset.", kCaption, MB_OK);
    else
        Tell(page, L"The profile could not be written to the network adapter's settings.", MB_ICONHAND);
}

// The deletion stays in memory until the profiles are next saved.
void ProfilesPage_OnDelete(HWND page)
{
    int line = SelectedLine(page);
    NetProfile* profile = line == LB_ERR ? nullptr : Profiles().ProfileAt(static_cast<DWORD>(line));
    if (line == LB_ERR)
        Tell(page, L"Please select a profile to delete.", MB_ICONEXCLAMATION);
    else if (profile == nullptr)
        Tell(page, L"No profiles to delete.", MB_ICONEXCLAMATION);
    else if (Ask(page, L"Are you sure you wish to delete the profile " + profile->name + L"?") == IDYES)
        Profiles().DeleteProfile(profile->number);
    ProfilesPage_FillList(page);
}

BOOL ProfilesPage_OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_PROFILE_NEW:
        ProfilesPage_OnNew(page);
        return TRUE;
    case IDC_PROFILE_EDIT:
        ProfilesPage_OnEdit(page);
        return TRUE;
    case IDC_PROFILE_ACTIVATE:
        ProfilesPage_OnActivate(page);
        return TRUE;
    case IDC_PROFILE_DELETE:
        ProfilesPage_OnDelete(page);
        return TRUE;
    case IDOK:
    case IDCANCEL:
        EndDialog(page, id);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR ProfilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ProfilesPage_OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        return ProfilesPage_OnCommand(page, LOWORD(wParam));
    default:
        return FALSE;
    }
}
