#include "options/MeterPage.h"

#include "item/PluginModule.h"
#include "options/DialogChecks.h"
#include "options/DialogNumbers.h"
#include "platform/text/Format.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kThresholdLow = 1;
constexpr DWORD kThresholdHigh = 99;

// What only matters while the meter counts: greyed while it is off.
constexpr int kAlertControls[] = {
    IDC_METER_NOTIFY, IDC_METER_RESET_AFTER, IDC_METER_THRESHOLD, IDC_METER_UPLOAD, IDC_METER_DOWNLOAD,
    IDC_METER_TOTAL, IDC_METER_SPIN, IDC_METER_EVERY, IDC_METER_MB,
};

struct TypeButton {
    int id;
    DWORD type;
};
constexpr TypeButton kTypeButtons[] = {
    { IDC_METER_UPLOAD, kMeterNotifyUpload },
    { IDC_METER_DOWNLOAD, kMeterNotifyDownload },
    { IDC_METER_TOTAL, kMeterNotifyBoth },
};

void EnableAlertControls(HWND page, BOOL enable)
{
    for (int id : kAlertControls)
        EnableWindow(GetDlgItem(page, id), enable);
}

void WriteThreshold(HWND page, DWORD threshold)
{
    SetDlgItemTextW(page, IDC_METER_THRESHOLD, Fmt(L"%d", threshold).c_str());
}

void MeterPage_OnInitDialog(HWND page)
{
    const Settings& settings = g_pModule->m_settings;
    CheckDlgButton(page, settings.MeterEnabled != 0 ? IDC_METER_ON : IDC_METER_OFF, BST_CHECKED);
    Check(page, IDC_METER_NOTIFY, settings.MeterNotify);
    // A type the page does not know leaves all three clear; OK then keeps it.
    for (const TypeButton& button : kTypeButtons)
        if (settings.MeterNotifyType == button.type)
            CheckDlgButton(page, button.id, BST_CHECKED);
    Check(page, IDC_METER_RESET_AFTER, settings.MeterNotifyReset);
    WriteThreshold(page, settings.MeterNotifyThreshold);
    SendDlgItemMessageW(page, IDC_METER_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, IDC_METER_THRESHOLD)), 0);
    if (settings.MeterEnabled == 0)
        EnableAlertControls(page, FALSE);
}

void MeterPage_OnSwitch(HWND page)
{
    EnableAlertControls(page, Checked(page, IDC_METER_ON));
}

// The up-down has no range of its own that matters: the page writes the field itself.
void MeterPage_OnSpin(HWND page, const NMUPDOWN& step)
{
    DWORD value = ReadBoundedNumber(page, IDC_METER_THRESHOLD, 0, kThresholdHigh);
    WriteThreshold(page, StepBoundedNumber(value, step.iDelta, kThresholdHigh));
}

void MeterPage_OnOk(HWND page)
{
    Settings& settings = g_pModule->m_settings;
    settings.MeterEnabled = Checked(page, IDC_METER_ON);
    settings.MeterNotify = Checked(page, IDC_METER_NOTIFY);
    settings.MeterNotifyReset = Checked(page, IDC_METER_RESET_AFTER);
    for (const TypeButton& button : kTypeButtons)
        if (Checked(page, button.id))
            settings.MeterNotifyType = button.type;
    settings.MeterNotifyThreshold = ReadBoundedNumber(page, IDC_METER_THRESHOLD, kThresholdLow, kThresholdHigh);
    EndDialog(page, 1);
}

} // namespace

INT_PTR MeterPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        MeterPage_OnInitDialog(page);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_METER_ON:
        case IDC_METER_OFF:
            MeterPage_OnSwitch(page);
            return TRUE;
        case IDOK:
            MeterPage_OnOk(page);
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        auto header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == IDC_METER_SPIN && header->code == UDN_DELTAPOS)
            MeterPage_OnSpin(page, *reinterpret_cast<const NMUPDOWN*>(lParam));
        return FALSE; // the up-down goes on with its step
    }
    }
    return FALSE;
}
