// The sockets of this machine: names through the system's resolver, echo requests through an
// unprivileged ICMP datagram socket where net.ipv4.ping_group_range lets this process's group
// open one, else through a raw socket (which needs CAP_NET_RAW). The TTL, type of service and
// don't-fragment flag of a request are set on its socket; errors that routers report come from
// the socket's error queue. A wait for the answer also ends when the host is asked to stop.
#pragma once

#include "platform/winsock/SocketBackend.h"

namespace platform {

enum class EchoSocketKind : uint8_t { None, Datagram, Raw };

class LinuxSockets final : public SocketBackend {
public:
    NameResolution Resolve(const std::string& name) override;
    bool EchoAvailable() override;
    std::vector<EchoOutcome> Echo(const EchoRequest& request) override;

    // Which kind of socket this process can open now.
    static EchoSocketKind AvailableKind();
};

// Names under the reserved top-level domain "invalid" never resolve (RFC 6761): answered at
// once, without asking a name server that may not be reachable.
bool IsReservedInvalidName(const std::string& name);

} // namespace platform
