#include "options/AdapterPage.h"

#include "item/PluginModule.h"
#include "netinfo/NetText.h"
#include "options/ControlPanel.h"
#include "platform/text/WideString.h"
#include "resources/ResourceIds.h"

namespace {

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_ADAPTER_LIST);
}

// The adapter's index by its key name, the interface table first; IndexNotFound when absent.
DWORD IndexOfKeyName(const std::wstring& keyName)
{
    DWORD index = g_pModule->m_interfaceTable.LookupInterfaceIndexByName(keyName);
    if (index == IndexNotFound)
        index = g_pModule->m_netStatusInfo.LookupAdapterIndexByName(keyName);
    return index;
}

void ShowHardwareAddress(HWND page, const std::wstring& keyName)
{
    std::wstring text;
    if (g_pModule->m_interfaceTable.GetPhysicalAddress(IndexOfKeyName(keyName), text) == IndexNotFound)
        text.clear();
    SetDlgItemTextW(page, IDC_ADAPTER_MAC, text.c_str());
}

// The selected item's data: a position in the friendly-name list, kAutomaticInterface, or
// CB_ERR when nothing is selected.
LRESULT SelectedData(HWND page)
{
    auto selected = SendMessageW(List(page), CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return CB_ERR;
    return SendMessageW(List(page), CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
}

// The list entry behind an item's data; null for the automatic item or nothing selected.
const AdapterNameEntry* EntryOf(LRESULT data)
{
    const AdapterNameList& names = g_pModule->m_settings.AdapterNames();
    if (data < 0 || static_cast<size_t>(data) >= names.size())
        return nullptr;
    return &names[static_cast<size_t>(data)];
}

void AdapterPage_OnInitDialog(HWND page)
{
    const Settings& settings = g_pModule->m_settings;
    HWND list = List(page);
    std::wstring chosenKey;
    WPARAM position = 0;
    for (const AdapterNameEntry& entry : settings.AdapterNames()) {
        SendMessageW(list, CB_INSERTSTRING, position, reinterpret_cast<LPARAM>(entry.displayName.c_str()));
        SendMessageW(list, CB_SETITEMDATA, position, static_cast<LPARAM>(position));
        if (entry.keyName == settings.InterfaceString) {
            SendMessageW(list, CB_SETCURSEL, position, 0);
            chosenKey = entry.keyName;
        }
        ++position;
    }
    const wchar_t* automatic = g_pModule->m_phone.PhoneEditionEnabled() != 0 ? L"Auto-Config: Phone Edition"
                                                                              : L"Auto-Configure Adapter";
    SendMessageW(list, CB_INSERTSTRING, position, reinterpret_cast<LPARAM>(automatic));
    SendMessageW(list, CB_SETITEMDATA, position, kAutomaticInterface);
    if (settings.InterfaceIndex == kAutomaticInterface)
        SendMessageW(list, CB_SETCURSEL, position, 0);

    if (SelectedData(page) == kAutomaticInterface)
        SetDlgItemTextW(page, IDC_ADAPTER_MAC, L"");
    else
        ShowHardwareAddress(page, chosenKey);
}

void AdapterPage_OnSelectionChange(HWND page)
{
    LRESULT data = SelectedData(page);
    HWND settingsButton = GetDlgItem(page, IDC_ADAPTER_SETTINGS);
    if (data == kAutomaticInterface) {
        SetDlgItemTextW(page, IDC_ADAPTER_MAC, L"");
        EnableWindow(settingsButton, FALSE);
        return;
    }
    const AdapterNameEntry* entry = EntryOf(data);
    if (entry == nullptr)
        return;
    ShowHardwareAddress(page, entry->keyName);
    // The cable link's adapter has no settings of its own in the Control Panel.
    BOOL cable = EqualsNoCase(entry->keyName, g_pModule->m_settings.UsbCableAdapterName()) ? TRUE : FALSE;
    EnableWindow(settingsButton, cable ? FALSE : TRUE);
}

// Nothing selected leaves the tracked adapter as it was.
void AdapterPage_OnCommit(HWND page, int command)
{
    Settings& settings = g_pModule->m_settings;
    LRESULT data = SelectedData(page);
    if (data == kAutomaticInterface) {
        settings.InterfaceIndex = kAutomaticInterface;
        settings.InterfaceString.clear();
    } else if (const AdapterNameEntry* entry = EntryOf(data); entry != nullptr) {
        settings.InterfaceString = entry->keyName.substr(0, MAX_ADAPTER_NAME - 1);
        settings.InterfaceIndex = entry->sequence;
    }
    EndDialog(page, command);
}

} // namespace

INT_PTR AdapterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        AdapterPage_OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ADAPTER_LIST:
            if (HIWORD(wParam) == CBN_SELCHANGE || HIWORD(wParam) == CBN_EDITCHANGE)
                AdapterPage_OnSelectionChange(page);
            return TRUE;
        case IDC_ADAPTER_SETTINGS:
            OpenControlPanel(kAdapterSettingsApplet);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            AdapterPage_OnCommit(page, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}
