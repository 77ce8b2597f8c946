// The machine's network as the device would see it: links, IPv4 addresses and routes from the
// kernel's routing socket; speed, wireless and model from /sys; name servers from the resolver
// configuration; DHCP state from the DHCP clients' lease files. Device indexes: the loopback
// link is 1, then the default route's link, the physical links and the virtual ones, densely
// (linuxnet/InterfaceOrder.h). Names as in platform/net/AdapterNaming.h.
//
// The kernel is asked as little as the tick allows: names, states, addresses and routes are
// kept until a routing-socket notification says they changed, and the counters are read once
// for all the queries of one tick (one read of /proc/net/dev); lease folders are read again
// only when their watch says something in them changed. A snapshot is composed once for what
// it was made of: the other queries of the tick that ask for the same parts get a copy. Where an
// event loop watches the notification socket (SetWatched), queries leave the socket alone.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/net/NetBackend.h"
#include "platform/net/linux/KernelSource.h"
#include "platform/net/linux/LeaseFiles.h"
#include "platform/net/linux/Netlink.h"
#include "platform/net/linux/ResolverConfig.h"
#include "platform/net/linux/SysfsLinks.h"

namespace platform {

class LinuxNetBackend final : public NetBackend {
public:
    // Where the files are read from; the defaults are the machine's.
    struct Sources {
        std::filesystem::path sysfs = "/sys/class/net";
        std::filesystem::path resolvConf = "/etc/resolv.conf";
        std::filesystem::path resolvedUpstream = "/run/systemd/resolve/resolv.conf";
        linuxnet::LeaseFiles::Folders leases;
        std::filesystem::path bootId = "/proc/sys/kernel/random/boot_id";
    };
    // Counters read within this long of each other are one tick's: the queries of a tick come
    // within milliseconds, the next tick a second later.
    static constexpr uint64_t kCounterShareMs = 250;

    LinuxNetBackend();
    explicit LinuxNetBackend(Sources sources);
    // Over another kernel (a test's fake).
    LinuxNetBackend(Sources sources, std::unique_ptr<linuxnet::KernelSource> kernel);

    DWORD Query(unsigned parts, NetSnapshot& out) override;
    int WaitHandle() const override;
    bool SetWatched(bool watched) override;
    void NoteChangesPending() override;
    // The kernel's boot id, read once: it holds for the life of the process.
    std::string BootId() override;
    DWORD ReleaseAddress(const NetInterface& adapter) override;
    DWORD RenewAddress(const NetInterface& adapter) override;

    // The snapshot that kernel records make, with the files of the sources (what Query does
    // after asking the kernel).
    NetSnapshot Compose(const std::vector<linuxnet::KernelLink>& links, const std::vector<linuxnet::KernelAddress>& addresses,
        const std::vector<linuxnet::KernelRoute>& routes, unsigned parts);

    const linuxnet::LeaseFiles& Leases() const { return m_leases; }
    const linuxnet::ResolverConfig& Resolver() const { return m_resolver; }

private:
    struct CachedLinkInfo {
        std::string name;
        uint32_t carrierChanges = 0;
        uint8_t operState = 0;
        linuxnet::SysfsLinkInfo info;
    };
    // A composed snapshot and what it was made of: kept while the kernel's records, the lease
    // folders and the name servers are the same, since a tick asks for the same parts again.
    // Counters read since are put into it in place.
    struct Composed {
        unsigned parts = 0;
        uint64_t recordsRead = 0;
        uint64_t countersRead = 0;
        int leaseScans = 0;
        std::vector<uint32_t> servers;
        NetSnapshot snapshot;
    };
    const linuxnet::SysfsLinkInfo& LinkInfo(const linuxnet::KernelLink& link);
    NetSnapshot ComposeWith(const std::vector<linuxnet::KernelLink>& links, const std::vector<linuxnet::KernelAddress>& addresses,
        const std::vector<linuxnet::KernelRoute>& routes, unsigned parts, const std::vector<uint32_t>* servers);
    // Brings the leases up to date when the parts have addresses; the name servers when they
    // ask for them, else null.
    const std::vector<uint32_t>* RefreshOutsideKernel(unsigned parts);
    // Takes in what the kernel said since the last look.
    void TakeChanges(uint64_t nowMs);
    // Brings the kept kernel records up to what the parts need; 0 or an errno value.
    int Update(unsigned parts);
    DWORD Run(const NetInterface& adapter, bool release);

    std::mutex m_mutex;
    std::unique_ptr<linuxnet::KernelSource> m_kernel;
    // What was read of the kernel, and whether it still holds.
    std::vector<linuxnet::KernelLink> m_links;
    std::vector<linuxnet::KernelAddress> m_addresses;
    std::vector<linuxnet::KernelRoute> m_routes;
    bool m_linksFresh = false;
    bool m_addressesFresh = false;
    bool m_routesFresh = false;
    // Grow with every read of links, addresses or routes, and with every counter read.
    uint64_t m_recordsRead = 0;
    uint64_t m_countersRead = 0;
    // An event loop takes the notifications in (NoteChangesPending); queries do not.
    bool m_watched = false;
    std::vector<Composed> m_composed;
    std::optional<uint64_t> m_linksReadMs;    // platform clock's tick count
    std::optional<uint64_t> m_countersReadMs;
    linuxnet::SysfsLinks m_sysfs;
    linuxnet::ResolverConfig m_resolver;
    linuxnet::LeaseFiles m_leases;
    std::map<int, CachedLinkInfo> m_linkInfo;
    std::filesystem::path m_bootIdPath;
    std::optional<std::string> m_bootId;
};

} // namespace platform
