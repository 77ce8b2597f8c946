#include "platform/net/linux/LiveKernelSource.h"

#include <linux/rtnetlink.h>
#include <sys/socket.h>

namespace platform::linuxnet {

LiveKernelSource::LiveKernelSource()
{
    // Without notifications (a kernel or sandbox that refuses them) the records are read
    // again once a tick, as TakeChanges says.
    m_monitor.Open(RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE);
}

int LiveKernelSource::DumpLinks(std::vector<KernelLink>& out)
{
    if (int error = m_socket.Dump(RTM_GETLINK, AF_UNSPEC, m_replies); error != 0)
        return error;
    out = ParseLinkMessages(m_replies.data(), m_replies.size());
    return 0;
}

int LiveKernelSource::DumpAddresses(std::vector<KernelAddress>& out)
{
    if (int error = m_socket.Dump(RTM_GETADDR, AF_INET, m_replies); error != 0)
        return error;
    out = ParseAddressMessages(m_replies.data(), m_replies.size());
    return 0;
}

int LiveKernelSource::DumpRoutes(std::vector<KernelRoute>& out)
{
    if (int error = m_socket.Dump(RTM_GETROUTE, AF_INET, m_replies); error != 0)
        return error;
    out = ParseRouteMessages(m_replies.data(), m_replies.size());
    return 0;
}

int LiveKernelSource::ReadCounters(std::vector<LinkCounters>& out)
{
    return m_counters.Read(out);
}

KernelChanges LiveKernelSource::TakeChanges()
{
    if (!m_monitor.IsOpen())
        return KernelChanges::Unknown;
    return m_monitor.Drain() ? KernelChanges::Some : KernelChanges::None;
}

} // namespace platform::linuxnet
