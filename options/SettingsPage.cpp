#include "options/SettingsPage.h"

#include <array>

#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "options/SettingsBackup.h"
#include "platform/text/Format.h"
#include "platform/ui/CommDlg.h"
#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kPathCapacity = 260;

// The save or open dialog for backup files; the chosen device path, or empty when cancelled.
std::wstring ChooseSettingsFile(HWND page, bool save)
{
    std::array<wchar_t, kPathCapacity> path {};
    std::wstring initial = L"vlmconf.vlm";
    initial.copy(path.data(), path.size() - 1);
    OPENFILENAMEW dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = page;
    dialog.lpstrFilter = L"Velmora Settings\0*.vlm\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrTitle = save ? L"Save Settings" : L"Restore Settings";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = L"vlm";
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? std::wstring(path.data()) : std::wstring();
}

void OnSaveSettings(HWND page)
{
    std::wstring path = ChooseSettingsFile(page, true);
    if (path.empty())
        return;
    std::wstring status = SaveSettingsFile(path) ? Fmt(L"Current settings saved to:\n %s.", path)
                                                 : Fmt(L"ERROR: Saving settings to %s was unsuccessful.", path);
    SetDlgItemTextW(page, IDC_SETTINGS_STATUS, status.c_str());
}

void OnRestoreSettings(HWND page)
{
    std::wstring path = ChooseSettingsFile(page, false);
    if (path.empty())
        return;
    int answer = MessageBoxW(page, L"Warning: This will overwrite any current settings you have created in Velmora. Continue?",
        L"Velmora", MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES && RestoreSettingsFile(path)) {
        g_pModule->m_settings.LoadSettings();
        ReloadOptionsPages(page);
        SetDlgItemTextW(page, IDC_SETTINGS_STATUS,
            L"Settings restored successfully. Soft reset your device immediately for the changes to take effect.");
        return;
    }
    SetDlgItemTextW(page, IDC_SETTINGS_STATUS, Fmt(L"ERROR: Restoring settings from %s was unsuccessful.", path).c_str());
}

} // namespace

INT_PTR SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SAVE_SETTINGS:
            OnSaveSettings(page);
            return TRUE;
        case IDC_RESTORE_SETTINGS:
            OnRestoreSettings(page);
            return TRUE;
        case IDOK:
            EndDialog(page, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
