#include "item/ItemDialogs.h"

#include "item/PluginModule.h"
#include "metering/RateMonitor.h"
#include "options/DhcpDialog.h"
#include "options/MeterReading.h"
#include "options/OptionsFrame.h"
#include "ping/PingDialog.h"
#include "platform/device/Device.h"
#include "resources/ResourceIds.h"

namespace {

struct ItemDialog {
    int templateId;
    DLGPROC proc;
};

// Each dialog's procedure comes with its template.
const ItemDialog kItemDialogs[] = {
    { IDD_METER_READING, MeterReadingProc },
    { IDD_DHCP, DhcpDialogProc },
    { IDD_OPTIONS, CustomItemOptionsDlgProc },
    { IDD_RATE_MONITOR, RateMonitorProc },

    { IDD_PING, PingDialogProc },
};

} // namespace

INT_PTR OpenItemDialog(int templateId, HWND owner)
{
    DLGPROC proc = nullptr;
    for (const ItemDialog& dialog : kItemDialogs)
        if (dialog.templateId == templateId)
            proc = dialog.proc;
    return DialogBoxParamW(g_pModule->m_hInstance, MAKEINTRESOURCEW(templateId), owner, proc, 0);
}

void CentreOnScreen(HWND dialog, bool horizontally, BOOL repaint)
{
    RECT window {};
    GetWindowRect(dialog, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int left = horizontally ? GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2 : window.left;
    int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    MoveWindow(dialog, left, top, width, height, repaint);
}
