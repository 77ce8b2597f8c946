// The platform's remote access service: the open dial-up connections.
#pragma once

#include "platform/core/WinTypes.h"

#define RAS_MaxEntryName 20

struct HRASCONN__;
using HRASCONN = HRASCONN__*;

// On the device (2-byte characters, 32-bit handles) this record is 52 bytes; callers pass
// sizeof(RASCONN) in dwSize of the first record.
struct RASCONN {
    DWORD dwSize;
    HRASCONN hrasconn;
    WCHAR szEntryName[RAS_MaxEntryName + 1];
};
using LPRASCONN = RASCONN*;

// lpcb: the buffer's size in bytes, in and out; lpcConnections: how many records were written.
// ERROR_BUFFER_TOO_SMALL with the size needed when they do not fit; ERROR_INVALID_SIZE when the
// first record's dwSize is not sizeof(RASCONN).
DWORD RasEnumConnections(LPRASCONN lprasconn, LPDWORD lpcb, LPDWORD lpcConnections);

enum : DWORD {
    ERROR_BUFFER_TOO_SMALL = 603,
};
