// What the socket calls and the echo service are answered from: the Linux backend resolves
// through the system's resolver and sends real ICMP echo requests; the simulated one answers
// from a scenario. Addresses here are in host byte order (127.0.0.1 is 0x7F000001), as in the
// network backend; the platform calls turn them into the device's records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

namespace platform {

// The echo statuses of the platform (ICMP_ECHO_REPLY::Status).
enum : DWORD {
    IP_SUCCESS = 0,
    IP_BUF_TOO_SMALL = 11001,
    IP_DEST_NET_UNREACHABLE = 11002,
    IP_DEST_HOST_UNREACHABLE = 11003,
    IP_DEST_PROT_UNREACHABLE = 11004,
    IP_DEST_PORT_UNREACHABLE = 11005,
    IP_NO_RESOURCES = 11006,
    IP_BAD_OPTION = 11007,
    IP_HW_ERROR = 11008,
    IP_PACKET_TOO_BIG = 11009,
    IP_REQ_TIMED_OUT = 11010,
    IP_BAD_REQ = 11011,
    IP_BAD_ROUTE = 11012,
    IP_TTL_EXPIRED_TRANSIT = 11013,
    IP_TTL_EXPIRED_REASSEM = 11014,
    IP_PARAM_PROBLEM = 11015,
    IP_SOURCE_QUENCH = 11016,
    IP_OPTION_TOO_BIG = 11017,
    IP_BAD_DESTINATION = 11018,
    IP_GENERAL_FAILURE = 11050,
};

// The IP header flag that forbids fragmenting the request.
constexpr BYTE kIpFlagDontFragment = 0x02;

struct EchoRequest {
    DWORD destination = 0; // host byte order
    DWORD timeoutMs = 0;
    bool optionsValid = false;
    BYTE ttl = 0;
    BYTE tos = 0;
    BYTE flags = 0;
    std::vector<BYTE> options; // IP option bytes
    std::vector<BYTE> data;
};

// One answer to a request: an echo reply (IP_SUCCESS) or what a router or the machine reported
// instead. No answer at all (the request timed out) is no outcome.
struct EchoOutcome {
    DWORD status = IP_SUCCESS;
    DWORD address = 0; // who answered, host byte order
    DWORD roundTripMs = 0;
    BYTE ttl = 0;
    BYTE tos = 0;
    BYTE flags = 0;
    std::vector<BYTE> data;
};

// Why a name did not resolve: the values of WSAHOST_NOT_FOUND, WSATRY_AGAIN, WSANO_RECOVERY
// and WSANO_DATA, for backends that cannot include the platform's socket header beside the
// machine's own.
enum : DWORD {
    kResolveHostNotFound = 11001,
    kResolveTryAgain = 11002,
    kResolveNoRecovery = 11003,
    kResolveNoData = 11004,
};

struct NameResolution {
    DWORD error = 0;             // 0 or one of the kResolve reasons
    std::string canonicalName;   // the name the answer is for
    short family = 2;            // AF_INET
    short length = 4;            // bytes per address
    std::vector<DWORD> addresses; // host byte order, in the resolver's order
};

class SocketBackend {
public:
    virtual ~SocketBackend() = default;
    virtual NameResolution Resolve(const std::string& name) = 0;
    // Whether echo requests can be sent at all (the socket kinds the machine allows).
    virtual bool EchoAvailable() = 0;
    // Sends one request and waits up to its timeout: the answers (normally one), or none when
    // it timed out or the wait was stopped.
    virtual std::vector<EchoOutcome> Echo(const EchoRequest& request) = 0;
};

// The Linux backend unless another was installed; the caller keeps an installed backend alive
// until it installs another one or null.
SocketBackend& CurrentSocketBackend();
void InstallSocketBackend(SocketBackend* backend);

} // namespace platform
