// The platform's ICMP echo calls over the TCP/IP driver's echo service (WsControl protocol 6,
// action 2). The driver writes 28-byte records holding offsets; IcmpSendEcho hands the caller
// the host's own records, whose Data and OptionsData are pointers into the reply buffer, so the
// buffer must hold sizeof(ICMP_ECHO_REPLY) and the data for each reply.
#pragma once

#include "platform/winsock/SocketBackend.h"
#include "platform/winsock/Winsock.h"

using PUCHAR = UCHAR*;

// The statuses of a reply record, under the platform's own names.
using platform::IP_SUCCESS;
using platform::IP_BUF_TOO_SMALL;
using platform::IP_DEST_NET_UNREACHABLE;
using platform::IP_DEST_HOST_UNREACHABLE;
using platform::IP_DEST_PROT_UNREACHABLE;
using platform::IP_DEST_PORT_UNREACHABLE;
using platform::IP_NO_RESOURCES;
using platform::IP_BAD_OPTION;
using platform::IP_HW_ERROR;
using platform::IP_PACKET_TOO_BIG;
using platform::IP_REQ_TIMED_OUT;
using platform::IP_BAD_REQ;
using platform::IP_BAD_ROUTE;
using platform::IP_TTL_EXPIRED_TRANSIT;
using platform::IP_TTL_EXPIRED_REASSEM;
using platform::IP_PARAM_PROBLEM;
using platform::IP_SOURCE_QUENCH;
using platform::IP_OPTION_TOO_BIG;
using platform::IP_BAD_DESTINATION;
using platform::IP_GENERAL_FAILURE;

// IP_OPTION_INFORMATION::Flags: the request may not be fragmented.
constexpr UCHAR IP_FLAG_DF = platform::kIpFlagDontFragment;

struct IP_OPTION_INFORMATION {
    UCHAR Ttl;
    UCHAR Tos;
    UCHAR Flags;
    UCHAR OptionsSize;
    PUCHAR OptionsData;
};
using PIP_OPTION_INFORMATION = IP_OPTION_INFORMATION*;

struct ICMP_ECHO_REPLY {
    IPAddr Address;
    ULONG Status;
    ULONG RoundTripTime;
    USHORT DataSize;
    USHORT Reserved;
    PVOID Data;
    IP_OPTION_INFORMATION Options;
};
using PICMP_ECHO_REPLY = ICMP_ECHO_REPLY*;

// INVALID_HANDLE_VALUE when echo requests cannot be sent on this machine (neither an ICMP
// datagram socket nor a raw socket is allowed); the last error says why.
HANDLE IcmpCreateFile();
BOOL IcmpCloseHandle(HANDLE icmp);
// The number of replies in the buffer, or 0 with the reason as the last error: a status
// (IP_REQ_TIMED_OUT when nothing answered in time), ERROR_INSUFFICIENT_BUFFER for a reply
// buffer below the driver's 28-byte record, ERROR_INVALID_HANDLE, or the driver's error.
DWORD IcmpSendEcho(HANDLE icmp, IPAddr destination, LPVOID requestData, WORD requestSize,
    PIP_OPTION_INFORMATION options, LPVOID replyBuffer, DWORD replySize, DWORD timeoutMs);
