#include "options/DhcpDialog.h"

#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "netinfo/DhcpControl.h"
#include "resources/ResourceIds.h"

namespace {

// Resolved when the dialog opens and kept while it is open: the timers act on the adapter the
// dialog named, even if the tracking changes meanwhile.
DhcpAdapter g_dhcpAdapter;

void EnableLeaseButtons(HWND dialog, BOOL enable)
{
    EnableWindow(GetDlgItem(dialog, IDC_DHCP_RENEW), enable);
    EnableWindow(GetDlgItem(dialog, IDC_DHCP_RELEASE), enable);
}

void DhcpDialog_OnInitDialog(HWND dialog)
{
    CentreOnScreen(dialog, false, FALSE);
    PluginModule& module = *g_pModule;
    g_dhcpAdapter = ResolveDhcpAdapter(module.m_settings, module.m_interfaceTable, module.m_netStatusInfo);
    std::wstring name
        = DhcpAdapterDisplayName(g_dhcpAdapter, module.m_settings.AdapterNames(), module.m_interfaceTable, module.m_netStatusInfo);
    SetDlgItemTextW(dialog, IDC_DHCP_ADAPTER, name.c_str());
    DhcpState state = DhcpStateOf(g_dhcpAdapter, module.m_netStatusInfo);
    SetDlgItemTextW(dialog, IDC_DHCP_STATUS, state.text.c_str());
    if (!state.canChangeLease)
        EnableLeaseButtons(dialog, FALSE);
}

void DhcpDialog_OnStart(HWND dialog, UINT_PTR timer, const wchar_t* status)
{
    SetDlgItemTextW(dialog, IDC_DHCP_STATUS, status);
    SetTimer(dialog, timer, kDhcpActionDelayMs, nullptr);
    EnableLeaseButtons(dialog, FALSE);
}

// The platform call blocks for as long as the machine's DHCP client takes: the wait cursor
// shows meanwhile.
void DhcpDialog_OnTimer(HWND dialog, UINT_PTR timer)
{
    PluginModule& module = *g_pModule;
    LeaseAction action = timer == kDhcpRenewTimer ? LeaseAction::Renew : LeaseAction::Release;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    LeaseResult result = ChangeLease(action, g_dhcpAdapter, module.m_interfaceTable, module.m_netStatusInfo);
    SetCursor(previous);
    KillTimer(dialog, timer);
    SetDlgItemTextW(dialog, IDC_DHCP_STATUS, result.text.c_str());
    EnableLeaseButtons(dialog, TRUE);
}

void DhcpDialog_OnOk(HWND dialog)
{
    EndDialog(dialog, 1);
    InvalidateRect(g_pModule->m_item.hwndItem, nullptr, FALSE);
}

BOOL DhcpDialog_OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
        DhcpDialog_OnOk(dialog);
        return TRUE;
    case IDC_DHCP_RENEW:
        DhcpDialog_OnStart(dialog, kDhcpRenewTimer, L"Renewing lease...");
        return TRUE;
    case IDC_DHCP_RELEASE:
        DhcpDialog_OnStart(dialog, kDhcpReleaseTimer, L"Releasing address...");
        return TRUE;
    case IDC_DHCP_PING:
        OpenItemDialog(IDD_PING, dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR DhcpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        DhcpDialog_OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return DhcpDialog_OnCommand(dialog, LOWORD(wParam));
    case WM_TIMER:
        if (wParam == kDhcpRenewTimer || wParam == kDhcpReleaseTimer)
            DhcpDialog_OnTimer(dialog, wParam);
        return TRUE;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            CentreOnScreen(dialog, true, TRUE);
        return FALSE;
    default:
        return FALSE;
    }
}
