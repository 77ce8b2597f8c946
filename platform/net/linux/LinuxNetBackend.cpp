#include "platform/net/linux/LinuxNetBackend.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include "platform/net/AdapterNaming.h"
#include "platform/net/IpHelper.h"
#include "platform/net/linux/DhcpClientControl.h"
#include "platform/net/linux/InterfaceOrder.h"
#include "platform/net/linux/LiveKernelSource.h"
#include "platform/time/Clock.h"

namespace platform {

namespace {

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOMEM:
    case ENOBUFS:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EAFNOSUPPORT:
    case EPROTONOSUPPORT:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

DWORD TypeOf(const linuxnet::KernelLink& link, bool wireless)
{
    switch (link.type) {
    case ARPHRD_LOOPBACK:
        return MIB_IF_TYPE_LOOPBACK;
    case ARPHRD_PPP:
        return MIB_IF_TYPE_PPP;
    case ARPHRD_SLIP:
    case ARPHRD_CSLIP:
        return MIB_IF_TYPE_SLIP;
    case ARPHRD_IEEE80211:
    case ARPHRD_IEEE80211_PRISM:
    case ARPHRD_IEEE80211_RADIOTAP:
        return IF_TYPE_IEEE80211;
    case ARPHRD_ETHER:
        return wireless ? IF_TYPE_IEEE80211 : MIB_IF_TYPE_ETHERNET;
    default:
        return MIB_IF_TYPE_OTHER;
    }
}

DWORD OperStatusOf(const linuxnet::KernelLink& link)
{
    if ((link.flags & IFF_UP) == 0)
        return MIB_IF_OPER_STATUS_NON_OPERATIONAL;
    switch (link.operState) {
    case IF_OPER_UP:
        return MIB_IF_OPER_STATUS_OPERATIONAL;
    case IF_OPER_DORMANT:
        return MIB_IF_OPER_STATUS_CONNECTING;
    case IF_OPER_UNKNOWN:
        // Drivers that keep no state (loopback, tunnels) are up when running.
        return (link.flags & IFF_RUNNING) != 0 ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_DISCONNECTED;
    default:
        return MIB_IF_OPER_STATUS_DISCONNECTED;
    }
}

void PutCounters(const linuxnet::KernelLink& link, NetInterface& entry)
{
    if (!link.haveStats)
        return;
    const linuxnet::LinkStats& stats = link.stats;
    entry.inOctets = stats.rxBytes;
    entry.outOctets = stats.txBytes;
    entry.inNUcastPkts = stats.multicast;
    entry.inUcastPkts = stats.rxPackets >= stats.multicast ? stats.rxPackets - stats.multicast : stats.rxPackets;
    entry.outUcastPkts = stats.txPackets;
    entry.inDiscards = stats.rxDropped;
    entry.outDiscards = stats.txDropped;
    entry.inErrors = stats.rxErrors;
    entry.outErrors = stats.txErrors;
}

} // namespace

LinuxNetBackend::LinuxNetBackend()
    : LinuxNetBackend(Sources {})
{
}

LinuxNetBackend::LinuxNetBackend(Sources sources)
    : LinuxNetBackend(std::move(sources), std::make_unique<linuxnet::LiveKernelSource>())
{
}

LinuxNetBackend::LinuxNetBackend(Sources sources, std::unique_ptr<linuxnet::KernelSource> kernel)
    : m_kernel(std::move(kernel))
    , m_sysfs(sources.sysfs)
    , m_resolver(sources.resolvConf, sources.resolvedUpstream)
    , m_leases(sources.leases)
    , m_bootIdPath(std::move(sources.bootId))
{
}

int LinuxNetBackend::WaitHandle() const
{
    return m_kernel->WaitHandle();
}

bool LinuxNetBackend::SetWatched(bool watched)
{
    std::lock_guard lock(m_mutex);
    if (watched && m_kernel->WaitHandle() < 0)
        return false;
    m_watched = watched;
    return true;
}

void LinuxNetBackend::NoteChangesPending()
{
    std::lock_guard lock(m_mutex);
    TakeChanges(CurrentClock().MonotonicMs());
}

std::string LinuxNetBackend::BootId()
{
    std::lock_guard lock(m_mutex);
    if (!m_bootId) {
        std::ifstream file(m_bootIdPath);
        std::string line;
        std::getline(file, line);
        // A kernel without the file (or a process that may not read it) has no boot id: the
        // counters are then never carried from one run to the next.
        m_bootId = file ? line : std::string();
    }
    return *m_bootId;
}

const linuxnet::SysfsLinkInfo& LinuxNetBackend::LinkInfo(const linuxnet::KernelLink& link)
{
    // Speed and model only change with the carrier: read /sys again only then.
    CachedLinkInfo& cached = m_linkInfo[link.index];
    if (cached.name != link.name || cached.carrierChanges != link.carrierChanges || cached.operState != link.operState
        || cached.name.empty()) {
        cached.name = link.name;
        cached.carrierChanges = link.carrierChanges;
        cached.operState = link.operState;
        cached.info = m_sysfs.Read(link.name);
    }
    return cached.info;
}

NetSnapshot LinuxNetBackend::Compose(const std::vector<linuxnet::KernelLink>& links,
    const std::vector<linuxnet::KernelAddress>& addresses, const std::vector<linuxnet::KernelRoute>& routes, unsigned parts)
{
    return ComposeWith(links, addresses, routes, parts, RefreshOutsideKernel(parts));
}

const std::vector<uint32_t>* LinuxNetBackend::RefreshOutsideKernel(unsigned parts)
{
    if ((parts & kNetAddresses) != 0)
        m_leases.Refresh();
    return (parts & kNetResolvers) != 0 ? &m_resolver.Servers() : nullptr;
}

NetSnapshot LinuxNetBackend::ComposeWith(const std::vector<linuxnet::KernelLink>& links,
    const std::vector<linuxnet::KernelAddress>& addresses, const std::vector<linuxnet::KernelRoute>& routes, unsigned parts,
    const std::vector<uint32_t>* servers)
{
    std::vector<const linuxnet::KernelLink*> ordered;
    for (const linuxnet::KernelLink& link : links)
        ordered.push_back(&link);
    std::stable_sort(ordered.begin(), ordered.end(),
        [](const linuxnet::KernelLink* a, const linuxnet::KernelLink* b) { return a->index < b->index; });

    // Forget /sys answers of links that are gone.
    for (auto it = m_linkInfo.begin(); it != m_linkInfo.end();) {
        bool present = std::any_of(ordered.begin(), ordered.end(), [&it](const linuxnet::KernelLink* link) { return link->index == it->first; });
        it = present ? std::next(it) : m_linkInfo.erase(it);
    }

    std::vector<linuxnet::LinkOrderInput> orderInput;
    for (const linuxnet::KernelLink* link : ordered)
        orderInput.push_back({ link->index, link->type == ARPHRD_LOOPBACK, LinkInfo(*link).physical });
    std::vector<DWORD> indexes = linuxnet::AssignDeviceIndexes(orderInput, linuxnet::DefaultRouteLink(routes));

    NetSnapshot snapshot;
    bool haveDialUp = false;
    std::map<int, DWORD> deviceIndexOf;
    for (size_t position = 0; position < ordered.size(); ++position) {
        const linuxnet::KernelLink* link = ordered[position];
        NetInterface entry;
        entry.kernelIndex = link->index;
        entry.systemName = link->name;
        entry.index = indexes[position];
        bool loopback = entry.index == 1;
        entry.isLoopback = loopback;
        const linuxnet::SysfsLinkInfo& info = LinkInfo(*link);
        entry.type = TypeOf(*link, info.wireless);
        entry.isPointToPoint = link->type == ARPHRD_PPP;
        if (entry.isPointToPoint && !haveDialUp) {
            entry.name = kDialUpAdapterName;
            haveDialUp = true;
        } else {
            entry.name = LinuxAdapterName(link->name);
        }
        entry.description = info.model.empty() ? link->name : info.model;
        entry.driver = !info.driver.empty() ? info.driver : link->kind;
        entry.mtu = link->mtu;
        if (info.speedMbps > 0)
            entry.speedBps = static_cast<uint64_t>(info.speedMbps) * 1'000'000u;
        if (!loopback && link->type != ARPHRD_PPP && link->type != ARPHRD_NONE)
            entry.physAddr = link->hardwareAddress;
        entry.adminStatus = (link->flags & IFF_UP) != 0 ? MIB_IF_ADMIN_STATUS_UP : MIB_IF_ADMIN_STATUS_DOWN;
        entry.operStatus = OperStatusOf(*link);
        entry.isUp = entry.operStatus == MIB_IF_OPER_STATUS_OPERATIONAL;
        PutCounters(*link, entry);
        // Primary addresses first, each group in the kernel's order.
        for (int pass = 0; pass < 2; ++pass)
            for (const linuxnet::KernelAddress& address : addresses)
                if (address.index == link->index && address.secondary == (pass == 1))
                    entry.addresses.push_back(NetAddress { address.address, PrefixToMask(address.prefixLength) });
        if ((parts & kNetAddresses) != 0 && !loopback) {
            std::vector<uint32_t> own;
            for (const NetAddress& address : entry.addresses)
                own.push_back(address.address);
            if (auto found = m_leases.Find(link->index, link->name, own)) {
                entry.lease = found->lease;
                entry.dhcpClient = found->client;
            }
        }
        if (servers != nullptr && !loopback)
            entry.dnsServers = *servers;
        deviceIndexOf[link->index] = entry.index;
        snapshot.interfaces.push_back(std::move(entry));
    }

    // Rows in index order even where the loopback link is not the kernel's first.
    std::stable_sort(snapshot.interfaces.begin(), snapshot.interfaces.end(),
        [](const NetInterface& a, const NetInterface& b) { return a.index < b.index; });

    // The routes also order the interfaces, so every query knows them; the snapshot carries
    // them only when asked.
    if ((parts & kNetRoutes) == 0)
        return snapshot;
    for (const linuxnet::KernelRoute& route : routes) {
        if (route.table != RT_TABLE_MAIN || route.type != RTN_UNICAST)
            continue;
        auto owner = deviceIndexOf.find(route.outputIndex);
        if (owner == deviceIndexOf.end())
            continue;
        NetRoute entry;
        entry.destination = route.destination & PrefixToMask(route.prefixLength);
        entry.prefixLength = route.prefixLength;
        entry.gateway = route.gateway;
        entry.interfaceIndex = owner->second;
        entry.metric = route.priority;
        snapshot.routes.push_back(entry);
    }
    return snapshot;
}

void LinuxNetBackend::TakeChanges(uint64_t nowMs)
{
    switch (m_kernel->TakeChanges()) {
    case linuxnet::KernelChanges::None:
        break;
    case linuxnet::KernelChanges::Some:
        m_linksFresh = m_addressesFresh = m_routesFresh = false;
        break;
    case linuxnet::KernelChanges::Unknown:
        // Nobody says when they change: read them again once a tick.
        if (!m_linksReadMs || nowMs - *m_linksReadMs >= kCounterShareMs)
            m_linksFresh = m_addressesFresh = m_routesFresh = false;
        break;
    }
}

int LinuxNetBackend::Update(unsigned parts)
{
    uint64_t nowMs = CurrentClock().MonotonicMs();
    // A watched socket's notifications were taken in when it became readable: a query that
    // looked again would find it empty all but never.
    if (!m_watched)
        TakeChanges(nowMs);

    bool countersDue = (parts & kNetCounters) != 0 && (!m_countersReadMs || nowMs - *m_countersReadMs >= kCounterShareMs);
    if (m_linksFresh && countersDue) {
        std::vector<linuxnet::LinkCounters> counters;
        if (int error = m_kernel->ReadCounters(counters); error != 0)
            return error;
        // A link that came, went or was renamed before its notification arrived: the links
        // themselves (with their counters) are read again below.
        if (linuxnet::ApplyCounters(counters, m_links)) {
            m_countersReadMs = nowMs;
            ++m_countersRead;
        } else
            m_linksFresh = m_addressesFresh = m_routesFresh = false;
    }
    if (!m_linksFresh) {
        if (int error = m_kernel->DumpLinks(m_links); error != 0)
            return error;
        m_linksFresh = true;
        m_linksReadMs = m_countersReadMs = nowMs;
        ++m_recordsRead;
        ++m_countersRead;
    }
    if ((parts & kNetAddresses) != 0 && !m_addressesFresh) {
        if (int error = m_kernel->DumpAddresses(m_addresses); error != 0)
            return error;
        m_addressesFresh = true;
        ++m_recordsRead;
    }
    // Every query needs the routes: the default route's link comes first in the index order.
    if (!m_routesFresh) {
        if (int error = m_kernel->DumpRoutes(m_routes); error != 0)
            return error;
        m_routesFresh = true;
        ++m_recordsRead;
    }
    return 0;
}

DWORD LinuxNetBackend::Query(unsigned parts, NetSnapshot& out)
{
    std::lock_guard lock(m_mutex);
    if (int error = Update(parts); error != 0)
        return ErrorFromErrno(error);
    const std::vector<uint32_t>* servers = RefreshOutsideKernel(parts);
    auto kept = std::find_if(m_composed.begin(), m_composed.end(), [parts](const Composed& c) { return c.parts == parts; });
    if (kept != m_composed.end() && kept->recordsRead == m_recordsRead && kept->leaseScans == m_leases.ScanCount()
        && (servers == nullptr || kept->servers == *servers)) {
        if (kept->countersRead != m_countersRead) {
            // The same links as when it was composed: only their counters moved on.
            for (NetInterface& entry : kept->snapshot.interfaces) {
                auto link = std::find_if(m_links.begin(), m_links.end(),
                    [&entry](const linuxnet::KernelLink& l) { return l.index == entry.kernelIndex; });
                if (link != m_links.end())
                    PutCounters(*link, entry);
            }
            kept->countersRead = m_countersRead;
        }
        out = kept->snapshot;
        return NO_ERROR;
    }
    if (kept == m_composed.end()) {
        kept = m_composed.emplace(m_composed.end());
        kept->parts = parts;
    }
    static const std::vector<linuxnet::KernelAddress> kNoAddresses;
    kept->snapshot = ComposeWith(m_links, (parts & kNetAddresses) != 0 ? m_addresses : kNoAddresses, m_routes, parts, servers);
    kept->recordsRead = m_recordsRead;
    kept->countersRead = m_countersRead;
    kept->leaseScans = m_leases.ScanCount();
    kept->servers = servers != nullptr ? *servers : std::vector<uint32_t> {};
    out = kept->snapshot;
    return NO_ERROR;
}

DWORD LinuxNetBackend::Run(const NetInterface& adapter, bool release)
{
    std::vector<std::string> argv = linuxnet::DhcpCommandLine(adapter.dhcpClient,
        release ? linuxnet::DhcpOperation::Release : linuxnet::DhcpOperation::Renew, adapter.systemName);
    return linuxnet::RunDhcpTool(argv, std::chrono::seconds(30));
}

DWORD LinuxNetBackend::ReleaseAddress(const NetInterface& adapter)
{
    return Run(adapter, true);
}

DWORD LinuxNetBackend::RenewAddress(const NetInterface& adapter)
{
    return Run(adapter, false);
}

} // namespace platform
