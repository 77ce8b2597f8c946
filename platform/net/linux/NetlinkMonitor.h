// The kernel's change notifications for links, IPv4 addresses and IPv4 routes, on a
// non-blocking routing socket of its own. The backend keeps what it read of these until a
// notification comes; the socket's descriptor can be waited on by an event loop.
#pragma once

#include <cstdint>

namespace platform::linuxnet {

class NetlinkMonitor {
public:
    NetlinkMonitor() = default;
    ~NetlinkMonitor();
    NetlinkMonitor(const NetlinkMonitor&) = delete;
    NetlinkMonitor& operator=(const NetlinkMonitor&) = delete;

    // Subscribes to the groups (RTMGRP_*). 0 or an errno value. Open before the first dump, so
    // that a change between the dump and the subscription is not missed.
    int Open(uint32_t groups);
    bool IsOpen() const { return m_fd >= 0; }

    // Reads every queued notification. True when there was one, or when the kernel dropped
    // some because the queue was full: either way the records read before may be out of date.
    bool Drain();

    // Readable while a notification waits; -1 when not open.
    int Handle() const { return m_fd; }

private:
    int m_fd = -1;
};

} // namespace platform::linuxnet
