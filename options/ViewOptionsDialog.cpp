#include "options/ViewOptionsDialog.h"

#include "item/PluginModule.h"
#include "options/DialogChecks.h"
#include "options/DialogNumbers.h"
#include "platform/device/Device.h"
#include "platform/shell/AygShell.h"
#include "platform/text/Format.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kScrollRateHighest = 9;
constexpr DWORD kPlacementHighest = 222;
// On wider screens the pin and the view switch share the item's corner, so only one of them
// may be on.
constexpr int kSharedCornerMinWidth = 321;

const wchar_t* const kFontSizeNames[] = { L"Default", L"Large", L"Small" };

void StepDialogNumber(HWND dialog, int id, int delta, DWORD high)
{
    DWORD value = StepBoundedNumber(ReadBoundedNumber(dialog, id, 0, 0xFFFFFFFE), delta, high);
    SetDlgItemTextW(dialog, id, Fmt(L"%d", value).c_str());
}

void EnablePlacement(HWND dialog, bool enable)
{
    EnableWindow(GetDlgItem(dialog, IDC_VIEWOPT_PLACEMENT), enable ? TRUE : FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_VIEWOPT_PLACEMENT_SPIN), enable ? TRUE : FALSE);
}

void ViewOptions_OnInitDialog(HWND dialog)
{
    SHINITDLGINFO shellInit { SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN };
    SHInitDialog(&shellInit);

    const Settings& settings = g_pModule->m_settings;
    Check(dialog, IDC_VIEWOPT_METER_ICON, settings.MeterIconEnabled);
    Check(dialog, IDC_VIEWOPT_DHCP_ICON, settings.DHCPIconEnabled);
    Check(dialog, IDC_VIEWOPT_OPTIONS_ICON, settings.OptionsIconEnabled);
    Check(dialog, IDC_VIEWOPT_BOLD, settings.BoldTextEnabled);
    Check(dialog, IDC_VIEWOPT_PIN, settings.PinEnabled);
    Check(dialog, IDC_VIEWOPT_VIEW_SELECT, settings.ViewSelectEnabled);
    SetDlgItemTextW(dialog, IDC_VIEWOPT_SCROLL_RATE, Fmt(L"%d", settings.ScrollRate).c_str());

    bool topBar = settings.TaskbarIconEnabled != 0 && settings.TaskbarIconUp != 0;
    Check(dialog, IDC_VIEWOPT_NO_ICON, settings.TaskbarIconEnabled == 0);
    Check(dialog, IDC_VIEWOPT_TOP_ICON, topBar);
    Check(dialog, IDC_VIEWOPT_NOTIFY_ICON, settings.TaskbarIconEnabled != 0 && settings.TaskbarIconUp == 0);
    if (!topBar)
        EnablePlacement(dialog, false);
    SetDlgItemTextW(dialog, IDC_VIEWOPT_PLACEMENT, Fmt(L"%d", settings.TaskbarIconPlacement).c_str());

    Check(dialog, settings.MeterShowsTotal != 0 ? IDC_VIEWOPT_METER_TOTAL : IDC_VIEWOPT_METER_BOTH, 1);

    HWND fontSize = GetDlgItem(dialog, IDC_VIEWOPT_FONT_SIZE);
    for (const wchar_t* name : kFontSizeNames)
        SendMessageW(fontSize, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    if (settings.FontSize >= kFontSizeDefault && settings.FontSize <= kFontSizeSmall)
        SendMessageW(fontSize, CB_SETCURSEL, settings.FontSize - kFontSizeDefault, 0);
}

// Pinning and the view switch: on a wide screen choosing one clears the other.
void ViewOptions_OnCornerChoice(HWND dialog, int chosen, int other)
{
    if (GetSystemMetrics(SM_CXSCREEN) >= kSharedCornerMinWidth && Checked(dialog, chosen))
        CheckDlgButton(dialog, other, BST_UNCHECKED);
}

void ViewOptions_OnOk(HWND dialog)
{
    Settings& settings = g_pModule->m_settings;
    settings.MeterIconEnabled = Checked(dialog, IDC_VIEWOPT_METER_ICON);
    settings.DHCPIconEnabled = Checked(dialog, IDC_VIEWOPT_DHCP_ICON);
    settings.OptionsIconEnabled = Checked(dialog, IDC_VIEWOPT_OPTIONS_ICON);
    settings.BoldTextEnabled = Checked(dialog, IDC_VIEWOPT_BOLD);
    settings.PinEnabled = Checked(dialog, IDC_VIEWOPT_PIN);
    settings.ViewSelectEnabled = Checked(dialog, IDC_VIEWOPT_VIEW_SELECT);
    settings.ScrollRate = ReadBoundedNumber(dialog, IDC_VIEWOPT_SCROLL_RATE, 1, kScrollRateHighest);
    if (!Checked(dialog, IDC_VIEWOPT_NO_ICON)) {
        settings.TaskbarIconEnabled = 1;
        settings.TaskbarIconUp = Checked(dialog, IDC_VIEWOPT_TOP_ICON);
    } else {
        settings.TaskbarIconEnabled = 0;
    }
    settings.TaskbarIconPlacement = ReadBoundedNumber(dialog, IDC_VIEWOPT_PLACEMENT, 1, kPlacementHighest);
    // The top-bar icon is made again at its new place by the next upkeep.
    ItemState& item = g_pModule->m_item;
    if (settings.TaskbarIconUp != 0 && item.hwndTaskIcon != nullptr) {
        DestroyWindow(item.hwndTaskIcon);
        item.hwndTaskIcon = nullptr;
    }
    settings.MeterShowsTotal = Checked(dialog, IDC_VIEWOPT_METER_TOTAL);
    auto fontIndex = static_cast<LONG_PTR>(SendDlgItemMessageW(dialog, IDC_VIEWOPT_FONT_SIZE, CB_GETCURSEL, 0, 0));
    // Nothing chosen (a stored size the list does not offer) keeps the stored size.
    if (fontIndex >= 0)
        settings.FontSize = kFontSizeDefault + static_cast<DWORD>(fontIndex);
    EndDialog(dialog, 1);
}

BOOL ViewOptions_OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_VIEWOPT_NO_ICON:
    case IDC_VIEWOPT_TOP_ICON:
    case IDC_VIEWOPT_NOTIFY_ICON:
        EnablePlacement(dialog, Checked(dialog, IDC_VIEWOPT_TOP_ICON) != 0);
        return TRUE;
    case IDC_VIEWOPT_PIN:
        ViewOptions_OnCornerChoice(dialog, IDC_VIEWOPT_PIN, IDC_VIEWOPT_VIEW_SELECT);
        return TRUE;
    case IDC_VIEWOPT_VIEW_SELECT:
        ViewOptions_OnCornerChoice(dialog, IDC_VIEWOPT_VIEW_SELECT, IDC_VIEWOPT_PIN);
        return TRUE;
    case IDOK:
        ViewOptions_OnOk(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

// The spins have no buddy: the dialog steps the number in the field beside each.
void ViewOptions_OnNotify(HWND dialog, const NMHDR* header)
{
    if (header == nullptr || header->code != UDN_DELTAPOS)
        return;
    const auto* step = reinterpret_cast<const NMUPDOWN*>(header);
    if (header->idFrom == IDC_VIEWOPT_SCROLL_RATE_SPIN)
        StepDialogNumber(dialog, IDC_VIEWOPT_SCROLL_RATE, step->iDelta, kScrollRateHighest);
    else if (header->idFrom == IDC_VIEWOPT_PLACEMENT_SPIN)
        StepDialogNumber(dialog, IDC_VIEWOPT_PLACEMENT, step->iDelta, kPlacementHighest);
}

} // namespace

INT_PTR OpenViewOptions(HWND owner)
{
    return DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(IDD_VIEW_OPTIONS), owner, ViewOptionsProc, 0);
}

INT_PTR ViewOptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        ViewOptions_OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return ViewOptions_OnCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY:
        ViewOptions_OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    default:
        return FALSE;
    }
}
