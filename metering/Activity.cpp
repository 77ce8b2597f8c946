#include "metering/Activity.h"

DWORD CompareActivity(const AdapterOctets& octets, ActivityMemory& memory)
{
    if (!octets.present)
        return ActivityNoConnection;
    const DWORD sent = octets.sent;
    const DWORD received = octets.received;
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
