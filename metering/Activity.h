// The activity state behind the traffic icon (g_uiNetAct).
#pragma once

#include "platform/core/WinTypes.h"

enum : DWORD {
    ActivityIdle = 1,
    ActivitySending = 2,
    ActivityReceiving = 3,
    ActivityBoth = 4, // both counters moved, or one went backwards
    ActivityNoConnection = 5,
};

// The tracked adapter's counters as the interface table's lookups gave them: present is false
// when either lookup answered IndexNotFound.
struct AdapterOctets {
    bool present = false;
    ULONG64 sent = 0;
    ULONG64 received = 0;
};

// The last counters the comparison saw; the interface table keeps them (both 0 at start).
struct ActivityMemory {
    ULONG64 lastSent = 0;
    ULONG64 lastReceived = 0;
};

// Compares this tick's counters with the remembered ones and updates the memory the way the
// activity icon expects: a state that is not "both" remembers only the counter that moved.
DWORD CompareActivity(const AdapterOctets& octets, ActivityMemory& memory);

class InterfaceTable;
// The tick's form: the adapter's counters from the interface table's lookups, the memory in
// the table.
DWORD CompareActivity(InterfaceTable& table, DWORD adapterIndex);
