#include "platform/net/linux/Netlink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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

// Walks the messages of a reply; calls visit(type, payload, payloadSize) for each whole one.
template <typename Visit>
void ForEachMessage(const uint8_t* data, size_t size, Visit visit)
{
    size_t offset = 0;
    while (offset + sizeof(nlmsghdr) <= size) {
        auto header = ReadAt<nlmsghdr>(data + offset);
        if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > size - offset)
            return;
        visit(header.nlmsg_type, data + offset + sizeof(nlmsghdr), header.nlmsg_len - sizeof(nlmsghdr));
        offset += Align4(header.nlmsg_len);
    }
}

// Walks route attributes; calls visit(type, payload, payloadSize).
template <typename Visit>
void ForEachAttribute(const uint8_t* data, size_t size, Visit visit)
{
    size_t offset = 0;
    while (offset + sizeof(rtattr) <= size) {
        auto attribute = ReadAt<rtattr>(data + offset);
        if (attribute.rta_len < sizeof(rtattr) || attribute.rta_len > size - offset)
            return;
        visit(static_cast<unsigned short>(attribute.rta_type & NLA_TYPE_MASK), data + offset + sizeof(rtattr),
            attribute.rta_len - sizeof(rtattr));
        offset += Align4(attribute.rta_len);
    }
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
        ForEachAttribute(payload + NLMSG_ALIGN(sizeof(ifinfomsg)),
            length > NLMSG_ALIGN(sizeof(ifinfomsg)) ? length - NLMSG_ALIGN(sizeof(ifinfomsg)) : 0,
            [&](unsigned short attribute, const uint8_t* value, size_t valueSize) {
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
                    ForEachAttribute(value, valueSize, [&link](unsigned short inner, const uint8_t* text, size_t textSize) {
                        if (inner == IFLA_INFO_KIND)
                            link.kind = ReadString(text, textSize);
                    });
                    break;
                case IFLA_STATS64:
                    // rx_packets, tx_packets, rx_bytes, tx_bytes, rx_errors, tx_errors,
                    // rx_dropped, tx_dropped, multicast: the order of the kernel's record.
                    have64 = true;
                    link.haveStats = true;
                    link.rxPackets = Stat64(value, valueSize, 0);
                    link.txPackets = Stat64(value, valueSize, 1);
                    link.rxBytes = Stat64(value, valueSize, 2);
                    link.txBytes = Stat64(value, valueSize, 3);
                    link.rxErrors = Stat64(value, valueSize, 4);
                    link.txErrors = Stat64(value, valueSize, 5);
                    link.rxDropped = Stat64(value, valueSize, 6);
                    link.txDropped = Stat64(value, valueSize, 7);
                    link.multicast = Stat64(value, valueSize, 8);
                    break;
                case IFLA_STATS:
                    if (have64)
                        break;
                    link.haveStats = true;
                    link.rxPackets = Stat32(value, valueSize, 0);
                    link.txPackets = Stat32(value, valueSize, 1);
                    link.rxBytes = Stat32(value, valueSize, 2);
                    link.txBytes = Stat32(value, valueSize, 3);
                    link.rxErrors = Stat32(value, valueSize, 4);
                    link.txErrors = Stat32(value, valueSize, 5);
                    link.rxDropped = Stat32(value, valueSize, 6);
                    link.txDropped = Stat32(value, valueSize, 7);
                    link.multicast = Stat32(value, valueSize, 8);
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
        ForEachAttribute(payload + NLMSG_ALIGN(sizeof(ifaddrmsg)),
            length > NLMSG_ALIGN(sizeof(ifaddrmsg)) ? length - NLMSG_ALIGN(sizeof(ifaddrmsg)) : 0,
            [&](unsigned short attribute, const uint8_t* value, size_t valueSize) {
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
        ForEachAttribute(payload + NLMSG_ALIGN(sizeof(rtmsg)),
            length > NLMSG_ALIGN(sizeof(rtmsg)) ? length - NLMSG_ALIGN(sizeof(rtmsg)) : 0,
            [&route](unsigned short attribute, const uint8_t* value, size_t valueSize) {
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
                case RTA_MULTIPATH: {
                    // Several next hops: the first one stands for the route.
                    if (route.outputIndex != 0 || valueSize < sizeof(rtnexthop))
                        break;
                    auto hop = ReadAt<rtnexthop>(value);
                    if (hop.rtnh_len < sizeof(rtnexthop) || hop.rtnh_len > valueSize)
                        break;
                    route.outputIndex = hop.rtnh_ifindex;
                    ForEachAttribute(value + sizeof(rtnexthop), hop.rtnh_len - sizeof(rtnexthop),
                        [&route](unsigned short inner, const uint8_t* hopValue, size_t hopSize) {
                            if (inner == RTA_GATEWAY)
                                route.gateway = ReadIpv4(hopValue, hopSize);
                        });
                    break;
                }
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
        size_t offset = 0;
        size_t total = static_cast<size_t>(received);
        while (offset + sizeof(nlmsghdr) <= total) {
            auto header = ReadAt<nlmsghdr>(buffer.data() + offset);
            if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > total - offset)
                return EPROTO;
            if (header.nlmsg_seq != m_sequence) {
                // A late answer to an earlier request that timed out.
                offset += Align4(header.nlmsg_len);
                continue;
            }
            if (header.nlmsg_type == NLMSG_DONE)
                return 0;
            if (header.nlmsg_type == NLMSG_ERROR) {
                if (header.nlmsg_len >= NLMSG_LENGTH(sizeof(nlmsgerr))) {
                    auto error = ReadAt<nlmsgerr>(buffer.data() + offset + sizeof(nlmsghdr));
                    if (error.error != 0)
                        return -error.error;
                }
                return EPROTO;
            }
            size_t step = std::min(Align4(header.nlmsg_len), total - offset);
            replies.insert(replies.end(), buffer.data() + offset, buffer.data() + offset + step);
            offset += step;
        }
    }
}

} // namespace platform::linuxnet
