#include "platform/winsock/linux/LinuxSockets.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/core/StopRequest.h"
#include "platform/winsock/EchoPacket.h"

namespace platform {

namespace {

constexpr size_t kMaxPacketBytes = 65536;

std::atomic<uint16_t> g_nextSequence { 1 };

class SocketFd {
public:
    explicit SocketFd(int fd) : m_fd(fd) { }
    ~SocketFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketFd(const SocketFd&) = delete;
    SocketFd& operator=(const SocketFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

int OpenEchoSocket(EchoSocketKind& kind)
{
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd >= 0) {
        kind = EchoSocketKind::Datagram;
        return fd;
    }
    fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    kind = fd >= 0 ? EchoSocketKind::Raw : EchoSocketKind::None;
    return fd;
}

bool SetIntOption(int fd, int level, int name, int value)
{
    return ::setsockopt(fd, level, name, &value, sizeof value) == 0;
}

// NO_ERROR, or the status of an option the machine refuses.
DWORD ApplyOptions(int fd, const EchoRequest& request)
{
    if (!request.optionsValid)
        return NO_ERROR;
    // A TTL of 0 leaves the machine's default, as the device's stack does.
    if (request.ttl != 0 && !SetIntOption(fd, IPPROTO_IP, IP_TTL, request.ttl))
        return IP_BAD_OPTION;
    if (!SetIntOption(fd, IPPROTO_IP, IP_TOS, request.tos))
        return IP_BAD_OPTION;
    int discovery = (request.flags & kIpFlagDontFragment) != 0 ? IP_PMTUDISC_DO : IP_PMTUDISC_DONT;
    if (!SetIntOption(fd, IPPROTO_IP, IP_MTU_DISCOVER, discovery))
        return IP_BAD_OPTION;
    if (!request.options.empty()
        && ::setsockopt(fd, IPPROTO_IP, IP_OPTIONS, request.options.data(), static_cast<socklen_t>(request.options.size())) != 0)
        return IP_BAD_OPTION;
    return NO_ERROR;
}

EchoOutcome Failure(DWORD status, DWORD address)
{
    EchoOutcome outcome;
    outcome.status = status;
    outcome.address = address;
    return outcome;
}

// One message without waiting: its bytes, its ancillary data and its sender. The header points
// into the message, which therefore stays where it was made.
struct Incoming {
    char control[512];
    sockaddr_in from {};
    iovec io {};
    msghdr header {};

    Incoming(void* bytes, size_t size)
        : io { bytes, size }
    {
        header.msg_name = &from;
        header.msg_namelen = sizeof from;
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
    }
    Incoming(const Incoming&) = delete;
    Incoming& operator=(const Incoming&) = delete;

    ssize_t Receive(int fd, int flags) { return ::recvmsg(fd, &header, flags | MSG_DONTWAIT); }
};

// A report from the error queue about our request, or nullopt (none, or about another one).
std::optional<EchoOutcome> ReadErrorQueue(int fd, uint16_t sequence)
{
    BYTE payload[576];
    Incoming incoming(payload, sizeof payload);
    ssize_t got = incoming.Receive(fd, MSG_ERRQUEUE);
    if (got < 0)
        return std::nullopt;
    // The queue gives back the ICMP message we sent: its sequence says which request it was.
    if (got < static_cast<ssize_t>(kIcmpHeaderBytes) || ((payload[6] << 8) | payload[7]) != sequence)
        return std::nullopt;
    msghdr& message = incoming.header;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_RECVERR)
            continue;
        const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(header));
        const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
        DWORD address = offender->sin_family == AF_INET ? ntohl(offender->sin_addr.s_addr) : ntohl(incoming.from.sin_addr.s_addr);
        if (error->ee_origin == SO_EE_ORIGIN_ICMP)
            return Failure(StatusOfIcmpError(error->ee_type, error->ee_code), address);
        return Failure(StatusOfSocketError(static_cast<int>(error->ee_errno)), address);
    }
    return std::nullopt;
}

struct Received {
    DWORD source = 0;
    std::vector<BYTE> bytes;
    std::optional<BYTE> ttl; // from the datagram socket's ancillary data
    std::optional<BYTE> tos;
};

std::optional<Received> ReadPacket(int fd)
{
    Received out;
    out.bytes.resize(kMaxPacketBytes);
    Incoming incoming(out.bytes.data(), out.bytes.size());
    ssize_t got = incoming.Receive(fd, 0);
    if (got < 0)
        return std::nullopt;
    out.bytes.resize(static_cast<size_t>(got));
    out.source = ntohl(incoming.from.sin_addr.s_addr);
    msghdr& message = incoming.header;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != IPPROTO_IP)
            continue;
        if (header->cmsg_type == IP_TTL)
            out.ttl = static_cast<BYTE>(*reinterpret_cast<const int*>(CMSG_DATA(header)));
        else if (header->cmsg_type == IP_TOS)
            out.tos = *reinterpret_cast<const BYTE*>(CMSG_DATA(header));
    }
    return out;
}

} // namespace

bool IsReservedInvalidName(const std::string& name)
{
    std::string lower;
    for (char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!lower.empty() && lower.back() == '.')
        lower.pop_back();
    const std::string suffix = ".invalid";
    return lower == "invalid" || (lower.size() > suffix.size() && lower.ends_with(suffix));
}

EchoSocketKind LinuxSockets::AvailableKind()
{
    EchoSocketKind kind = EchoSocketKind::None;
    int fd = OpenEchoSocket(kind);
    if (fd >= 0)
        ::close(fd);
    return kind;
}

NameResolution LinuxSockets::Resolve(const std::string& name)
{
    NameResolution answer;
    if (IsReservedInvalidName(name)) {
        answer.error = kResolveHostNotFound;
        return answer;
    }
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* list = nullptr;
    int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
    switch (result) {
    case 0:
        break;
    case EAI_NONAME:
        answer.error = kResolveHostNotFound;
        return answer;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
        answer.error = kResolveNoData;
        return answer;
    case EAI_AGAIN:
        answer.error = kResolveTryAgain;
        return answer;
    default:
        answer.error = kResolveNoRecovery;
        return answer;
    }
    for (addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_canonname != nullptr && answer.canonicalName.empty())
            answer.canonicalName = entry->ai_canonname;
        if (entry->ai_family != AF_INET)
            continue;
        DWORD address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
        if (std::find(answer.addresses.begin(), answer.addresses.end(), address) == answer.addresses.end())
            answer.addresses.push_back(address);
    }
    ::freeaddrinfo(list);
    return answer;
}

bool LinuxSockets::EchoAvailable()
{
    return AvailableKind() != EchoSocketKind::None;
}

std::vector<EchoOutcome> LinuxSockets::Echo(const EchoRequest& request)
{
    EchoSocketKind kind = EchoSocketKind::None;
    SocketFd socket(OpenEchoSocket(kind));
    int fd = socket.Get();
    if (fd < 0)
        return { Failure(IP_NO_RESOURCES, request.destination) };
    SetIntOption(fd, IPPROTO_IP, IP_RECVERR, 1);
    if (kind == EchoSocketKind::Datagram) {
        SetIntOption(fd, IPPROTO_IP, IP_RECVTTL, 1);
        SetIntOption(fd, IPPROTO_IP, IP_RECVTOS, 1);
    }
    if (DWORD refused = ApplyOptions(fd, request); refused != NO_ERROR)
        return { Failure(refused, request.destination) };

    ExpectedReply expected;
    expected.source = request.destination;
    expected.sequence = g_nextSequence.fetch_add(1);
    expected.dataBytes = request.data.size();
    // The kernel gives an ICMP datagram socket its own identifier and only that socket's replies.
    expected.checkIdentifier = kind == EchoSocketKind::Raw;
    expected.identifier = static_cast<uint16_t>(::getpid() & 0xFFFF);
    std::vector<BYTE> packet = BuildEchoRequest(expected.identifier, expected.sequence, request.data);

    sockaddr_in to {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(request.destination);
    auto start = std::chrono::steady_clock::now();
    if (::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0)
        return { Failure(StatusOfSocketError(errno), request.destination) };

    auto deadline = start + std::chrono::milliseconds(request.timeoutMs);
    int stop = StopDescriptor();
    while (true) {
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return {};
        auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        pollfd waits[2] = { { fd, POLLIN, 0 }, { stop, POLLIN, 0 } };
        int ready = ::poll(waits, stop >= 0 ? 2 : 1, static_cast<int>(std::min<int64_t>(remaining, 60000)));
        if (ready < 0 && errno != EINTR)
            return { Failure(IP_GENERAL_FAILURE, request.destination) };
        if (ready <= 0)
            continue;
        if (stop >= 0 && (waits[1].revents & POLLIN) != 0)
            return {};
        if ((waits[0].revents & POLLERR) != 0) {
            if (std::optional<EchoOutcome> reported = ReadErrorQueue(fd, expected.sequence))
                return { *reported };
        }
        if ((waits[0].revents & POLLIN) == 0)
            continue;
        std::optional<Received> received = ReadPacket(fd);
        if (!received)
            continue;
        std::optional<IcmpPacket> parsed = ParseIcmpPacket(received->bytes, kind == EchoSocketKind::Raw);
        if (!parsed || CheckReply(*parsed, received->source, expected) != ReplyVerdict::Answer)
            continue;
        EchoOutcome outcome;
        outcome.address = received->source;
        if (parsed->type != kIcmpEchoReply) {
            outcome.status = StatusOfIcmpError(parsed->type, parsed->code);
            return { outcome };
        }
        auto elapsed = std::chrono::steady_clock::now() - start;
        outcome.roundTripMs = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
        outcome.ttl = received->ttl.value_or(parsed->ttl);
        outcome.tos = received->tos.value_or(parsed->tos);
        outcome.data.assign(parsed->data.begin(), parsed->data.begin() + static_cast<long>(expected.dataBytes));
        return { outcome };
    }
}

} // namespace platform
