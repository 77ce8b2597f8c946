// The ping dialog (template 508), opened from the DHCP dialog: four echo requests to an address
// or a host name, one result line each, the first 50 ms after the Ping press and the others a
// second after the previous result. The last eight targets are kept in the settings'
// history (PreviousPings) and offered in the target's combo box.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/WinUser.h"
#include "platform/winsock/IcmpApi.h"

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

// The reply buffer, aligned for the host's reply records.
struct PingReplyBuffer {
    std::array<uint64_t, kPingReplyBytes / sizeof(uint64_t)> words {};
    const ICMP_ECHO_REPLY& First() const { return *reinterpret_cast<const ICMP_ECHO_REPLY*>(words.data()); }
};
// Sends one request as above; what IcmpSendEcho returns, the records in the buffer.
DWORD SendPingRequest(HANDLE icmp, IPAddr destination, PingReplyBuffer& reply);

INT_PTR PingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
