// ICMP echo packets as they go on the wire, and the checks a reply passes before it counts: an
// echo reply must carry our identifier and the sequence number of the request now waiting, come
// from the destination and bring back the whole request data; an error report must quote our
// request. Anything else on the socket (a reply that arrives after its request gave up, another
// program's ping on a raw socket, a cut-off packet) is not an answer and the wait goes on.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/winsock/SocketBackend.h"

namespace platform {

constexpr BYTE kIcmpEchoReply = 0;
constexpr BYTE kIcmpUnreachable = 3;
constexpr BYTE kIcmpSourceQuench = 4;
constexpr BYTE kIcmpEchoRequest = 8;
constexpr BYTE kIcmpTimeExceeded = 11;
constexpr BYTE kIcmpParameterProblem = 12;
constexpr size_t kIcmpHeaderBytes = 8;

// The Internet checksum of the bytes (RFC 1071), in the byte order it is stored in.
uint16_t InternetChecksum(std::span<const BYTE> bytes);

std::vector<BYTE> BuildEchoRequest(uint16_t identifier, uint16_t sequence, std::span<const BYTE> data);

// What a packet read from the socket is. withIpHeader: it starts with the IP header (raw
// sockets); an ICMP datagram socket gives the ICMP message alone.
struct IcmpPacket {
    BYTE type = 0;
    BYTE code = 0;
    BYTE ttl = 0;        // from the IP header when there is one
    BYTE tos = 0;
    uint16_t identifier = 0; // echo: its own; error: the quoted request's
    uint16_t sequence = 0;
    bool quotesEcho = false; // an error report that quotes an echo request
    std::vector<BYTE> data;  // echo: the data after the header
};
std::optional<IcmpPacket> ParseIcmpPacket(std::span<const BYTE> packet, bool withIpHeader);

struct ExpectedReply {
    DWORD source = 0; // host byte order
    uint16_t identifier = 0;
    uint16_t sequence = 0;
    size_t dataBytes = 0;
    bool checkIdentifier = true; // an ICMP datagram socket's kernel matches it already
};

enum class ReplyVerdict : uint8_t {
    Answer,    // the echo reply awaited, or an error report about our request
    Foreign,   // not about this request
    Truncated, // ours, but shorter than the request
};
ReplyVerdict CheckReply(const IcmpPacket& packet, DWORD source, const ExpectedReply& expected);

// The platform's status for an ICMP error report.
DWORD StatusOfIcmpError(BYTE type, BYTE code);
// The platform's status for a socket error (errno) met while sending or reported by the
// machine itself.
DWORD StatusOfSocketError(int error);

} // namespace platform
