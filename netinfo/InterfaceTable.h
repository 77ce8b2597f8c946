// The interface table snapshot: one row per network interface with its name, counters and
// hardware address, refreshed by the tick and searched by adapter index or name.
#pragma once

#include <string>
#include <string_view>

#include "netinfo/NetText.h"
#include "platform/net/IpHelper.h"

class InterfaceTable {
public:
    // Takes the first snapshot at once; a failure leaves an empty holder.
    InterfaceTable();
    ~InterfaceTable();
    InterfaceTable(const InterfaceTable&) = delete;
    InterfaceTable& operator=(const InterfaceTable&) = delete;

    // 0 on success, 1 on failure.
    DWORD Refresh();
    // Asks the platform afresh, stores and returns the count.
    DWORD InterfaceCount();

    DWORD LookupInterfaceIndexByName(std::wstring_view name) const;
    std::wstring InterfaceNameOf(DWORD index) const;
    // 0 and the 64-bit counter, or IndexNotFound with the counter untouched.
    DWORD GetOutOctets(DWORD index, ULONG64& octets) const;
    DWORD GetInOctets(DWORD index, ULONG64& octets) const;
    // 0 and the machine's own index of the interface (which the usage logs keep beside its
    // counters), or IndexNotFound with it untouched.
    DWORD GetMachineIndex(DWORD index, int& machineIndex) const;
    // 0 and "00-0A-1B-2C-3D-4E", or IndexNotFound and "GetPhysicalAddress: InvalidIndex".
    DWORD GetPhysicalAddress(DWORD index, std::wstring& text) const;

    // The rows as the last refresh left them (for the diagnostic report).
    DWORD RowCount() const;
    const MIB_IF_ROW2& Row(DWORD i) const;

    // Kept here for the activity comparison of the traffic meter.
    ULONG64 m_lastSentOctets = 0;
    ULONG64 m_lastReceivedOctets = 0;

private:
    const MIB_IF_ROW2* FindRow(DWORD index) const;

    // The platform's allocation, freed with FreeMibTable.
    MIB_IF_TABLE2* m_pTable = nullptr;
    DWORD m_dwInterfaceCount = 0;
};
