// The texts of the ping dialog and of `velmora ping`: one result line per echo request, by its
// outcome, and the status caption before the first request.
#pragma once

#include <string>

#include "platform/winsock/IcmpApi.h"

// "Pinging 10.0.0.1:".
std::wstring PingCaption(IPAddr destination);

// Appends the line for one request's outcome: replyCount is what IcmpSendEcho returned and
// reply its first record (read only when replyCount is not 0). No reply at all reads
// "Request timed out.", whatever the reason.
void AppendPingResult(std::wstring& text, DWORD replyCount, const ICMP_ECHO_REPLY& reply);

// Why a target could not be pinged, as the dialog's message boxes say it; empty when the
// destination was found.
struct PingTarget {
    IPAddr destination = 0;
    std::wstring problem;
};
// The target as typed: a dotted address (its first 31 characters), else a name (its first 127)
// resolved through gethostbyname.
PingTarget ResolvePingTarget(const std::wstring& target);
