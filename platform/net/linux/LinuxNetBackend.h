// The machine's network as the device would see it: links, IPv4 addresses and routes from the
// kernel's routing socket; speed, wireless and model from /sys; name servers from the resolver
// configuration; DHCP state from the DHCP clients' lease files. Device indexes: the loopback
// link is 1 and the others follow densely (2, 3, ...) in the kernel's index order, so the
// system's loops from index 2 reach every interface. Names as in platform/net/AdapterNaming.h.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <vector>

#include "platform/net/NetBackend.h"
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
    };
    LinuxNetBackend();
    explicit LinuxNetBackend(Sources sources);

    DWORD Query(unsigned parts, NetSnapshot& out) override;
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
    const linuxnet::SysfsLinkInfo& LinkInfo(const linuxnet::KernelLink& link);
    DWORD Run(const NetInterface& adapter, bool release);

    std::mutex m_mutex;
    linuxnet::NetlinkSocket m_socket;
    linuxnet::SysfsLinks m_sysfs;
    linuxnet::ResolverConfig m_resolver;
    linuxnet::LeaseFiles m_leases;
    std::map<int, CachedLinkInfo> m_linkInfo;
    std::vector<uint8_t> m_replies;
};

} // namespace platform
