#include "options/MeterReading.h"

#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "resources/ResourceIds.h"

namespace {

void ShowReading(HWND dialog)
{
    const Meter& meter = g_pModule->m_meter;
    SetDlgItemTextW(dialog, IDC_METER_SENT, meter.FormatUpload().c_str());
    SetDlgItemTextW(dialog, IDC_METER_RECEIVED, meter.FormatDownload().c_str());
    SetDlgItemTextW(dialog, IDC_METER_COMBINED, meter.FormatTotal().c_str());
    SetDlgItemTextW(dialog, IDC_METER_RESET_TIME, meter.FormatResetTime().c_str());
}

void MeterReading_OnInitDialog(HWND dialog)
{
    CentreOnScreen(dialog, false);
    ShowReading(dialog);
    SetTimer(dialog, kMeterReadingTimer, kMeterReadingRefreshMs, nullptr);
}

// The counts start again from now; the dialog shows them as it did when it opened.
void MeterReading_OnReset(HWND dialog)
{
    g_pModule->m_meter.Reset();
    KillTimer(dialog, kMeterReadingTimer);
    MeterReading_OnInitDialog(dialog);
}

void MeterReading_OnOk(HWND dialog)
{
    KillTimer(dialog, kMeterReadingTimer);
    EndDialog(dialog, 1);
    InvalidateRect(g_pModule->m_item.hwndItem, nullptr, FALSE);
}

} // namespace

INT_PTR MeterReadingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        MeterReading_OnInitDialog(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == kMeterReadingTimer)
            ShowReading(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_METER_RESET:
            MeterReading_OnReset(dialog);
            return TRUE;
        case IDOK:
            MeterReading_OnOk(dialog);
            return TRUE;
        }
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            CentreOnScreen(dialog, true);
        return FALSE;
    }
    return FALSE;
}
