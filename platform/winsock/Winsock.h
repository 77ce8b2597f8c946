// The platform's socket calls that the module uses: the dotted address text both ways and name
// resolution, with the platform's records and results. inet_ntoa and gethostbyname answer in
// storage of the calling thread that the next call of the same function on that thread reuses.
// Addresses in these records are in network byte order, as on the device.
#pragma once

#include "platform/core/WinTypes.h"

#ifndef INADDR_NONE
#define INADDR_NONE 0xFFFFFFFFu
#endif
#ifndef AF_INET
#define AF_INET 2
#endif

using USHORT = uint16_t;
using IPAddr = ULONG; // an IPv4 address in network byte order

struct in_addr {
    union {
        struct {
            UCHAR s_b1, s_b2, s_b3, s_b4;
        } S_un_b;
        struct {
            USHORT s_w1, s_w2;
        } S_un_w;
        ULONG S_addr;
    } S_un;
};
#define s_addr S_un.S_addr

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list; // ends with a null entry
};

// Name resolution results (WSAGetLastError after gethostbyname returns null).
enum : DWORD {
    WSAHOST_NOT_FOUND = 11001,
    WSATRY_AGAIN = 11002,
    WSANO_RECOVERY = 11003,
    WSANO_DATA = 11004,
};

// "a.b.c.d" and the short forms "a.b.c" (c 16 bits), "a.b" (b 24 bits) and "a" (32 bits), each
// part decimal, octal (0 first) or hexadecimal (0x first), read up to the first blank;
// INADDR_NONE for anything else, and for 255.255.255.255 itself.
ULONG inet_addr(const char* text);
char* inet_ntoa(in_addr address);
// Null with the reason as the last error (WSAGetLastError) when the name does not resolve.
hostent* gethostbyname(const char* name);
int WSAGetLastError();

// The TCP/IP driver's control entry. Protocol 6 (IPPROTO_TCP) action 2 is the echo service:
// the request and reply layouts are in platform/winsock/EchoRecords.h. 0 on success, else an
// error code (ERROR_INVALID_PARAMETER for a request that does not hold together,
// ERROR_INSUFFICIENT_BUFFER for a reply buffer below one record, ERROR_NOT_SUPPORTED for an
// action the driver does not offer).
DWORD WsControl(DWORD protocol, DWORD action, LPVOID request, LPDWORD requestSize, LPVOID response, LPDWORD responseSize);
