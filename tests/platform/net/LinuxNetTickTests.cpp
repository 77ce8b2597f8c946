// How often the Linux backend asks the kernel: the counters once a tick, shared by every query
// of the tick; names, states, addresses and routes only when the kernel says they changed;
// lease folders only when their watch says so. Counted on a fake kernel, then seen on a real
// one in a network namespace of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <thread>
#include <utility>

#include <arpa/inet.h>
#include <linux/if.h>
#include <linux/if_arp.h>
#include <linux/rtnetlink.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/net/IpHelper.h"
#include "platform/net/linux/KernelSource.h"
#include "platform/net/linux/LinuxNetBackend.h"
#include "platform/sim/Scenario.h"
#include "support/TestSupport.h"

using namespace platform;
using namespace platform::linuxnet;
using testing_support::ScratchFolder;
using testing_support::VirtualClockScope;

namespace {

// The kernel as a script: its records are what the test sets, and every read is counted.
class CountingKernel final : public KernelSource {
public:
    struct Reads {
        int links = 0;
        int addresses = 0;
        int routes = 0;
        int counters = 0;
        bool operator==(const Reads&) const = default;
    };

    int DumpLinks(std::vector<KernelLink>& out) override
    {
        ++reads.links;
        if (failure == 0)
            out = links;
        return failure;
    }
    int DumpAddresses(std::vector<KernelAddress>& out) override
    {
        ++reads.addresses;
        out = addresses;
        return 0;
    }
    int DumpRoutes(std::vector<KernelRoute>& out) override
    {
        ++reads.routes;
        out = routes;
        return 0;
    }
    int ReadCounters(std::vector<LinkCounters>& out) override
    {
        ++reads.counters;
        out.clear();
        for (const KernelLink& link : links)
            out.push_back({ link.name, link.stats });
        return 0;
    }
    KernelChanges TakeChanges() override
    {
        ++takes;
        return std::exchange(changes, changes == KernelChanges::Some ? KernelChanges::None : changes);
    }
    int WaitHandle() const override { return handle; }

    // A notification, as the kernel sends one for a change.
    void Notify() { changes = KernelChanges::Some; }
    void SetCounters(const char* name, uint64_t rxBytes, uint64_t txBytes)
    {
        for (KernelLink& link : links)
            if (link.name == name) {
                link.stats.rxBytes = rxBytes;
                link.stats.txBytes = txBytes;
            }
    }

    std::vector<KernelLink> links;
    std::vector<KernelAddress> addresses;
    std::vector<KernelRoute> routes;
    KernelChanges changes = KernelChanges::None;
    int failure = 0;
    int handle = 42;
    Reads reads;
    int takes = 0; // looks at the notifications: one recv or more each on the real socket
};

KernelLink Link(int index, const char* name, unsigned short type = ARPHRD_ETHER)
{
    KernelLink link;
    link.index = index;
    link.name = name;
    link.type = type;
    link.flags = IFF_UP | IFF_RUNNING;
    link.operState = IF_OPER_UP;
    link.mtu = 1500;
    link.haveStats = true;
    return link;
}

// Files nowhere: only the kernel's records count here.
LinuxNetBackend::Sources Nowhere(const ScratchFolder& folder)
{
    LinuxNetBackend::Sources sources;
    sources.sysfs = folder.Path() / "none";
    sources.resolvConf = folder.Path() / "none";
    sources.resolvedUpstream = folder.Path() / "none";
    sources.leases.networkd = folder.Path() / "none";
    sources.leases.networkManager = folder.Path() / "none";
    sources.leases.dhclient = {};
    sources.leases.dhcpcd = folder.Path() / "none";
    return sources;
}

// A backend over a counting kernel with a LAN link, its address and default route.
struct FakeMachine {
    explicit FakeMachine()
    {
        auto owned = std::make_unique<CountingKernel>();
        kernel = owned.get();
        kernel->links = { Link(1, "lo", ARPHRD_LOOPBACK), Link(3, "eth0") };
        kernel->addresses = { { 3, 24, *ParseIpv4("192.0.2.10"), false } };
        kernel->routes = { { RT_TABLE_MAIN, RTN_UNICAST, 0, 0, *ParseIpv4("192.0.2.1"), 3, 0 } };
        kernel->SetCounters("eth0", 5000, 700);
        backend = std::make_unique<LinuxNetBackend>(Nowhere(folder), std::move(owned));
        InstallNetBackend(backend.get());
    }
    ~FakeMachine() { InstallNetBackend(nullptr); }

    ScratchFolder folder;
    CountingKernel* kernel = nullptr;
    std::unique_ptr<LinuxNetBackend> backend;
};

// What one tick of the item asks, in its order: the interface count, the interface table (a
// first call for the size, the call itself, the count again), the adapters likewise, the
// default route, and for the paint the count, the adapters and one adapter's name servers.
// The second interface's received and sent octets as the table gave them.
std::pair<DWORD, DWORD> OneTick()
{
    DWORD count = 0;
    EXPECT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    ULONG tableSize = 0;
    EXPECT_EQ(GetIfTable(nullptr, &tableSize, TRUE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    std::vector<uint64_t> table(tableSize / 8 + 1);
    EXPECT_EQ(GetIfTable(reinterpret_cast<MIB_IFTABLE*>(table.data()), &tableSize, TRUE), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    ULONG adaptersSize = 0;
    EXPECT_EQ(GetAdaptersInfo(nullptr, &adaptersSize), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    std::vector<uint64_t> adapters(adaptersSize / 8 + 1);
    EXPECT_EQ(GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(adapters.data()), &adaptersSize), static_cast<DWORD>(NO_ERROR));
    DWORD best = 0;
    EXPECT_EQ(GetBestInterface(0, &best), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(adapters.data()), &adaptersSize), static_cast<DWORD>(NO_ERROR));
    ULONG perSize = 0;
    EXPECT_EQ(GetPerAdapterInfo(best, nullptr, &perSize), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    // Through a pointer: the rows run on past the one that the structure declares.
    const MIB_IFROW* rows = reinterpret_cast<MIB_IFTABLE*>(table.data())->table;
    const MIB_IFROW& row = rows[1];
    return { row.dwInOctets, row.dwOutOctets };
}

// `ip ARGS` in the calling thread's network namespace: true when it did it.
bool Ip(const std::string& args)
{
    return std::system(("ip " + args + " > /dev/null 2>&1").c_str()) == 0;
}

// Runs the body on a thread of its own inside a new network namespace. The reason when this
// process may not make one.
std::string InOwnNetworkNamespace(const std::function<void()>& body)
{
    std::string refused;
    std::thread thread([&] {
        if (unshare(CLONE_NEWNET) != 0) {
            refused = std::string("a network namespace of its own needs CAP_SYS_ADMIN (run as root or under unshare -rn): ")
                + std::strerror(errno);
            return;
        }
        body();
    });
    thread.join();
    return refused;
}

bool Readable(int fd)
{
    pollfd entry { fd, POLLIN, 0 };
    return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

const NetInterface* Find(const NetSnapshot& snapshot, const std::string& name)
{
    for (const NetInterface& entry : snapshot.interfaces)
        if (entry.systemName == name)
            return &entry;
    return nullptr;
}

std::vector<std::string> Names(const NetSnapshot& snapshot)
{
    std::vector<std::string> names;
    for (const NetInterface& entry : snapshot.interfaces)
        names.push_back(entry.systemName);
    return names;
}

} // namespace

TEST(LinuxNetTick, OneCounterReadATickAndNoDumpWhileNothingChanged)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;

    // The first tick reads everything once; the counters come with the links.
    EXPECT_EQ(OneTick(), std::make_pair(DWORD(5000), DWORD(700)));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 0 }));

    // Later ticks read the counters once each and nothing else.
    kernel.SetCounters("eth0", 0x1'0000'1F40ull, 0xFFFF'FFFFull); // past 2^32 received; the upper edge sent
    time.Clock().AdvanceMs(1000);
    EXPECT_EQ(OneTick(), std::make_pair(DWORD(0x1F40), DWORD(0xFFFFFFFF)));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 1 }));
    kernel.SetCounters("eth0", 0x1'0000'2000ull, 0x1'0000'0003ull);
    time.Clock().AdvanceMs(1000);
    EXPECT_EQ(OneTick(), std::make_pair(DWORD(0x2000), DWORD(3)));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 2 }));
}

TEST(LinuxNetTick, QueriesWithinAQuarterSecondShareOneCounterRead)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    NetSnapshot snapshot;
    ASSERT_EQ(machine.backend->Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].inOctets, 5000u);

    kernel.SetCounters("eth0", 9000, 800);
    time.Clock().AdvanceMs(LinuxNetBackend::kCounterShareMs - 1);
    ASSERT_EQ(machine.backend->Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].inOctets, 5000u);
    EXPECT_EQ(snapshot.interfaces[1].outOctets, 700u);
    EXPECT_EQ(kernel.reads.counters, 0);

    time.Clock().AdvanceMs(1);
    ASSERT_EQ(machine.backend->Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].inOctets, 9000u);
    EXPECT_EQ(snapshot.interfaces[1].outOctets, 800u);
    EXPECT_EQ(kernel.reads.counters, 1);
    // A query that does not want counters does not read them, however late.
    time.Clock().AdvanceMs(5000);
    ASSERT_EQ(machine.backend->Query(kNetLinks | kNetAddresses | kNetRoutes | kNetResolvers, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 1 }));
}

TEST(LinuxNetTick, ALinkThatAppearsDisappearsOrChangesAddressIsSeenAtTheNextTick)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    NetSnapshot snapshot;
    ASSERT_EQ(machine.backend->Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0" }));

    // Appears, between the kernel's index of eth0 and beyond it.
    kernel.links.insert(kernel.links.begin() + 1, Link(2, "wlan0"));
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    DWORD count = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 3u);
    // The routes come with the links: the default route's link is numbered first.
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 2, 1, 2, 0 }));
    // The same notification makes addresses be read again when next asked for.
    ASSERT_EQ(machine.backend->Query(kNetAddresses, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0", "wlan0" }));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 2, 2, 2, 0 }));

    // Changes address.
    kernel.addresses = { { 3, 28, *ParseIpv4("198.51.100.77"), false } };
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    ASSERT_EQ(machine.backend->Query(kNetAddresses, snapshot), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(snapshot.interfaces[1].addresses.size(), 1u);
    EXPECT_EQ(snapshot.interfaces[1].addresses[0].address, *ParseIpv4("198.51.100.77"));
    EXPECT_EQ(snapshot.interfaces[1].addresses[0].mask, 0xFFFFFFF0u);

    // Disappears.
    kernel.links.erase(kernel.links.begin() + 1);
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    ASSERT_EQ(machine.backend->Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0" }));
    EXPECT_EQ(snapshot.interfaces[1].index, 2u);
}

TEST(LinuxNetTick, ALinkSeenInTheCountersBeforeItsNotificationIsReadAtOnce)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    NetSnapshot snapshot;
    ASSERT_EQ(machine.backend->Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));

    // The link came after the notifications were drained: the counter read shows it.
    kernel.links.push_back(Link(7, "usb0"));
    time.Clock().AdvanceMs(1000);
    ASSERT_EQ(machine.backend->Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0", "usb0" }));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 2, 1, 2, 1 }));
    // Its addresses are read again too, when asked for.
    ASSERT_EQ(machine.backend->Query(kNetAddresses | kNetRoutes, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 2, 2, 2, 1 }));
}

TEST(LinuxNetTick, WithoutNotificationsNothingCanBeWatchedAndEverythingIsReadOnceATick)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    kernel.handle = -1;
    kernel.changes = KernelChanges::Unknown;
    EXPECT_FALSE(machine.backend->SetWatched(true));
    OneTick();
    EXPECT_GE(kernel.takes, 5);
    OneTick();
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 0 }));
    kernel.links.push_back(Link(7, "usb0"));
    time.Clock().AdvanceMs(1000);
    OneTick();
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 2, 2, 2, 0 }));
    DWORD count = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 3u);
}

TEST(LinuxNetTick, AFailedReadIsTheCallsErrorAndIsTriedAgainAtTheNextCall)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    kernel.failure = EACCES;
    DWORD count = 99;
    EXPECT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 99u);
    kernel.failure = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(kernel.reads.links, 2);
    EXPECT_EQ(machine.backend->WaitHandle(), 42);
}

TEST(LeaseFiles, FoldersAreLookedAtAgainOnlyWhenSomethingInThemChanged)
{
    ScratchFolder folder;
    LeaseFiles::Folders folders;
    folders.networkd = folder.Path() / "networkd";
    folders.networkManager = folder.Path() / "nm";
    folders.dhclient = { folder.Path() / "dhcp" };
    folders.dhcpcd = folder.Path() / "dhcpcd";
    std::filesystem::create_directories(folders.networkd);
    LeaseFiles leases(folders);
    if (!leases.Watching())
        GTEST_SKIP() << "inotify is not available here";
    for (int tick = 0; tick < 3; ++tick)
        leases.Refresh();
    EXPECT_EQ(leases.ScanCount(), 1);
    std::ofstream(folders.networkd / "4") << "ADDRESS=192.0.2.2\nLIFETIME=600\n";
    leases.Refresh();
    leases.Refresh();
    EXPECT_EQ(leases.ScanCount(), 2);
    EXPECT_EQ(leases.ParseCount(), 1);
    EXPECT_TRUE(leases.Find(4, "eth0", { *ParseIpv4("192.0.2.2") }).has_value());
}

// A watched backend: the event loop takes the notifications in when the socket becomes
// readable, and the tick's queries never look at the socket themselves.
TEST(LinuxNetTick, WatchedQueriesLeaveTheNotificationsToTheWatchAndSeeWhatItTookIn)
{
    VirtualClockScope time;
    FakeMachine machine;
    CountingKernel& kernel = *machine.kernel;
    LinuxNetBackend& backend = *machine.backend;
    ASSERT_TRUE(backend.SetWatched(true));
    OneTick();
    for (int tick = 0; tick < 4; ++tick) {
        kernel.SetCounters("eth0", 6000u + 1500u * static_cast<unsigned>(tick), 900);
        time.Clock().AdvanceMs(1000);
        EXPECT_EQ(OneTick(), std::make_pair(DWORD(6000 + 1500 * tick), DWORD(900)));
    }
    EXPECT_EQ(kernel.takes, 0);
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 4 }));

    // A notification the watch has not reported yet stays where it is.
    kernel.links.push_back(Link(6, "wlan0"));
    kernel.Notify();
    NetSnapshot snapshot;
    ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0" }));
    EXPECT_EQ(kernel.takes, 0);

    // Appears: seen at the query after the watch fired, within the same second.
    backend.NoteChangesPending();
    EXPECT_EQ(kernel.takes, 1);
    DWORD count = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 3u);
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "eth0", "wlan0" }));
    EXPECT_EQ(snapshot.interfaces[2].index, 3u);

    // Changes address: the new one, with its own mask.
    kernel.addresses = { { 3, 28, *ParseIpv4("198.51.100.77"), false }, { 6, 16, *ParseIpv4("172.16.9.201"), false } };
    kernel.Notify();
    backend.NoteChangesPending();
    time.Clock().AdvanceMs(1000);
    ASSERT_EQ(backend.Query(kNetAddresses, snapshot), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(snapshot.interfaces[1].addresses.size(), 1u);
    EXPECT_EQ(snapshot.interfaces[1].addresses[0].address, *ParseIpv4("198.51.100.77"));
    EXPECT_EQ(snapshot.interfaces[1].addresses[0].mask, 0xFFFFFFF0u);
    ASSERT_EQ(snapshot.interfaces[2].addresses.size(), 1u);
    EXPECT_EQ(snapshot.interfaces[2].addresses[0].address, *ParseIpv4("172.16.9.201"));

    // Goes: the eth0 link, so that wlan0 moves down to its index.
    kernel.links.erase(kernel.links.begin() + 1);
    kernel.routes.clear();
    kernel.Notify();
    backend.NoteChangesPending();
    time.Clock().AdvanceMs(1000);
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    ASSERT_EQ(backend.Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(Names(snapshot), (std::vector<std::string> { "lo", "wlan0" }));
    EXPECT_EQ(snapshot.interfaces[1].index, 2u);
    EXPECT_EQ(kernel.takes, 3);

    // Nobody watches any more: each query looks again.
    ASSERT_TRUE(backend.SetWatched(false));
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(kernel.takes, 5);
}

// The tick's queries share one composed snapshot, but what the files say still shows at the next
// query when the kernel's records did not change.
TEST(LinuxNetTick, NameServersAndLeasesThatChangeShowWithoutAnyKernelChange)
{
    VirtualClockScope time;
    FakeMachine machine;
    ScratchFolder files;
    LinuxNetBackend::Sources sources = Nowhere(files);
    sources.resolvConf = files.Path() / "resolv.conf";
    sources.leases.networkd = files.Path() / "leases";
    std::filesystem::create_directories(sources.leases.networkd);
    std::ofstream(sources.resolvConf) << "nameserver 192.0.2.53\n";
    auto owned = std::make_unique<CountingKernel>();
    CountingKernel& kernel = *owned;
    kernel.links = machine.kernel->links;
    kernel.addresses = machine.kernel->addresses;
    kernel.routes = machine.kernel->routes;
    LinuxNetBackend backend(sources, std::move(owned));
    ASSERT_TRUE(backend.SetWatched(true));

    NetSnapshot snapshot;
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].dnsServers, std::vector<DWORD> { *ParseIpv4("192.0.2.53") });
    EXPECT_FALSE(snapshot.interfaces[1].lease.enabled);
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].dnsServers, std::vector<DWORD> { *ParseIpv4("192.0.2.53") });

    std::ofstream(sources.resolvConf) << "nameserver 203.0.113.7\nnameserver 198.51.100.254\n";
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(snapshot.interfaces[1].dnsServers, (std::vector<DWORD> { *ParseIpv4("203.0.113.7"), *ParseIpv4("198.51.100.254") }));
    EXPECT_FALSE(snapshot.interfaces[1].lease.enabled);

    std::ofstream(sources.leases.networkd / "3") << "ADDRESS=192.0.2.10\nSERVER_ADDRESS=192.0.2.1\nLIFETIME=86400\n";
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
    EXPECT_TRUE(snapshot.interfaces[1].lease.enabled);
    EXPECT_EQ(snapshot.interfaces[1].lease.server, *ParseIpv4("192.0.2.1"));
    EXPECT_EQ(kernel.reads, (CountingKernel::Reads { 1, 1, 1, 0 }));
    EXPECT_EQ(kernel.takes, 0);
}

// --- a kernel of the test's own ------------------------------------------------------------

TEST(LinuxNetTickNamespace, LinksAddressesAndTrafficThatChangeBetweenTicksAreSeenAtTheNextTick)
{
    if (!Ip("-V"))
        GTEST_SKIP() << "needs ip (iproute2) to change the namespace's links";
    VirtualClockScope time;
    ScratchFolder folder;
    std::string refused = InOwnNetworkNamespace([&] {
        ASSERT_TRUE(Ip("link set lo up"));
        LinuxNetBackend backend(Nowhere(folder));
        NetSnapshot snapshot;
        ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(Names(snapshot), std::vector<std::string> { "lo" });
        ASSERT_GE(backend.WaitHandle(), 0);
        EXPECT_FALSE(Readable(backend.WaitHandle()));

        // Appears: the wait handle says so before any query does.
        ASSERT_TRUE(Ip("link add vlm0 type veth peer name vlm1"));
        EXPECT_TRUE(Readable(backend.WaitHandle()));
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
        std::vector<std::string> names = Names(snapshot);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string> { "lo", "vlm0", "vlm1" }));
        EXPECT_FALSE(Readable(backend.WaitHandle()));

        // An address, then another one in its place.
        ASSERT_TRUE(Ip("address add 10.77.0.1/24 dev vlm0"));
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetAddresses, snapshot), static_cast<DWORD>(NO_ERROR));
        ASSERT_NE(Find(snapshot, "vlm0"), nullptr);
        ASSERT_EQ(Find(snapshot, "vlm0")->addresses.size(), 1u);
        EXPECT_EQ(Find(snapshot, "vlm0")->addresses[0].address, *ParseIpv4("10.77.0.1"));
        ASSERT_TRUE(Ip("address replace 10.77.0.250/28 dev vlm0"));
        ASSERT_TRUE(Ip("address del 10.77.0.1/24 dev vlm0"));
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetAddresses, snapshot), static_cast<DWORD>(NO_ERROR));
        ASSERT_EQ(Find(snapshot, "vlm0")->addresses.size(), 1u);
        EXPECT_EQ(Find(snapshot, "vlm0")->addresses[0].address, *ParseIpv4("10.77.0.250"));
        EXPECT_EQ(Find(snapshot, "vlm0")->addresses[0].mask, 0xFFFFFFF0u);

        // Disappears, with its peer.
        ASSERT_TRUE(Ip("link del vlm0"));
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(Names(snapshot), std::vector<std::string> { "lo" });

        // Watched, as the host's event loop watches it: the loop's look takes the notification
        // in and quiets the handle, and the next query sees the link.
        ASSERT_TRUE(backend.SetWatched(true));
        ASSERT_TRUE(Ip("link add vlm7 type veth peer name vlm8"));
        ASSERT_TRUE(Readable(backend.WaitHandle()));
        backend.NoteChangesPending();
        EXPECT_FALSE(Readable(backend.WaitHandle()));
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
        names = Names(snapshot);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string> { "lo", "vlm7", "vlm8" }));
        ASSERT_TRUE(Ip("link del vlm7"));
        ASSERT_TRUE(Readable(backend.WaitHandle()));
        backend.NoteChangesPending();
        ASSERT_TRUE(backend.SetWatched(false));

        // Traffic shows at the next tick, not within this one.
        ASSERT_EQ(backend.Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
        uint64_t received = snapshot.interfaces[0].inOctets;
        int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        ASSERT_EQ(bind(udp, reinterpret_cast<sockaddr*>(&address), length), 0);
        getsockname(udp, reinterpret_cast<sockaddr*>(&address), &length);
        std::vector<char> payload(1000, 'v');
        ASSERT_EQ(sendto(udp, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&address), length), 1000);
        close(udp);
        ASSERT_EQ(backend.Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(snapshot.interfaces[0].inOctets, received);
        time.Clock().AdvanceMs(1000);
        ASSERT_EQ(backend.Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
        EXPECT_GE(snapshot.interfaces[0].inOctets, received + 1000);
    });
    if (!refused.empty())
        GTEST_SKIP() << refused;
}

// A host with containers: 40 virtual links made before its one physical adapter, which carries
// the default route. The item's loops, which stop at index 20, must still reach the adapter,
// and every link must keep its index from tick to tick while nothing changes.
TEST(LinuxNetTick, TheDefaultRouteAndPhysicalLinksComeBeforeFortyVirtualOnesAndKeepTheirIndexes)
{
    VirtualClockScope time;
    ScratchFolder folder;
    LinuxNetBackend::Sources sources = Nowhere(folder);
    sources.sysfs = folder.Path() / "class-net";
    auto physical = [&](const char* name) {
        std::filesystem::create_directories(folder.Path() / "devices" / name);
        std::filesystem::create_directories(sources.sysfs / name);
        std::filesystem::create_directory_symlink(folder.Path() / "devices" / name, sources.sysfs / name / "device");
    };
    physical("eth0");
    physical("wlan0");
    auto owned = std::make_unique<CountingKernel>();
    CountingKernel& kernel = *owned;
    kernel.links = { Link(1, "lo", ARPHRD_LOOPBACK) };
    for (int i = 0; i < 40; ++i) {
        KernelLink link = Link(2 + i, i % 4 == 0 ? ("br-" + std::to_string(i)).c_str() : ("veth" + std::to_string(i)).c_str());
        link.kind = i % 4 == 0 ? "bridge" : "veth";
        kernel.links.push_back(link);
    }
    // The wireless adapter comes last of all, without the default route; a VPN tunnel among
    // the virtual links has a default route of a worse metric.
    kernel.links.push_back(Link(42, "eth0"));
    kernel.links.push_back(Link(57, "wlan0"));
    kernel.routes = { { RT_TABLE_MAIN, RTN_UNICAST, 0, 0, 0, 7, 600 },
        { RT_TABLE_MAIN, RTN_UNICAST, 0, 0, *ParseIpv4("192.0.2.1"), 42, 100 } };
    kernel.SetCounters("eth0", 0xFFFF'FFFFull, 123);
    LinuxNetBackend backend(sources, std::move(owned));
    InstallNetBackend(&backend);

    auto indexes = [&] {
        NetSnapshot snapshot;
        EXPECT_EQ(backend.Query(kNetCounters, snapshot), static_cast<DWORD>(NO_ERROR));
        std::map<std::string, DWORD> byName;
        for (const NetInterface& entry : snapshot.interfaces)
            byName[entry.systemName] = entry.index;
        return byName;
    };
    std::map<std::string, DWORD> first = indexes();
    ASSERT_EQ(first.size(), 43u);
    EXPECT_EQ(first["lo"], 1u);
    EXPECT_EQ(first["eth0"], 2u);
    EXPECT_EQ(first["wlan0"], 3u);
    EXPECT_EQ(first["br-0"], 4u);
    EXPECT_EQ(first["veth1"], 5u);
    EXPECT_EQ(first["veth39"], 43u);

    // What the item's loops see: the adapter within their reach, and the best route's.
    EXPECT_EQ(OneTick(), std::make_pair(DWORD(0xFFFFFFFF), DWORD(123))); // the row of index 2
    DWORD best = 0;
    ASSERT_EQ(GetBestInterface(0, &best), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(best, 2u);

    // Ticks with traffic, and a notification that changed nothing: the same indexes.
    for (int tick = 0; tick < 3; ++tick) {
        kernel.SetCounters("veth39", 1000u * static_cast<unsigned>(tick + 1), 7);
        time.Clock().AdvanceMs(1000);
        OneTick();
        EXPECT_EQ(indexes(), first);
    }
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    EXPECT_EQ(indexes(), first);

    // A container starts: its link goes after the others; nobody else moves.
    kernel.links.push_back(Link(80, "veth80"));
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    std::map<std::string, DWORD> grown = indexes();
    EXPECT_EQ(grown["veth80"], 44u);
    grown.erase("veth80");
    EXPECT_EQ(grown, first);

    // The default route moves to the wireless adapter: it comes first, the wired one next.
    kernel.routes[1].outputIndex = 57;
    kernel.Notify();
    time.Clock().AdvanceMs(1000);
    std::map<std::string, DWORD> moved = indexes();
    EXPECT_EQ(moved["wlan0"], 2u);
    EXPECT_EQ(moved["eth0"], 3u);
    EXPECT_EQ(moved["br-0"], 4u);
    InstallNetBackend(nullptr);
}
