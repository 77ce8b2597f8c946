// The machine's kernel, in the namespace of the thread that made the source: dumps on one
// routing socket, change notifications on another, counters from /proc/net/dev.
#pragma once

#include "platform/net/linux/KernelSource.h"
#include "platform/net/linux/NetlinkMonitor.h"

namespace platform::linuxnet {

class LiveKernelSource final : public KernelSource {
public:
    // Subscribes to the notifications at once: every later dump is covered by them.
    LiveKernelSource();

    int DumpLinks(std::vector<KernelLink>& out) override;
    int DumpAddresses(std::vector<KernelAddress>& out) override;
    int DumpRoutes(std::vector<KernelRoute>& out) override;
    int ReadCounters(std::vector<LinkCounters>& out) override;
    KernelChanges TakeChanges() override;
    int WaitHandle() const override { return m_monitor.Handle(); }

private:
    NetlinkSocket m_socket;
    NetlinkMonitor m_monitor;
    ProcNetDev m_counters;
    std::vector<uint8_t> m_replies;
};

} // namespace platform::linuxnet
