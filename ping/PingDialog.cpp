#include "ping/PingDialog.h"

#include <array>

#include "item/ItemDialogs.h"
#include "item/ItemFont.h"
#include "item/PluginModule.h"
#include "ping/PingResult.h"
#include "platform/ui/WinGdi.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kTargetChars = 256;
// Shorter history entries are kept but not offered: a single character is no target.
constexpr size_t kMinOfferedChars = 2;
// The history's separator in the stored setting.
constexpr wchar_t kHistorySeparator = L'*';

// One dialog at a time, as on the device.
struct PingState {
    HANDLE icmp = INVALID_HANDLE_VALUE;
    IPAddr destination = 0;
    int sent = 0;
    std::wstring result;
    HFONT resultFont = nullptr;
};
PingState g_ping;

void ShowResult(HWND dialog)
{
    SetDlgItemTextW(dialog, IDC_PING_RESULT, g_ping.result.c_str());
}

void PingDialog_OnExit(HWND dialog)
{
    if (g_ping.icmp != INVALID_HANDLE_VALUE)
        IcmpCloseHandle(g_ping.icmp);
    g_ping.icmp = INVALID_HANDLE_VALUE;
    if (g_ping.resultFont != nullptr)
        DeleteObject(g_ping.resultFont);
    g_ping.resultFont = nullptr;
    // The history is saved whether or not this visit added to it.
    g_pModule->m_settings.SaveSettings();
    EndDialog(dialog, 1);
}

void PingDialog_OnInitDialog(HWND dialog)
{
    CentreOnScreen(dialog, false);
    g_ping.icmp = IcmpCreateFile();
    if (g_ping.icmp == INVALID_HANDLE_VALUE) {
        MessageBoxW(dialog, L"Error creating ICMP handle. Ping functions are unavailable.", L"Velmora", MB_ICONEXCLAMATION);
        PingDialog_OnExit(dialog);
        return;
    }
    g_ping.sent = 0;

    HDC screen = GetDC(nullptr);
    int logPixelsY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    g_ping.resultFont = CreateSmallFont(logPixelsY);
    SendDlgItemMessageW(dialog, IDC_PING_RESULT, WM_SETFONT, reinterpret_cast<WPARAM>(g_ping.resultFont), 0);

    const Settings& settings = g_pModule->m_settings;
    for (size_t slot = 0; slot < kPreviousPingSlots; ++slot) {
        const std::wstring& target = settings.PreviousPing(slot);
        if (target.size() >= kMinOfferedChars)
            SendDlgItemMessageW(dialog, IDC_PING_TARGET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(target.c_str()));
    }
    g_ping.result.clear();
    ShowResult(dialog);
}

void PingDialog_OnPing(HWND dialog)
{
    std::array<wchar_t, kTargetChars + 1> text {};
    GetDlgItemTextW(dialog, IDC_PING_TARGET, text.data(), kTargetChars);
    std::wstring target = text.data();
    if (target.empty())
        return;
    PingTarget resolved = ResolvePingTarget(target);
    if (!resolved.problem.empty()) {
        MessageBoxW(dialog, resolved.problem.c_str(), L"Velmora", MB_ICONEXCLAMATION);
        return;
    }
    g_ping.destination = resolved.destination;

    EnableWindow(GetDlgItem(dialog, IDC_PING_START), FALSE);
    g_ping.sent = 0;
    // A target holding the history's separator would split into two entries when read back.
    if (target.find(kHistorySeparator) == std::wstring::npos && g_pModule->m_settings.AddPreviousPing(target) == 0)
        SendDlgItemMessageW(dialog, IDC_PING_TARGET, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(target.c_str()));
    g_ping.result.clear();
    SetTimer(dialog, kPingFirstTimer, kPingFirstDelayMs, nullptr);
}

void PingDialog_OnTimer(HWND dialog, UINT_PTR timer)
{
    KillTimer(dialog, timer);
    if (g_ping.sent == 0)
        SetDlgItemTextW(dialog, IDC_PING_STATUS, PingCaption(g_ping.destination).c_str());

    PingReplyBuffer reply;
    DWORD count = SendPingRequest(g_ping.icmp, g_ping.destination, reply);
    AppendPingResult(g_ping.result, count, reply.First());
    ShowResult(dialog);

    if (++g_ping.sent < kPingRequests)
        SetTimer(dialog, kPingNextTimer, kPingIntervalMs, nullptr);
    else
        EnableWindow(GetDlgItem(dialog, IDC_PING_START), TRUE);
}

} // namespace

DWORD SendPingRequest(HANDLE icmp, IPAddr destination, PingReplyBuffer& reply)
{
    std::array<BYTE, kPingDataBytes> data {};
    IP_OPTION_INFORMATION options {};
    options.Ttl = kPingTtl;
    options.Flags = IP_FLAG_DF;
    return IcmpSendEcho(icmp, destination, data.data(), kPingDataBytes, &options, reply.words.data(), kPingReplyBytes,
        kPingTimeoutMs);
}

INT_PTR PingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        PingDialog_OnInitDialog(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == kPingFirstTimer || wParam == kPingNextTimer)
            PingDialog_OnTimer(dialog, wParam);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PING_START:
            PingDialog_OnPing(dialog);
            return TRUE;
        case IDOK:
            PingDialog_OnExit(dialog);
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
