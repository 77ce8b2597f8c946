#include "metering/RateMonitor.h"

#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "metering/RateGraph.h"
#include "platform/text/Format.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"

namespace {

// One monitor at a time: a second one asked for while it is open ends at once.
HWND g_rateMonitor = nullptr;
RateGraph g_rateGraph;
DWORD g_rateScale = kRateScaleFirst;
// Cleared by every building, set by the first tick after it: until then nothing is painted.
bool g_rateDrawn = false;

void ShowRates(HWND dialog, const RateAverage& rates)
{
    SetDlgItemTextW(dialog, IDC_RATE_TEXT, Fmt(L"UL: %s  DL: %s", rates.upText.c_str(), rates.downText.c_str()).c_str());
}

void Release(HWND dialog)
{
    KillTimer(dialog, kRateMonitorTimer);
    g_rateGraph.Release();
}

// The canvases at the current scale, and the first picture 20 ms on.
void Build(HWND dialog)
{
    const PluginModule& module = *g_pModule;
    CentreOnScreen(dialog, false);
    g_rateDrawn = false;
    ShowRates(dialog, module.m_rateHistory.AverageRecent(1));
    SetDlgItemTextW(dialog, IDC_RATE_TITLE, L"Data Rate Monitor");
    RECT client {};
    GetClientRect(dialog, &client);
    HDC screen = GetDC(dialog);
    g_rateGraph.Build(screen, client, module.m_logPixelsX, module.m_logPixelsY, g_rateScale, module.m_rateHistory);
    ReleaseDC(dialog, screen);
    SetTimer(dialog, kRateMonitorTimer, kRateMonitorFirstDrawMs, nullptr);
}

void RateMonitor_OnInitDialog(HWND dialog)
{
    if (g_rateMonitor != nullptr && IsWindow(g_rateMonitor)) {
        EndDialog(dialog, 0);
        return;
    }
    g_rateMonitor = dialog;
    // Each opening starts at the first scale; only the scale buttons' rebuilds keep theirs.
    g_rateScale = kRateScaleFirst;
    Build(dialog);
}

void RateMonitor_OnTimer(HWND dialog)
{
    const RateHistory& history = g_pModule->m_rateHistory;
    RateAverage recent = history.AverageRecent(5);
    ShowRates(dialog, recent);
    g_rateGraph.Tick(history, recent);
    if (!g_rateDrawn) {
        SetDlgItemTextW(dialog, IDC_RATE_TITLE, L"Data Rate Monitor");
        SetTimer(dialog, kRateMonitorTimer, kRateMonitorTickMs, nullptr);
    }
    g_rateDrawn = true;
    const RECT& graph = g_rateGraph.Layout().graph;
    InvalidateRect(dialog, &graph, FALSE);
    UpdateWindow(dialog);
}

void RateMonitor_OnPaint(HWND dialog)
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(dialog, &paint);
    if (g_rateDrawn)
        g_rateGraph.Paint(dc, g_pModule->m_rateHistory);
    EndPaint(dialog, &paint);
}

// A press at either end of the range changes nothing and builds nothing.
void RateMonitor_OnScale(HWND dialog, DWORD scale)
{
    if (scale == g_rateScale)
        return;
    g_rateScale = scale;
    Build(dialog);
}

void RateMonitor_OnOk(HWND dialog)
{
    Release(dialog);
    EndDialog(dialog, 1);
}

// Also when the dialog goes without OK (its owner destroyed, the loop ended for it).
void RateMonitor_OnDestroy(HWND dialog)
{
    if (dialog != g_rateMonitor)
        return;
    Release(dialog);
    g_rateMonitor = nullptr;
}

} // namespace

INT_PTR RateMonitorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        RateMonitor_OnInitDialog(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == kRateMonitorTimer)
            RateMonitor_OnTimer(dialog);
        return TRUE;
    case WM_PAINT:
        RateMonitor_OnPaint(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_RATE_LARGER:
            RateMonitor_OnScale(dialog, LargerRateScale(g_rateScale));
            return TRUE;
        case IDC_RATE_SMALLER:
            RateMonitor_OnScale(dialog, SmallerRateScale(g_rateScale));
            return TRUE;
        case IDOK:
            RateMonitor_OnOk(dialog);
            return TRUE;
        }
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SETTINGCHANGE_RESET)
            CentreOnScreen(dialog, true);
        return FALSE;
    case WM_DESTROY:
        RateMonitor_OnDestroy(dialog);
        return FALSE;
    }
    return FALSE;
}
