#include "metering/Activity.h"

#include "netinfo/DialUpNames.h" // IndexNotFound
#include "netinfo/InterfaceTable.h"

DWORD CompareActivity(const AdapterOctets& octets, ActivityMemory& memory)
{
    if (!octets.present)
        return ActivityNoConnection;
    const ULONG64 sent = octets.sent;
    const ULONG64 received = octets.received;
    if (sent == memory.lastSent && received == memory.lastReceived)
        return ActivityIdle;
    if (sent == memory.lastSent && received > memory.lastReceived) {
        memory.lastReceived = received;
        return ActivityReceiving;
    }
    if (sent <= memory.lastSent || received != memory.lastReceived) {
        memory.lastSent = sent;
        memory.lastReceived = received;
        return ActivityBoth;
    }
    memory.lastSent = sent;
    return ActivitySending;
}

DWORD CompareActivity(InterfaceTable& table, DWORD adapterIndex)
{
    AdapterOctets octets;
    octets.present = table.GetOutOctets(adapterIndex, octets.sent) != IndexNotFound
        && table.GetInOctets(adapterIndex, octets.received) != IndexNotFound;
    ActivityMemory memory { table.m_lastSentOctets, table.m_lastReceivedOctets };
    DWORD state = CompareActivity(octets, memory);
    table.m_lastSentOctets = memory.lastSent;
    table.m_lastReceivedOctets = memory.lastReceived;
    return state;
}
