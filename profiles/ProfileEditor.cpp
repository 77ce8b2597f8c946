#include "profiles/ProfileEditor.h"

#include "item/PluginModule.h"
#include "platform/shell/AygShell.h"
#include "profiles/ProfileCheck.h"
#include "resources/ResourceIds.h"

namespace {

// What the page asked for, for the one editor open at a time.
int g_editedPosition = kNewProfile;
NetProfile* g_pEditedProfile = nullptr;

const int kAddressControls[] = { IDC_PROFILE_IP_LABEL, IDC_PROFILE_MASK_LABEL, IDC_PROFILE_GATEWAY_LABEL, IDC_PROFILE_IP,
    IDC_PROFILE_MASK, IDC_PROFILE_GATEWAY };
const int kAddressView[] = { IDC_PROFILE_DHCP, IDC_PROFILE_STATIC, IDC_PROFILE_IP_LABEL, IDC_PROFILE_MASK_LABEL,
    IDC_PROFILE_GATEWAY_LABEL, IDC_PROFILE_IP, IDC_PROFILE_MASK, IDC_PROFILE_GATEWAY };
const int kServerFields[] = { IDC_PROFILE_DNS, IDC_PROFILE_ALT_DNS, IDC_PROFILE_WINS, IDC_PROFILE_ALT_WINS };
const int kServerLabels[] = { IDC_PROFILE_DNS_LABEL, IDC_PROFILE_ALT_DNS_LABEL, IDC_PROFILE_WINS_LABEL,
    IDC_PROFILE_ALT_WINS_LABEL };

ProfileList& Profiles()
{
    return g_pModule->m_settings.Profiles();
}

void Stop(HWND dialog, const std::wstring& text)
{
    MessageBoxW(dialog, text.c_str(), L"Velmora", MB_OK | MB_ICONHAND);
}

// The whole text: a name is compared and stored as typed, however long.
std::wstring FieldText(HWND dialog, int id)
{
    HWND field = GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetField(HWND dialog, int id, const std::wstring& text)
{
    SetDlgItemTextW(dialog, id, text.c_str());
}

bool StaticChosen(HWND dialog)
{
    return IsDlgButtonChecked(dialog, IDC_PROFILE_STATIC) == BST_CHECKED;
}

void EnableAddresses(HWND dialog)
{
    BOOL enable = StaticChosen(dialog) ? TRUE : FALSE;
    for (int id : kAddressControls)
        EnableWindow(GetDlgItem(dialog, id), enable);
}

RECT RectInDialog(HWND dialog, int id)
{
    RECT rect {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

// The name-server rows take the place of the address rows: fields in the IP address field's
// column and size, rows as far apart as the address rows, the DNS row one row above the IP
// address; captions keep their column and sit as far below their field's top as the address
// captions do. Measured in the dialog's client area, so that it holds for every frame and
// screen size.
void ProfileEditor_PlaceServers(HWND dialog)
{
    RECT ip = RectInDialog(dialog, IDC_PROFILE_IP);
    RECT mask = RectInDialog(dialog, IDC_PROFILE_MASK);
    RECT ipLabel = RectInDialog(dialog, IDC_PROFILE_IP_LABEL);
    int spacing = mask.top - ip.top;
    int labelDrop = ipLabel.top - ip.top;
    for (int row = 0; row < 4; ++row) {
        int top = ip.top + (row - 1) * spacing;
        HWND field = GetDlgItem(dialog, kServerFields[row]);
        SetWindowPos(field, nullptr, ip.left, top, ip.right - ip.left, ip.bottom - ip.top, SWP_NOZORDER);
        ShowWindow(field, SW_HIDE);
        RECT label = RectInDialog(dialog, kServerLabels[row]);
        HWND caption = GetDlgItem(dialog, kServerLabels[row]);
        SetWindowPos(caption, nullptr, label.left, top + labelDrop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(caption, SW_HIDE);
    }
}

void ProfileEditor_OnView(HWND dialog)
{
    bool addresses = IsDlgButtonChecked(dialog, IDC_PROFILE_SHOW_ADDRESSES) == BST_CHECKED;
    for (int id : kAddressView)
        ShowWindow(GetDlgItem(dialog, id), addresses ? SW_SHOW : SW_HIDE);
    for (int row = 0; row < 4; ++row) {
        ShowWindow(GetDlgItem(dialog, kServerLabels[row]), addresses ? SW_HIDE : SW_SHOW);
        ShowWindow(GetDlgItem(dialog, kServerFields[row]), addresses ? SW_HIDE : SW_SHOW);
    }
}

void ProfileEditor_OnInitDialog(HWND dialog)
{
    SHINITDLGINFO shellInit { SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN };
    SHInitDialog(&shellInit);

    g_pEditedProfile = nullptr;
    if (g_editedPosition == kNewProfile) {
        CheckRadioButton(dialog, IDC_PROFILE_DHCP, IDC_PROFILE_STATIC, IDC_PROFILE_DHCP);
    } else {
        g_pEditedProfile = Profiles().ProfileAt(static_cast<DWORD>(g_editedPosition));
        if (g_pEditedProfile == nullptr) {
            Stop(dialog, L"Velmora Error: Profile not found.");
            EndDialog(dialog, 2);
            return;
        }
        const NetProfile& profile = *g_pEditedProfile;
        SetField(dialog, IDC_PROFILE_NAME, profile.name);
        if (profile.dhcp == 0) {
            CheckRadioButton(dialog, IDC_PROFILE_DHCP, IDC_PROFILE_STATIC, IDC_PROFILE_STATIC);
            SetField(dialog, IDC_PROFILE_IP, profile.ipAddress);
            SetField(dialog, IDC_PROFILE_MASK, profile.subnetMask);
            SetField(dialog, IDC_PROFILE_GATEWAY, profile.defaultGateway);
        } else {
            CheckRadioButton(dialog, IDC_PROFILE_DHCP, IDC_PROFILE_STATIC, IDC_PROFILE_DHCP);
        }
        SetField(dialog, IDC_PROFILE_DNS, profile.dnsServer);
        SetField(dialog, IDC_PROFILE_ALT_DNS, profile.alternateDnsServer);
        SetField(dialog, IDC_PROFILE_WINS, profile.winsServer);
        SetField(dialog, IDC_PROFILE_ALT_WINS, profile.alternateWinsServer);
    }
    CheckRadioButton(dialog, IDC_PROFILE_SHOW_ADDRESSES, IDC_PROFILE_SHOW_SERVERS, IDC_PROFILE_SHOW_ADDRESSES);
    EnableAddresses(dialog);
    ProfileEditor_PlaceServers(dialog);
}

void ProfileEditor_OnOk(HWND dialog)
{
    ProfileFields fields;
    fields.name = FieldText(dialog, IDC_PROFILE_NAME);
    if (StaticChosen(dialog)) {
        fields.dhcp = 0;
        fields.ipAddress = FieldText(dialog, IDC_PROFILE_IP);
        fields.subnetMask = FieldText(dialog, IDC_PROFILE_MASK);
        fields.defaultGateway = FieldText(dialog, IDC_PROFILE_GATEWAY);
    } else {
        fields.dhcp = 1;
        ClearStaticAddresses(fields);
    }
    fields.dnsServer = FieldText(dialog, IDC_PROFILE_DNS);
    fields.alternateDnsServer = FieldText(dialog, IDC_PROFILE_ALT_DNS);
    fields.winsServer = FieldText(dialog, IDC_PROFILE_WINS);
    fields.alternateWinsServer = FieldText(dialog, IDC_PROFILE_ALT_WINS);
    // The adapter is set again when the profile is activated.
    fields.adapter.clear();

    std::wstring problem = ProfileProblem(fields, Profiles(), g_pEditedProfile);
    if (!problem.empty()) {
        Stop(dialog, problem);
        return;
    }
    if (g_pEditedProfile == nullptr)
        Profiles().AddProfile(fields);
    else
        Profiles().UpdateProfile(g_pEditedProfile, fields);
    EndDialog(dialog, 1);
}

BOOL ProfileEditor_OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_PROFILE_DHCP:
    case IDC_PROFILE_STATIC:
        EnableAddresses(dialog);
        return TRUE;
    case IDC_PROFILE_SHOW_ADDRESSES:
    case IDC_PROFILE_SHOW_SERVERS:
        ProfileEditor_OnView(dialog);
        return TRUE;
    case IDOK:
        ProfileEditor_OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR OpenProfileEditor(HWND owner, int position)
{
    g_editedPosition = position;
    INT_PTR result = DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(IDD_PROFILE_EDITOR), owner, ProfileEditorProc, 0);
    g_pEditedProfile = nullptr;
    return result;
}

INT_PTR ProfileEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ProfileEditor_OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return ProfileEditor_OnCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}
