#include "options/AboutPage.h"

#include "item/PluginModule.h"
#include "options/DebugReport.h"
#include "platform/shell/AygShell.h"
#include "platform/text/Format.h"
#include "resources/ModuleVersion.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kZoneSizeAt96Dpi = 30;

int ZoneExtent(int logPixels)
{
    return (logPixels * kZoneSizeAt96Dpi + 48) / 96;
}

void HideTapCount(HWND page)
{
    g_pModule->m_aboutTaps = 0;
    ShowWindow(GetDlgItem(page, IDC_ABOUT_TAPS), SW_HIDE);
}

void ShowTapCount(HWND page)
{
    HWND counter = GetDlgItem(page, IDC_ABOUT_TAPS);
    SetWindowTextW(counter, Fmt(L"%d", g_pModule->m_aboutTaps).c_str());
    SetWindowPos(counter, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(counter, SW_SHOW);
}

bool InTapZone(HWND page, POINT point)
{
    RECT frame {};
    GetClientRect(GetDlgItem(page, IDC_ABOUT_FRAME), &frame);
    RECT zone = AboutTapZone(frame, g_pModule->m_logPixelsX, g_pModule->m_logPixelsY);
    return PtInRect(&zone, point) != FALSE;
}

void AboutPage_OnInitDialog(HWND page)
{
    SetDlgItemTextW(page, IDC_ABOUT_VERSION, Fmt(L"%d.%d", velmora::kVersionMajor, velmora::kVersionMinor).c_str());
    SetDlgItemTextW(page, IDC_ABOUT_DATE, velmora::kBuildDate);
    SetDlgItemTextW(page, IDC_ABOUT_OWNER, OwnerName().c_str());
    HideTapCount(page);
}

void AboutPage_OnStylusUp(HWND page, POINT point)
{
    if (InTapZone(page, point)) {
        ++g_pModule->m_aboutTaps;
        ShowTapCount(page);
    } else {
        HideTapCount(page);
    }
    if (g_pModule->m_aboutTaps < kAboutTapsForReport)
        return;
    if (MessageBoxW(page, L"Would you like to create a debug file?", L"Velmora", MB_YESNO | MB_ICONQUESTION) == IDYES)
        WriteDebugReport(page);
    HideTapCount(page);
}

void AboutPage_OnOk(HWND page)
{
    SHSipPreference(page, SIP_DOWN);
    EndDialog(page, 1);
}

} // namespace

RECT AboutTapZone(const RECT& frameClient, int logPixelsX, int logPixelsY)
{
    int width = frameClient.right - frameClient.left;
    int height = frameClient.bottom - frameClient.top;
    return RECT { width - ZoneExtent(logPixelsX), height - ZoneExtent(logPixelsY), width, height };
}

INT_PTR AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        AboutPage_OnInitDialog(page);
        return TRUE;
    case WM_LBUTTONUP:
        AboutPage_OnStylusUp(page, POINT { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) });
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            AboutPage_OnOk(page);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
