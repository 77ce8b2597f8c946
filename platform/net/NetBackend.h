// What the IP helper functions are answered from: a backend takes a snapshot of the machine's
// network (interfaces with their device indexes and names, IPv4 addresses, routes, resolvers,
// DHCP leases) and performs release and renew. The Linux backend reads the kernel and the
// DHCP clients' files; the simulated one plays a script over virtual time. The platform calls
// turn a snapshot into the device's records, so the buffer protocol lives in one place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

namespace platform {

// IPv4 addresses and masks in host byte order (192.168.1.1 is 0xC0A80101).
struct NetAddress {
    DWORD address = 0;
    DWORD mask = 0;
};

struct NetLease {
    bool enabled = false; // DHCP manages the adapter's address
    DWORD server = 0;     // 0 when the lease does not say
    int64_t obtained = 0; // seconds since 1970 UTC
    int64_t expires = 0;
};

// Which DHCP client manages an interface: release and renew go through it.
enum class DhcpClient : uint8_t { None, Networkd, NetworkManager, Dhclient, Dhcpcd };

struct NetInterface {
    DWORD index = 0;          // the device's interface index: 1 loopback, then 2, 3, ...
    int kernelIndex = 0;      // the machine's own index (0 in simulation)
    std::wstring name;        // wszName and AdapterName
    bool hideTableName = false; // wszName left empty, as some device drivers leave it
    std::string systemName;   // the machine's name for it (eth0), for tools and reports
    std::string description;  // bDescr and Description
    std::string driver;       // the machine's driver or link kind ("e1000e", "bridge"); may be empty
    DWORD type = 1;           // MIB_IF_TYPE_*
    DWORD mtu = 0;
    uint64_t speedBps = 0;
    std::vector<BYTE> physAddr; // at most MAXLEN_PHYSADDR bytes are reported
    DWORD adminStatus = 1;
    DWORD operStatus = 0;
    // The machine's counters, 64-bit: MIB_IF_ROW2 reports them whole, MIB_IFROW their low 32 bits.
    uint64_t inOctets = 0;
    uint64_t outOctets = 0;
    uint64_t inUcastPkts = 0;
    uint64_t outUcastPkts = 0;
    uint64_t inNUcastPkts = 0;
    uint64_t outNUcastPkts = 0;
    uint64_t inDiscards = 0;
    uint64_t outDiscards = 0;
    uint64_t inErrors = 0;
    uint64_t outErrors = 0;
    bool isLoopback = false;
    bool isPointToPoint = false; // a dial-up (RAS) link
    bool isUp = false;
    std::vector<NetAddress> addresses; // first one is the current address
    std::vector<DWORD> dnsServers;
    NetLease lease;
    DhcpClient dhcpClient = DhcpClient::None;
    bool haveWins = false;
    DWORD primaryWins = 0;
    DWORD secondaryWins = 0;
};

struct NetRoute {
    DWORD destination = 0; // host byte order
    int prefixLength = 0;
    DWORD gateway = 0;     // 0 for a directly connected route
    DWORD interfaceIndex = 0; // device index
    DWORD metric = 0;
};

struct NetSnapshot {
    std::vector<NetInterface> interfaces; // ordered by device index
    std::vector<NetRoute> routes;
};

// What a query must fill in; the links themselves are always there.
enum NetQueryParts : unsigned {
    kNetLinks = 0,
    kNetCounters = 1u << 0,  // octet and packet counters, speed
    kNetAddresses = 1u << 1, // IPv4 addresses, leases
    kNetRoutes = 1u << 2,
    kNetResolvers = 1u << 3,
    kNetAll = kNetCounters | kNetAddresses | kNetRoutes | kNetResolvers,
};

// The platform functions a script may make fail.
enum class NetCall : uint8_t {
    GetNumberOfInterfaces,
    GetIfTable,
    GetIfEntry2,
    GetIfTable2,
    GetAdaptersInfo,
    GetPerAdapterInfo,
    GetBestInterface,
    IpReleaseAddress,
    IpRenewAddress,
};

class NetBackend {
public:
    virtual ~NetBackend() = default;
    // NO_ERROR and the snapshot, or a platform error code.
    virtual DWORD Query(unsigned parts, NetSnapshot& out) = 0;
    // An injected failure for this call, or NO_ERROR to go ahead. Real backends never fail here.
    virtual DWORD InjectedFailure(NetCall) { return NO_ERROR; }
    virtual DWORD ReleaseAddress(const NetInterface& adapter) = 0;
    virtual DWORD RenewAddress(const NetInterface& adapter) = 0;
    // A descriptor that becomes readable when the machine's links, addresses or routes change,
    // for an event loop to wait on; the next query takes the change in and reads them again.
    // -1 when the backend has none (a simulated network changes only with its clock).
    virtual int WaitHandle() const { return -1; }
    // An event loop that waits on WaitHandle() says so here, and calls NoteChangesPending()
    // whenever the handle is readable: queries then no longer look at the handle themselves, so
    // that a quiet tick asks the kernel for nothing but what it must. False when there is no
    // handle to watch; SetWatched(false) makes every query look again (nobody watches).
    virtual bool SetWatched(bool watched) { return !watched; }
    // The watched handle is readable: what the machine says is taken in at once, so that the
    // handle is quiet again, and the next query reads what changed.
    virtual void NoteChangesPending() {}
    // Which boot of the machine the counters count from: they start again from 0 with the next
    // one, so counters kept across runs compare only within one boot. Empty when unknown.
    virtual std::string BootId() { return {}; }
};

// The backend the platform answers from: the Linux one unless another was installed. The caller
// keeps an installed backend alive until it installs another one or null (back to Linux).
NetBackend& CurrentNetBackend();
void InstallNetBackend(NetBackend* backend);

// The route that carries the destination (host byte order): the longest prefix, then the lowest
// metric, then the first listed. Null when none does.
const NetRoute* BestRoute(const std::vector<NetRoute>& routes, DWORD destination);

// "192.168.1.10" from 0xC0A8010A.
std::string FormatIpv4(DWORD address);
// A mask from a prefix length (0 to 32).
DWORD PrefixToMask(int prefixLength);

} // namespace platform
