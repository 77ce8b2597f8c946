#include "platform/net/linux/Netlink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <arpa/inet.h>
#include <linux/if_addr.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace platform::linuxnet {

namespace {

// Reads a T from possibly unaligned bytes.
template <typename T>
T ReadAt(const uint8_t* data)
{
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

size_t Align4(size_t length)
{
    return (length + 3) & ~static_cast<size_t>(3);
}

size_t RecordLength(const nlmsghdr& header)
{
    return header.nlmsg_len;
}

size_t RecordLength(const rtattr& header)
{
    return header.rta_len;
}

size_t RecordLength(const rtnexthop& header)
{
    return header.rtnh_len;
}

// The one walker over the kernel's length-prefixed records: the messages of a reply, the
// attributes of a message (nested ones too) and the next hops of a route. Each record starts
// with a header whose length counts header and payload, and the next one starts 4-aligned.
// Calls visit(header, payload, payloadSize) for each whole record until visit returns false.
// False when a record claims more bytes than there are: the walk ends before it.
template <typename Header, typename Visit>
bool WalkRecords(const uint8_t* data, size_t size, Visit visit)
{
    size_t offset = 0;
    while (offset + sizeof(Header) <= size) {
        auto header = ReadAt<Header>(data + offset);
        size_t length = RecordLength(header);
        if (length < sizeof(Header) || length > size - offset)
            return false;
        if (!visit(header, data + offset + sizeof(Header), length - sizeof(Header)))
            return true;
        offset += Align4(length);
    }
    return true;
}

// Calls visit(type, payload, payloadSize) for each message of a reply.
template <typename Visit>
void ForEachMessage(const uint8_t* data, size_t size, Visit visit)
{
    WalkRecords<nlmsghdr>(data, size, [&visit](const nlmsghdr& header, const uint8_t* payload, size_t length) {
        visit(header.nlmsg_type, payload, length);
        return true;
    });
}

// Calls visit(type, payload, payloadSize) for each attribute after the first `skip` bytes (a
// message's fixed part, 4-aligned; 0 for the inside of a nested attribute).
template <typename Visit>
void ForEachAttribute(const uint8_t* data, size_t size, size_t skip, Visit visit)
{
    if (size <= skip)
        return;
    WalkRecords<rtattr>(data + skip, size - skip, [&visit](const rtattr& header, const uint8_t* payload, size_t length) {
        visit(static_cast<unsigned short>(header.rta_type & NLA_TYPE_MASK), payload, length);
        return true;
    });
}

uint32_t ReadU32(const uint8_t* payload, size_t size)
{
    return size >= 4 ? ReadAt<uint32_t>(payload) : 0;
}

// An IPv4 address attribute in host byte order.
uint32_t ReadIpv4(const uint8_t* payload, size_t size)
{
    return size >= 4 ? ntohl(ReadAt<uint32_t>(payload)) : 0;
}

std::string ReadString(const uint8_t* payload, size_t size)
{
    size_t length = 0;
    while (length < size && payload[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(payload), length);
}

// The i-th 64-bit field of a stats attribute, 0 when the kernel's record is shorter.
uint64_t Stat64(const uint8_t* payload, size_t size, size_t i)
{
    return (i + 1) * 8 <= size ? ReadAt<uint64_t>(payload + i * 8) : 0;
}

uint64_t Stat32(const uint8_t* payload, size_t size, size_t i)
{
    return (i + 1) * 4 <= size ? ReadAt<uint32_t>(payload + i * 4) : 0;
}

// rx_packets, tx_packets, rx_bytes, tx_bytes, rx_errors, tx_errors, rx_dropped, tx_dropped,
// multicast, ... rx_missed_errors (16th): the order of the kernel's record, in 32 or 64 bits.
template <typename Field>
LinkStats ReadStats(const uint8_t* payload, size_t size, Field field)
{
    LinkStats stats;
    stats.rxPackets = field(payload, size, 0);
    stats.txPackets = field(payload, size, 1);
    stats.rxBytes = field(payload, size, 2);
    stats.txBytes = field(payload, size, 3);
    stats.rxErrors = field(payload, size, 4);
    stats.txErrors = field(payload, size, 5);
    // Missed packets count as dropped, as /proc/net/dev counts them, so that both sources agree.
    stats.rxDropped = field(payload, size, 6) + field(payload, size, 15);
    stats.txDropped = field(payload, size, 7);
    stats.multicast = field(payload, size, 8);
    return stats;
}

} // namespace

std::vector<KernelLink> ParseLinkMessages(const uint8_t* data, size_t size)
{
    std::vector<KernelLink> links;
    ForEachMessage(data, size, [&links](uint16_t type, const uint8_t* payload, size_t length) {
        if (type != RTM_NEWLINK || length < sizeof(ifinfomsg))
            return;
        auto info = ReadAt<ifinfomsg>(payload);
        KernelLink link;
        link.index = info.ifi_index;
        link.flags = info.ifi_flags;
        link.type = info.ifi_type;
        bool have64 = false;
        ForEachAttribute(payload, length, NLMSG_ALIGN(sizeof(ifinfomsg)), [&](unsigned short attribute, const uint8_t* value, size_t valueSize) {
                switch (attribute) {
                case IFLA_IFNAME:
                    link.name = ReadString(value, valueSize);
                    break;
                case IFLA_MTU:
                    link.mtu = ReadU32(value, valueSize);
                    break;
                case IFLA_ADDRESS:
                    link.hardwareAddress.assign(value, value + valueSize);
                    break;
                case IFLA_OPERSTATE:
                    link.operState = valueSize >= 1 ? value[0] : 0;
                    break;
                case IFLA_CARRIER_CHANGES:
                    link.carrierChanges = ReadU32(value, valueSize);
                    break;
                case IFLA_LINKINFO:
                    ForEachAttribute(value, valueSize, 0, [&link](unsigned short inner, const uint8_t* text, size_t textSize) {
                        if (inner == IFLA_INFO_KIND)
                            link.kind = ReadString(text, textSize);
                    });
                    break;
                case IFLA_STATS64:
                    have64 = true;
                    link.haveStats = true;
                    link.stats = ReadStats(value, valueSize, Stat64);
                    break;
                case IFLA_STATS:
                    if (have64)
                        break;
                    link.haveStats = true;
                    link.stats = ReadStats(value, valueSize, Stat32);
                    break;
                default:
                    break;
                }
            });
        links.push_back(std::move(link));
    });
    return links;
}

std::vector<KernelAddress> ParseAddressMessages(const uint8_t* data, size_t size)
{
    std::vector<KernelAddress> addresses;
    ForEachMessage(data, size, [&addresses](uint16_t type, const uint8_t* payload, size_t length) {
        if (type != RTM_NEWADDR || length < sizeof(ifaddrmsg))
            return;
        auto info = ReadAt<ifaddrmsg>(payload);
        if (info.ifa_family != AF_INET || info.ifa_prefixlen > 32)
            return;
        KernelAddress entry;
        entry.index = static_cast<int>(info.ifa_index);
        entry.prefixLength = info.ifa_prefixlen;
        uint32_t flags = info.ifa_flags;
        bool haveLocal = false;
        bool haveAddress = false;
        uint32_t address = 0;
        ForEachAttribute(payload, length, NLMSG_ALIGN(sizeof(ifaddrmsg)), [&](unsigned short attribute, const uint8_t* value, size_t valueSize) {
                // On a point-to-point link IFA_ADDRESS is the peer; IFA_LOCAL is our own.
                if (attribute == IFA_LOCAL && valueSize >= 4) {
                    entry.address = ReadIpv4(value, valueSize);
                    haveLocal = true;
                } else if (attribute == IFA_ADDRESS && valueSize >= 4) {
                    address = ReadIpv4(value, valueSize);
                    haveAddress = true;
                } else if (attribute == IFA_FLAGS) {
                    flags = ReadU32(value, valueSize);
                }
            });
        if (!haveLocal && !haveAddress)
            return;
        if (!haveLocal)
            entry.address = address;
        entry.secondary = (flags & IFA_F_SECONDARY) != 0;
        addresses.push_back(entry);
    });
    return addresses;
}

std::vector<KernelRoute> ParseRouteMessages(const uint8_t* data, size_t size)
{
    std::vector<KernelRoute> routes;
    ForEachMessage(data, size, [&routes](uint16_t type, const uint8_t* payload, size_t length) {
        if (type != RTM_NEWROUTE || length < sizeof(rtmsg))
            return;
        auto info = ReadAt<rtmsg>(payload);
        if (info.rtm_family != AF_INET || info.rtm_dst_len > 32)
            return;
        KernelRoute route;
        route.table = info.rtm_table;
        route.type = info.rtm_type;
        route.prefixLength = info.rtm_dst_len;
        ForEachAttribute(payload, length, NLMSG_ALIGN(sizeof(rtmsg)), [&route](unsigned short attribute, const uint8_t* value, size_t valueSize) {
                switch (attribute) {
                case RTA_DST:
                    route.destination = ReadIpv4(value, valueSize);
                    break;
                case RTA_GATEWAY:
                    route.gateway = ReadIpv4(value, valueSize);
                    break;
                case RTA_OIF:
                    route.outputIndex = static_cast<int>(ReadU32(value, valueSize));
                    break;
                case RTA_PRIORITY:
                    route.priority = ReadU32(value, valueSize);
                    break;
                case RTA_TABLE:
                    route.table = ReadU32(value, valueSize);
                    break;
                case RTA_MULTIPATH:
                    // Several next hops: the first one stands for the route.
                    if (route.outputIndex != 0)
                        break;
                    WalkRecords<rtnexthop>(value, valueSize, [&route](const rtnexthop& hop, const uint8_t* hopAttributes, size_t hopSize) {
                        route.outputIndex = hop.rtnh_ifindex;
                        ForEachAttribute(hopAttributes, hopSize, 0, [&route](unsigned short inner, const uint8_t* hopValue, size_t hopValueSize) {
                            if (inner == RTA_GATEWAY)
                                route.gateway = ReadIpv4(hopValue, hopValueSize);
                        });
                        return false;
                    });
                    break;
                default:
                    break;
                }
            });
        routes.push_back(route);
    });
    return routes;
}

NetlinkSocket::~NetlinkSocket()
{
    if (m_fd >= 0)
        close(m_fd);
}

int NetlinkSocket::Open()
{
    if (m_fd >= 0)
        return 0;
    m_fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (m_fd < 0)
        return errno;
    // A kernel that never answers must not hang the caller's one thread.
    timeval timeout { 2, 0 };
    setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof(timeout));
    sockaddr_nl local {};
    local.nl_family = AF_NETLINK;
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        int error = errno;
        close(m_fd);
        m_fd = -1;
        return error;
    }
    return 0;
}

int NetlinkSocket::Dump(uint16_t type, uint8_t family, std::vector<uint8_t>& replies)
{
    replies.clear();
    if (int error = Open(); error != 0)
        return error;

    struct {
        nlmsghdr header;
        union {
            ifinfomsg link;
            ifaddrmsg address;
            rtmsg route;
        } body;
    } request {};
    size_t bodySize = type == RTM_GETLINK ? sizeof(ifinfomsg) : type == RTM_GETADDR ? sizeof(ifaddrmsg) : sizeof(rtmsg);
    request.header.nlmsg_len = static_cast<uint32_t>(NLMSG_LENGTH(bodySize));
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = ++m_sequence;
    if (type == RTM_GETLINK)
        request.body.link.ifi_family = family;
    else if (type == RTM_GETADDR)
        request.body.address.ifa_family = family;
    else
        request.body.route.rtm_family = family;

    sockaddr_nl kernel {};
    kernel.nl_family = AF_NETLINK;
    if (sendto(m_fd, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel), sizeof(kernel)) < 0)
        return errno;

    std::vector<uint8_t> buffer(64 * 1024);
    while (true) {
        ssize_t received = recv(m_fd, buffer.data(), buffer.size(), 0);
        if (received < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        const uint8_t* end = buffer.data() + received;
        std::optional<int> result;
        bool whole = WalkRecords<nlmsghdr>(buffer.data(), static_cast<size_t>(received),
            [&](const nlmsghdr& header, const uint8_t* payload, size_t payloadSize) {
                if (header.nlmsg_seq != m_sequence)
                    return true; // a late answer to an earlier request that timed out
                if (header.nlmsg_type == NLMSG_DONE) {
                    result = 0;
                    return false;
                }
                if (header.nlmsg_type == NLMSG_ERROR) {
                    int error = payloadSize >= sizeof(nlmsgerr) ? -ReadAt<nlmsgerr>(payload).error : 0;
                    result = error != 0 ? error : EPROTO;
                    return false;
                }
                const uint8_t* start = payload - sizeof(nlmsghdr);
                size_t step = std::min(Align4(header.nlmsg_len), static_cast<size_t>(end - start));
                replies.insert(replies.end(), start, start + step);
                return true;
            });
        if (result)
            return *result;
        if (!whole)
            return EPROTO;
    }
}

} // namespace platform::linuxnet
