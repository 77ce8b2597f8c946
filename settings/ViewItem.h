// One status line of the Today item: its identity, visibility and place in the display order.
#pragma once

#include "platform/core/WinTypes.h"

enum ViewItemId : DWORD {
    ViewAdapterName = 101,
    ViewIpAddress = 102,
    ViewSubnetMask = 103,
    ViewDefaultGateway = 104,
    ViewDhcpStatus = 105,
    ViewMeterReading = 107,
    ViewDnsServer = 108,
    ViewWinsServer = 109,
    ViewTimeConnected = 110,
    ViewDataRate = 111,
    EndOfItems = 199,
};

constexpr DWORD kViewItemCount = 10;

struct ViewItem {
    DWORD id = EndOfItems;
    const wchar_t* name = nullptr; // from the id; null for an id outside the table
    DWORD nameLength = 1;          // carried through load and save unchanged
    DWORD visible = 0;             // 0 or 1
    DWORD position = 0;            // place in the display order, 0 to 9
    DWORD reserved = 0;            // carried through load and save unchanged
};

// The display name of a line, or null for an id that names no line.
const wchar_t* ViewItemName(DWORD id);
