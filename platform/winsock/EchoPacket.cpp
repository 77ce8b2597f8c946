#include "platform/winsock/EchoPacket.h"

#include <cerrno>

namespace platform {

namespace {

constexpr size_t kMinIpHeaderBytes = 20;

uint16_t ReadBigEndian16(const BYTE* bytes)
{
    return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

// The IP header's length from its first byte, or 0 when the packet cannot hold it.
size_t IpHeaderBytes(std::span<const BYTE> packet)
{
    if (packet.size() < kMinIpHeaderBytes)
        return 0;
    size_t length = static_cast<size_t>(packet[0] & 0x0F) * 4;
    if (length < kMinIpHeaderBytes || length > packet.size())
        return 0;
    return length;
}

} // namespace

uint16_t InternetChecksum(std::span<const BYTE> bytes)
{
    uint32_t sum = 0;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        sum += static_cast<uint32_t>((bytes[i] << 8) | bytes[i + 1]);
    if (i < bytes.size())
        sum += static_cast<uint32_t>(bytes[i] << 8);
    while ((sum >> 16) != 0)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum & 0xFFFF);
}

std::vector<BYTE> BuildEchoRequest(uint16_t identifier, uint16_t sequence, std::span<const BYTE> data)
{
    std::vector<BYTE> packet(kIcmpHeaderBytes + data.size(), 0);
    packet[0] = kIcmpEchoRequest;
    packet[4] = static_cast<BYTE>(identifier >> 8);
    packet[5] = static_cast<BYTE>(identifier & 0xFF);
    packet[6] = static_cast<BYTE>(sequence >> 8);
    packet[7] = static_cast<BYTE>(sequence & 0xFF);
    std::copy(data.begin(), data.end(), packet.begin() + kIcmpHeaderBytes);
    uint16_t checksum = InternetChecksum(packet);
    packet[2] = static_cast<BYTE>(checksum >> 8);
    packet[3] = static_cast<BYTE>(checksum & 0xFF);
    return packet;
}

std::optional<IcmpPacket> ParseIcmpPacket(std::span<const BYTE> packet, bool withIpHeader)
{
    IcmpPacket out;
    if (withIpHeader) {
        size_t header = IpHeaderBytes(packet);
        if (header == 0)
            return std::nullopt;
        out.tos = packet[1];
        out.ttl = packet[8];
        packet = packet.subspan(header);
    }
    if (packet.size() < kIcmpHeaderBytes)
        return std::nullopt;
    out.type = packet[0];
    out.code = packet[1];
    if (out.type == kIcmpEchoReply || out.type == kIcmpEchoRequest) {
        out.identifier = ReadBigEndian16(&packet[4]);
        out.sequence = ReadBigEndian16(&packet[6]);
        out.data.assign(packet.begin() + kIcmpHeaderBytes, packet.end());
        return out;
    }
    // An error report quotes the IP header and the first eight bytes of what it is about.
    std::span<const BYTE> quoted = packet.subspan(kIcmpHeaderBytes);
    size_t quotedHeader = IpHeaderBytes(quoted);
    if (quotedHeader != 0 && quoted.size() >= quotedHeader + kIcmpHeaderBytes && quoted[9] == 1 /* ICMP */) {
        std::span<const BYTE> request = quoted.subspan(quotedHeader);
        if (request[0] == kIcmpEchoRequest) {
            out.quotesEcho = true;
            out.identifier = ReadBigEndian16(&request[4]);
            out.sequence = ReadBigEndian16(&request[6]);
        }
    }
    return out;
}

ReplyVerdict CheckReply(const IcmpPacket& packet, DWORD source, const ExpectedReply& expected)
{
    bool ours = (!expected.checkIdentifier || packet.identifier == expected.identifier)
        && packet.sequence == expected.sequence;
    if (packet.type == kIcmpEchoReply) {
        if (!ours || source != expected.source)
            return ReplyVerdict::Foreign;
        return packet.data.size() < expected.dataBytes ? ReplyVerdict::Truncated : ReplyVerdict::Answer;
    }
    switch (packet.type) {
    case kIcmpUnreachable:
    case kIcmpSourceQuench:
    case kIcmpTimeExceeded:
    case kIcmpParameterProblem:
        return packet.quotesEcho && ours ? ReplyVerdict::Answer : ReplyVerdict::Foreign;
    default:
        return ReplyVerdict::Foreign;
    }
}

DWORD StatusOfIcmpError(BYTE type, BYTE code)
{
    switch (type) {
    case kIcmpUnreachable:
        switch (code) {
        case 0:  // network
        case 6:  // network unknown
        case 9:  // network administratively prohibited
        case 11: // network for this type of service
            return IP_DEST_NET_UNREACHABLE;
        case 2:
            return IP_DEST_PROT_UNREACHABLE;
        case 3:
            return IP_DEST_PORT_UNREACHABLE;
        case 4: // fragmentation needed and don't-fragment set
            return IP_PACKET_TOO_BIG;
        case 5:
            return IP_BAD_ROUTE;
        default:
            return IP_DEST_HOST_UNREACHABLE;
        }
    case kIcmpTimeExceeded:
        return code == 1 ? IP_TTL_EXPIRED_REASSEM : IP_TTL_EXPIRED_TRANSIT;
    case kIcmpParameterProblem:
        return IP_PARAM_PROBLEM;
    case kIcmpSourceQuench:
        return IP_SOURCE_QUENCH;
    default:
        return IP_GENERAL_FAILURE;
    }
}

DWORD StatusOfSocketError(int error)
{
    switch (error) {
    case ENETUNREACH:
    case ENETDOWN:
        return IP_DEST_NET_UNREACHABLE;
    case EHOSTUNREACH:
    case EHOSTDOWN:
        return IP_DEST_HOST_UNREACHABLE;
    case EMSGSIZE:
        return IP_PACKET_TOO_BIG;
    case ENOBUFS:
    case ENOMEM:
        return IP_NO_RESOURCES;
    case EACCES: // a broadcast destination
    case EADDRNOTAVAIL:
        return IP_BAD_DESTINATION;
    case EINVAL:
        return IP_BAD_REQ;
    case EIO:
        return IP_HW_ERROR;
    default:
        return IP_GENERAL_FAILURE;
    }
}

} // namespace platform
