// The kernel's routing socket (rtnetlink): dumps of links, IPv4 addresses and IPv4 routes, and
// the parsers that turn the kernel's messages into plain records. The parsers take any bytes
// and never read past them: a malformed message ends the parse of that message only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::linuxnet {

// A link's counters, 64-bit as the kernel keeps them.
struct LinkStats {
    uint64_t rxBytes = 0, txBytes = 0;
    uint64_t rxPackets = 0, txPackets = 0;
    uint64_t rxErrors = 0, txErrors = 0;
    uint64_t rxDropped = 0, txDropped = 0; // received: dropped and missed, as /proc/net/dev counts them
    uint64_t multicast = 0;

    bool operator==(const LinkStats&) const = default;
};

struct KernelLink {
    int index = 0;
    std::string name;
    unsigned flags = 0;       // IFF_*
    unsigned short type = 0;  // ARPHRD_*
    unsigned mtu = 0;
    std::vector<uint8_t> hardwareAddress;
    uint8_t operState = 0;    // IF_OPER_*
    std::string kind;         // from the link info: "bridge", "veth", "wireguard", ...
    uint32_t carrierChanges = 0;
    bool haveStats = false;
    LinkStats stats;
};

struct KernelAddress {
    int index = 0;
    int prefixLength = 0;
    uint32_t address = 0; // host byte order
    bool secondary = false;
};

struct KernelRoute {
    uint32_t table = 0;
    uint8_t type = 0;     // RTN_*
    uint32_t destination = 0;
    int prefixLength = 0;
    uint32_t gateway = 0;
    int outputIndex = 0;
    uint32_t priority = 0;
};

// Each takes the concatenated replies of one dump.
std::vector<KernelLink> ParseLinkMessages(const uint8_t* data, size_t size);
std::vector<KernelAddress> ParseAddressMessages(const uint8_t* data, size_t size);
std::vector<KernelRoute> ParseRouteMessages(const uint8_t* data, size_t size);

class NetlinkSocket {
public:
    NetlinkSocket() = default;
    ~NetlinkSocket();
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;

    // Sends a dump request (RTM_GETLINK, RTM_GETADDR, RTM_GETROUTE) and collects the replies
    // up to the end of the dump. 0 on success, else an errno value. The socket is opened on
    // first use and kept.
    int Dump(uint16_t type, uint8_t family, std::vector<uint8_t>& replies);

private:
    int Open();

    int m_fd = -1;
    uint32_t m_sequence = 0;
};

} // namespace platform::linuxnet
