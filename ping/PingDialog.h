// The ping dialog (template 508), opened from the DHCP dialog: four echo requests to an address
// or a host name, one result line each, the first 50 ms after the Ping press and the others a
// second after the previous result. The last eight targets are kept in the settings'
// history (PreviousPings) and offered in the target's combo box.
#pragma once

#include "platform/ui/WinUser.h"

// The first request's timer, and the timer between requests.
constexpr UINT_PTR kPingFirstTimer = 17;
constexpr UINT_PTR kPingNextTimer = 18;
constexpr UINT kPingFirstDelayMs = 50;
constexpr UINT kPingIntervalMs = 1000;
constexpr int kPingRequests = 4;

// Each request as the device sends it: 32 bytes of zeros, TTL 32, type of service 0, don't
// fragment, a 1024-byte reply buffer, at most two seconds' wait (in which the screen stands
// still, as on the device).
constexpr WORD kPingDataBytes = 32;
constexpr UCHAR kPingTtl = 32;
constexpr DWORD kPingReplyBytes = 1024;
constexpr DWORD kPingTimeoutMs = 2000;

INT_PTR PingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
