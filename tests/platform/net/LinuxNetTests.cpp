// The Linux backend: the parsers of the kernel's messages and of the DHCP clients' and
// resolver's files, the adapter naming, and the live backend checked against the machine
// through other doors (getifaddrs, /proc/net/route, /sys).
#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <ifaddrs.h>
#include <linux/if_addr.h>
#include <linux/if_arp.h>
#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/if.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

#include "platform/core/StopRequest.h"
#include "platform/net/AdapterNaming.h"
#include "platform/net/IpHelper.h"
#include "platform/net/linux/DhcpClientControl.h"
#include "platform/net/linux/LeaseFiles.h"
#include "platform/net/linux/LinuxNetBackend.h"
#include "platform/net/linux/Netlink.h"
#include "platform/net/linux/ResolverConfig.h"
#include "platform/net/linux/SysfsLinks.h"
#include "platform/sim/Scenario.h"
#include "platform/text/WideString.h"
#include "support/TestSupport.h"

using namespace platform;
using namespace platform::linuxnet;

namespace {

// Builds rtnetlink messages the way the kernel lays them out.
class MessageBuilder {
public:
    template <typename Header>
    void Begin(uint16_t type, const Header& header)
    {
        m_start = m_bytes.size();
        nlmsghdr message {};
        message.nlmsg_type = type;
        Append(&message, sizeof(message));
        Append(&header, sizeof(header));
        Pad();
    }
    void Attribute(uint16_t type, const void* data, size_t size)
    {
        rtattr attribute {};
        attribute.rta_type = type;
        attribute.rta_len = static_cast<unsigned short>(sizeof(rtattr) + size);
        Append(&attribute, sizeof(attribute));
        Append(data, size);
        Pad();
    }
    void U32(uint16_t type, uint32_t value) { Attribute(type, &value, 4); }
    void Ipv4(uint16_t type, const char* text)
    {
        uint32_t value = htonl(*ParseIpv4(text));
        Attribute(type, &value, 4);
    }
    void Text(uint16_t type, const std::string& text) { Attribute(type, text.c_str(), text.size() + 1); }
    void End()
    {
        uint32_t length = static_cast<uint32_t>(m_bytes.size() - m_start);
        std::memcpy(m_bytes.data() + m_start, &length, 4);
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t>& Bytes() { return m_bytes; }

private:
    void Append(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    void Pad()
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    std::vector<uint8_t> m_bytes;
    size_t m_start = 0;
};

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

void SetMtime(const std::filesystem::path& path, int64_t seconds)
{
    timeval times[2] = { { seconds, 0 }, { seconds, 0 } };
    utimes(path.c_str(), times);
}

std::string ReadSys(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

TEST(AdapterNaming, LinuxNamesBecomeDriverKeysThatNeverEndInOne)
{
    EXPECT_EQ(LinuxAdapterName("eth0"), L"ETH01");
    EXPECT_EQ(LinuxDriverKey("eth0"), L"ETH0");
    EXPECT_EQ(LinuxDriverKey("eth1"), L"ETH1#");
    EXPECT_EQ(LinuxAdapterName("eth1"), L"ETH1#1");
    EXPECT_EQ(LinuxAdapterName("wlp2s0"), L"WLP2S01");
    EXPECT_EQ(LinuxAdapterName("br-lan.10_x"), L"BR-LAN.10_X1");
    // Upper case, blanks and backslashes are escaped, so that names differing in case stay
    // apart and no name can hold a registry path separator.
    EXPECT_EQ(LinuxAdapterName("ETH0"), L"%45%54%480" L"1");
    EXPECT_EQ(LinuxAdapterName("a\\b"), L"A%5CB1");
    // Never the dial-up adapter's name, whatever the letter case.
    EXPECT_EQ(LinuxAdapterName("ppp"), L"PPP#1");
    EXPECT_EQ(LinuxAdapterName("ppp1"), L"PPP1#1");
}

TEST(AdapterNaming, TheMappingIsUndoneAndRefusesOtherTexts)
{
    for (const char* name : { "eth0", "eth1", "ppp", "ETH0", "x%y", "wg0#", "a\\b", "veth1a2b", "1" }) {
        std::optional<std::string> back = LinuxNameOfAdapter(LinuxAdapterName(name));
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_EQ(*back, name);
        // The device compares names ignoring case.
        EXPECT_EQ(LinuxNameOfAdapter(WideToLower(LinuxAdapterName(name))), back) << name;
    }
    for (const wchar_t* text : { L"", L"1", L"NE2000", L"ppp1", L"ETH1" L"1", L"%G01", L"%4", L"eth 01", L"USB Cable:" })
        EXPECT_FALSE(LinuxNameOfAdapter(text).has_value()) << WideToUtf8(text);
}

TEST(NetlinkParsing, LinksWithCountersKindAndAddress)
{
    MessageBuilder builder;
    ifinfomsg info {};
    info.ifi_index = 4;
    info.ifi_type = ARPHRD_ETHER;
    info.ifi_flags = IFF_UP | IFF_RUNNING;
    builder.Begin(RTM_NEWLINK, info);
    builder.Text(IFLA_IFNAME, "eth0");
    builder.U32(IFLA_MTU, 1400);
    uint8_t mac[6] = { 0x02, 0xFC, 0, 0, 0, 1 };
    builder.Attribute(IFLA_ADDRESS, mac, sizeof(mac));
    uint8_t oper = IF_OPER_UP;
    builder.Attribute(IFLA_OPERSTATE, &oper, 1);
    rtnl_link_stats64 stats {};
    stats.rx_bytes = 0x1'2345'6789ull;
    stats.tx_bytes = 42;
    stats.rx_packets = 10;
    stats.multicast = 3;
    builder.Attribute(IFLA_STATS64, &stats, sizeof(stats));
    MessageBuilder inner;
    {
        // A nested link-info attribute holding the kind.
        rtattr kind {};
        kind.rta_type = IFLA_INFO_KIND;
        kind.rta_len = sizeof(rtattr) + 7;
        std::vector<uint8_t> nested(sizeof(rtattr) + 8, 0);
        std::memcpy(nested.data(), &kind, sizeof(kind));
        std::memcpy(nested.data() + sizeof(rtattr), "bridge", 7);
        builder.Attribute(IFLA_LINKINFO, nested.data(), nested.size());
    }
    builder.End();
    ifinfomsg loopback {};
    loopback.ifi_index = 1;
    loopback.ifi_type = ARPHRD_LOOPBACK;
    builder.Begin(RTM_NEWLINK, loopback);
    builder.Text(IFLA_IFNAME, "lo");
    builder.End();

    std::vector<KernelLink> links = ParseLinkMessages(builder.Bytes().data(), builder.Bytes().size());
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].index, 4);
    EXPECT_EQ(links[0].name, "eth0");
    EXPECT_EQ(links[0].mtu, 1400u);
    EXPECT_EQ(links[0].hardwareAddress, std::vector<uint8_t>(mac, mac + 6));
    EXPECT_EQ(links[0].operState, IF_OPER_UP);
    EXPECT_EQ(links[0].kind, "bridge");
    EXPECT_TRUE(links[0].haveStats);
    EXPECT_EQ(links[0].stats.rxBytes, 0x1'2345'6789ull);
    EXPECT_EQ(links[0].stats.txBytes, 42u);
    EXPECT_EQ(links[0].stats.multicast, 3u);
    EXPECT_EQ(links[1].name, "lo");
    EXPECT_FALSE(links[1].haveStats);

    // A message cut short is dropped with everything after it; nothing is read past the end.
    std::vector<uint8_t> cut(builder.Bytes().begin(), builder.Bytes().end() - 3);
    EXPECT_EQ(ParseLinkMessages(cut.data(), cut.size()).size(), 1u);
}

TEST(NetlinkParsing, AnAttributeClaimingMoreThanItsMessageEndsThatMessagesAttributesOnly)
{
    MessageBuilder builder;
    ifinfomsg info {};
    info.ifi_index = 4;
    builder.Begin(RTM_NEWLINK, info);
    builder.Text(IFLA_IFNAME, "eth0");
    rtnl_link_stats64 stats {};
    stats.rx_dropped = 5;
    stats.rx_missed_errors = 7;
    stats.tx_dropped = 3;
    builder.Attribute(IFLA_STATS64, &stats, sizeof(stats));
    // Claims the bytes of the next message as its own.
    size_t overlong = builder.Bytes().size();
    builder.U32(IFLA_MTU, 1400);
    builder.End();
    size_t firstEnd = builder.Bytes().size();
    unsigned short claimed = 40;
    std::memcpy(builder.Bytes().data() + overlong, &claimed, sizeof(claimed));
    info.ifi_index = 5;
    builder.Begin(RTM_NEWLINK, info);
    builder.Text(IFLA_IFNAME, "eth1");
    builder.U32(IFLA_MTU, 9000);
    builder.End();
    ASSERT_GT(overlong + claimed, firstEnd);
    ASSERT_LE(overlong + claimed, builder.Bytes().size());

    std::vector<KernelLink> links = ParseLinkMessages(builder.Bytes().data(), builder.Bytes().size());
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].name, "eth0");
    EXPECT_EQ(links[0].mtu, 0u);
    // Missed packets count as dropped, as /proc/net/dev counts them.
    EXPECT_EQ(links[0].stats.rxDropped, 12u);
    EXPECT_EQ(links[0].stats.txDropped, 3u);
    EXPECT_EQ(links[1].name, "eth1");
    EXPECT_EQ(links[1].mtu, 9000u);
}

TEST(NetlinkParsing, AddressesPreferTheLocalAddressAndMarkSecondaries)
{
    MessageBuilder builder;
    ifaddrmsg info {};
    info.ifa_family = AF_INET;
    info.ifa_prefixlen = 24;
    info.ifa_index = 4;
    builder.Begin(RTM_NEWADDR, info);
    builder.Ipv4(IFA_ADDRESS, "192.0.2.2");
    builder.End();
    info.ifa_flags = IFA_F_SECONDARY;
    info.ifa_prefixlen = 32;
    info.ifa_index = 7;
    builder.Begin(RTM_NEWADDR, info);
    builder.Ipv4(IFA_ADDRESS, "10.64.0.1"); // the peer of a point-to-point link
    builder.Ipv4(IFA_LOCAL, "10.64.0.2");
    builder.End();
    ifaddrmsg six {};
    six.ifa_family = AF_INET6;
    builder.Begin(RTM_NEWADDR, six);
    builder.End();

    std::vector<KernelAddress> addresses = ParseAddressMessages(builder.Bytes().data(), builder.Bytes().size());
    ASSERT_EQ(addresses.size(), 2u);
    EXPECT_EQ(addresses[0].address, *ParseIpv4("192.0.2.2"));
    EXPECT_EQ(addresses[0].prefixLength, 24);
    EXPECT_FALSE(addresses[0].secondary);
    EXPECT_EQ(addresses[1].address, *ParseIpv4("10.64.0.2"));
    EXPECT_TRUE(addresses[1].secondary);
}

TEST(NetlinkParsing, RoutesWithGatewaysMetricsAndMultipath)
{
    MessageBuilder builder;
    rtmsg route {};
    route.rtm_family = AF_INET;
    route.rtm_table = RT_TABLE_MAIN;
    route.rtm_type = RTN_UNICAST;
    builder.Begin(RTM_NEWROUTE, route);
    builder.Ipv4(RTA_GATEWAY, "192.0.2.1");
    builder.U32(RTA_OIF, 4);
    builder.U32(RTA_PRIORITY, 100);
    builder.End();
    route.rtm_dst_len = 8;
    builder.Begin(RTM_NEWROUTE, route);
    builder.Ipv4(RTA_DST, "10.0.0.0");
    std::vector<uint8_t> hop(sizeof(rtnexthop));
    rtnexthop first {};
    first.rtnh_ifindex = 9;
    MessageBuilder gateway;
    rtattr attribute {};
    attribute.rta_type = RTA_GATEWAY;
    attribute.rta_len = sizeof(rtattr) + 4;
    uint32_t address = htonl(*ParseIpv4("10.9.9.9"));
    first.rtnh_len = sizeof(rtnexthop) + sizeof(rtattr) + 4;
    std::memcpy(hop.data(), &first, sizeof(first));
    hop.insert(hop.end(), reinterpret_cast<uint8_t*>(&attribute), reinterpret_cast<uint8_t*>(&attribute) + sizeof(attribute));
    hop.insert(hop.end(), reinterpret_cast<uint8_t*>(&address), reinterpret_cast<uint8_t*>(&address) + 4);
    builder.Attribute(RTA_MULTIPATH, hop.data(), hop.size());
    builder.End();

    std::vector<KernelRoute> routes = ParseRouteMessages(builder.Bytes().data(), builder.Bytes().size());
    ASSERT_EQ(routes.size(), 2u);
    EXPECT_EQ(routes[0].prefixLength, 0);
    EXPECT_EQ(routes[0].gateway, *ParseIpv4("192.0.2.1"));
    EXPECT_EQ(routes[0].outputIndex, 4);
    EXPECT_EQ(routes[0].priority, 100u);
    EXPECT_EQ(routes[0].table, static_cast<uint32_t>(RT_TABLE_MAIN));
    EXPECT_EQ(routes[1].destination, *ParseIpv4("10.0.0.0"));
    EXPECT_EQ(routes[1].outputIndex, 9);
    EXPECT_EQ(routes[1].gateway, *ParseIpv4("10.9.9.9"));
}

TEST(ResolverConfigParsing, NameserversInOrderIPv4Only)
{
    EXPECT_EQ(ParseResolvConf("# generated\nsearch example\nnameserver 10.255.255.53\n"
                              "  nameserver\t8.8.8.8  # google\nnameserver ::1\nnameserver 1.2.3\nnameservers 9.9.9.9\n"
                              "nameserver 1.1.1.1"),
        (std::vector<uint32_t> { *ParseIpv4("10.255.255.53"), *ParseIpv4("8.8.8.8"), *ParseIpv4("1.1.1.1") }));
    EXPECT_TRUE(ParseResolvConf("").empty());
}

TEST(ResolverConfigParsing, ResolvedStubIsLookedThroughAndUnchangedFilesAreNotParsedAgain)
{
    testing_support::ScratchFolder folder;
    auto main = folder.Path() / "resolv.conf";
    auto upstream = folder.Path() / "upstream.conf";
    WriteFile(main, "nameserver 127.0.0.53\noptions edns0\n");
    WriteFile(upstream, "nameserver 192.168.1.1\n");
    ResolverConfig resolver(main, upstream);
    EXPECT_EQ(resolver.Servers(), std::vector<uint32_t> { *ParseIpv4("192.168.1.1") });
    EXPECT_EQ(resolver.Servers(), std::vector<uint32_t> { *ParseIpv4("192.168.1.1") });
    EXPECT_EQ(resolver.ParseCount(), 2);
    WriteFile(main, "nameserver 9.9.9.9\n");
    EXPECT_EQ(resolver.Servers(), std::vector<uint32_t> { *ParseIpv4("9.9.9.9") });
    EXPECT_EQ(resolver.ParseCount(), 3);
    std::filesystem::remove(main);
    EXPECT_TRUE(resolver.Servers().empty());
}

TEST(LeaseParsing, KeyValueLeaseOfNetworkdAndNetworkManager)
{
    std::optional<ParsedLease> lease = ParseKeyValueLease(
        "# This is private data. Do not parse.\nADDRESS=192.168.1.50\nNETMASK=255.255.255.0\nROUTER=192.168.1.1\n"
        "SERVER_ADDRESS=192.168.1.1\nT1=1800\nT2=3150\nLIFETIME=3600\nDNS=192.168.1.1\n");
    ASSERT_TRUE(lease.has_value());
    EXPECT_EQ(lease->address, *ParseIpv4("192.168.1.50"));
    EXPECT_EQ(lease->server, *ParseIpv4("192.168.1.1"));
    EXPECT_EQ(lease->lifetime, 3600);
    EXPECT_FALSE(ParseKeyValueLease("SERVER_ADDRESS=1.2.3.4\n").has_value());
}

TEST(LeaseParsing, DhclientBlocksWithUtcAndEpochTimes)
{
    std::vector<ParsedLease> leases = ParseDhclientLeases(R"(default-duid "\000\001";
lease6 { interface "eth0"; ia-na 1 { iaaddr fd00::5 { max-life 100; } } }
lease {
  interface "eth0";
  fixed-address 192.168.1.50;
  option subnet-mask 255.255.255.0;
  option dhcp-lease-time 86400;
  option dhcp-server-identifier 192.168.1.1;
  renew 2 2006/03/07 01:00:00;
  expire 3 2006/03/08 14:05:09;
}
lease {
  interface "wlan0";
  fixed-address 10.0.0.9;
  expire epoch 1141740309; # Tue Mar  7 14:05:09 2006
}
lease { interface "eth0"; }
)");
    ASSERT_EQ(leases.size(), 2u);
    EXPECT_EQ(leases[0].interfaceName, "eth0");
    EXPECT_EQ(leases[0].address, *ParseIpv4("192.168.1.50"));
    EXPECT_EQ(leases[0].server, *ParseIpv4("192.168.1.1"));
    EXPECT_EQ(leases[0].expires, 1141740309 + 86400);
    EXPECT_EQ(leases[0].obtained, 1141740309);
    EXPECT_EQ(leases[1].interfaceName, "wlan0");
    EXPECT_EQ(leases[1].expires, 1141740309);
    EXPECT_EQ(leases[1].obtained, 0);
}

TEST(LeaseParsing, DhcpcdLeaseIsTheServersAnswer)
{
    std::string message(240, '\0');
    message[16] = char(192);
    message[17] = char(168);
    message[18] = 1;
    message[19] = 50;
    message[236] = 0x63;
    message[237] = char(0x82);
    message[238] = 0x53;
    message[239] = 0x63;
    message += std::string("\x35\x01\x05", 3);                  // message type
    message += std::string("\x33\x04\x00\x00\x0e\x10", 6);      // lease time 3600
    message += std::string("\x36\x04\xc0\xa8\x01\x01", 6);      // server identifier
    message += std::string("\xff", 1);
    std::optional<ParsedLease> lease = ParseDhcpMessageLease(message);
    ASSERT_TRUE(lease.has_value());
    EXPECT_EQ(lease->address, *ParseIpv4("192.168.1.50"));
    EXPECT_EQ(lease->lifetime, 3600);
    EXPECT_EQ(lease->server, *ParseIpv4("192.168.1.1"));
    // An option running past the end is not read.
    std::string cut = message.substr(0, 240) + std::string("\x33\x09\x00", 3);
    ASSERT_TRUE(ParseDhcpMessageLease(cut).has_value());
    EXPECT_EQ(ParseDhcpMessageLease(cut)->lifetime, 0);
    EXPECT_FALSE(ParseDhcpMessageLease(message.substr(0, 239)).has_value());
}

TEST(LeaseFiles, LeaseCountsOnlyOnTheInterfaceHoldingItsAddress)
{
    testing_support::ScratchFolder folder;
    LeaseFiles::Folders folders;
    folders.networkd = folder.Path() / "networkd";
    folders.networkManager = folder.Path() / "nm";
    folders.dhclient = { folder.Path() / "dhcp" };
    folders.dhcpcd = folder.Path() / "dhcpcd";
    for (const auto& path : { folders.networkd, folders.networkManager, folders.dhclient[0] })
        std::filesystem::create_directories(path);
    WriteFile(folders.networkd / "4", "ADDRESS=192.0.2.2\nSERVER_ADDRESS=192.0.2.1\nLIFETIME=600\n");
    SetMtime(folders.networkd / "4", 1141740000);
    WriteFile(folders.networkManager / "internal-0b1c2d3e-0000-4000-8000-123456789abc-wlan0.lease", "ADDRESS=10.0.0.9\nLIFETIME=60\n");
    WriteFile(folders.dhclient[0] / "dhclient.eth9.leases",
        "lease { interface \"eth9\"; fixed-address 172.16.0.5; expire epoch 2000000000; }\n");

    LeaseFiles leases(folders);
    leases.Refresh();
    EXPECT_EQ(leases.ParseCount(), 3);
    std::optional<LeaseFound> found = leases.Find(4, "eth0", { *ParseIpv4("192.0.2.2") });
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->client, DhcpClient::Networkd);
    EXPECT_EQ(found->lease.server, *ParseIpv4("192.0.2.1"));
    EXPECT_EQ(found->lease.obtained, 1141740000);
    EXPECT_EQ(found->lease.expires, 1141740600);
    // A stale lease for an address the interface no longer holds is no lease.
    EXPECT_FALSE(leases.Find(4, "eth0", { *ParseIpv4("192.0.2.3") }).has_value());
    EXPECT_FALSE(leases.Find(5, "eth0", { *ParseIpv4("192.0.2.2") }).has_value());
    ASSERT_TRUE(leases.Find(6, "wlan0", { *ParseIpv4("10.0.0.9") }).has_value());
    EXPECT_EQ(leases.Find(6, "wlan0", { *ParseIpv4("10.0.0.9") })->client, DhcpClient::NetworkManager);
    ASSERT_TRUE(leases.Find(7, "eth9", { *ParseIpv4("172.16.0.5") }).has_value());
    EXPECT_EQ(leases.Find(7, "eth9", { *ParseIpv4("172.16.0.5") })->lease.expires, 2000000000);

    // Nothing changed: nothing is parsed again.
    leases.Refresh();
    EXPECT_EQ(leases.ParseCount(), 3);
    // A renewed lease rewrites the file; a removed one is forgotten.
    WriteFile(folders.networkd / "4", "ADDRESS=192.0.2.2\nSERVER_ADDRESS=192.0.2.1\nLIFETIME=1200\n");
    SetMtime(folders.networkd / "4", 1141740100);
    std::filesystem::remove(folders.dhclient[0] / "dhclient.eth9.leases");
    leases.Refresh();
    EXPECT_EQ(leases.ParseCount(), 4);
    EXPECT_EQ(leases.Find(4, "eth0", { *ParseIpv4("192.0.2.2") })->lease.expires, 1141741300);
    EXPECT_FALSE(leases.Find(7, "eth9", { *ParseIpv4("172.16.0.5") }).has_value());
}

TEST(DhcpClientControl, FixedCommandLinesAndMissingTools)
{
    EXPECT_EQ(DhcpCommandLine(DhcpClient::Networkd, DhcpOperation::Renew, "eth0"),
        (std::vector<std::string> { "networkctl", "renew", "eth0" }));
    EXPECT_TRUE(DhcpCommandLine(DhcpClient::Networkd, DhcpOperation::Release, "eth0").empty());
    EXPECT_EQ(DhcpCommandLine(DhcpClient::Dhclient, DhcpOperation::Release, "eth0; rm -rf /"),
        (std::vector<std::string> { "dhclient", "-r", "eth0; rm -rf /" })); // one argument, no shell
    EXPECT_TRUE(DhcpCommandLine(DhcpClient::None, DhcpOperation::Renew, "eth0").empty());
    EXPECT_EQ(RunDhcpTool({}, std::chrono::seconds(1)), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(RunDhcpTool({ "no-such-dhcp-tool" }, std::chrono::seconds(1)), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(RunDhcpTool({ "true" }, std::chrono::seconds(5)), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(RunDhcpTool({ "false" }, std::chrono::seconds(5)), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(RunDhcpTool({ "sleep", "5" }, std::chrono::milliseconds(50)), static_cast<DWORD>(ERROR_SEM_TIMEOUT));
}

// A stop requested while the tool runs ends the wait at once and stays readable for the loop;
// one requested before the tool starts ends it just the same.
TEST(DhcpClientControl, AStopRequestEndsTheToolAndIsLeftForTheEventLoop)
{
    int stop[2] = { -1, -1 };
    ASSERT_EQ(pipe(stop), 0);
    InstallStopDescriptor(stop[0]);
    std::thread signal([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(write(stop[1], "s", 1), 1);
    });
    EXPECT_FALSE(StopRequested());
    EXPECT_EQ(RunDhcpTool({ "sleep", "30" }, std::chrono::seconds(30)), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    signal.join();
    EXPECT_TRUE(StopRequested());
    EXPECT_EQ(RunDhcpTool({ "sleep", "30" }, std::chrono::seconds(30)), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    InstallStopDescriptor(-1);
    EXPECT_FALSE(StopRequested());
    close(stop[0]);
    close(stop[1]);
}

TEST(LinuxNetBackend, TheBootIdIsReadOnceAndIsEmptyWithoutTheFile)
{
    testing_support::ScratchFolder folder;
    LinuxNetBackend::Sources sources;
    sources.bootId = folder.Path() / "boot_id";
    std::ofstream(sources.bootId) << "212b34ed-0938-4901-8a7f-e1b62bcd02e3\n";
    LinuxNetBackend backend(sources);
    EXPECT_EQ(backend.BootId(), "212b34ed-0938-4901-8a7f-e1b62bcd02e3");
    // It holds for the life of the process: a later change is not read.
    std::ofstream(sources.bootId) << "other\n";
    EXPECT_EQ(backend.BootId(), "212b34ed-0938-4901-8a7f-e1b62bcd02e3");

    sources.bootId = folder.Path() / "none";
    EXPECT_EQ(LinuxNetBackend(sources).BootId(), "");
    // The machine's own, as the kernel gives it.
    std::ifstream machine("/proc/sys/kernel/random/boot_id");
    std::string id;
    if (std::getline(machine, id)) {
        EXPECT_EQ(LinuxNetBackend().BootId(), id);
    }
}

TEST(LinuxNetBackend, ComposeNumbersLoopbackFirstAndNamesTheFirstPppLinkAsDialUp)
{
    testing_support::ScratchFolder folder;
    LinuxNetBackend::Sources sources;
    sources.sysfs = folder.Path() / "none";
    sources.resolvConf = folder.Path() / "resolv.conf";
    WriteFile(sources.resolvConf, "nameserver 192.0.2.53\n");
    sources.leases.networkd = folder.Path() / "none";
    sources.leases.networkManager = folder.Path() / "none";
    sources.leases.dhclient = {};
    sources.leases.dhcpcd = folder.Path() / "none";
    LinuxNetBackend backend(sources);

    auto link = [](int index, const char* name, unsigned flags, unsigned short type) {
        KernelLink made;
        made.index = index;
        made.name = name;
        made.flags = flags;
        made.type = type;
        made.mtu = 1500;
        return made;
    };
    std::vector<KernelLink> links = {
        link(7, "ppp0", IFF_UP | IFF_RUNNING | IFF_POINTOPOINT, ARPHRD_PPP),
        link(1, "lo", IFF_UP | IFF_RUNNING | IFF_LOOPBACK, ARPHRD_LOOPBACK),
        link(4, "eth0", IFF_UP | IFF_RUNNING, ARPHRD_ETHER),
        link(9, "ppp1", IFF_UP | IFF_RUNNING | IFF_POINTOPOINT, ARPHRD_PPP),
        link(2, "eth1", 0, ARPHRD_ETHER),
    };
    links[2].hardwareAddress = { 0, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E };
    links[2].operState = IF_OPER_UP;
    links[2].haveStats = true;
    links[2].stats.rxBytes = 0x5'0000'0010ull;
    links[2].stats.txBytes = 7;
    std::vector<KernelAddress> addresses = { { 4, 24, *ParseIpv4("192.0.2.9"), true }, { 4, 24, *ParseIpv4("192.0.2.2"), false } };
    std::vector<KernelRoute> routes = {
        { RT_TABLE_MAIN, RTN_UNICAST, 0, 0, *ParseIpv4("192.0.2.1"), 4, 0 },
        { RT_TABLE_LOCAL, RTN_LOCAL, *ParseIpv4("192.0.2.2"), 32, 0, 4, 0 },
        { RT_TABLE_MAIN, RTN_UNICAST, 0, 0, 0, 99, 0 }, // through a link that is gone
    };
    NetSnapshot snapshot = backend.Compose(links, addresses, routes, kNetAll);
    ASSERT_EQ(snapshot.interfaces.size(), 5u);
    const std::vector<NetInterface>& all = snapshot.interfaces;
    EXPECT_EQ(all[0].systemName, "lo");
    EXPECT_EQ(all[0].index, 1u);
    EXPECT_TRUE(all[0].isLoopback);
    EXPECT_EQ(all[0].type, static_cast<DWORD>(MIB_IF_TYPE_LOOPBACK));
    EXPECT_TRUE(all[0].dnsServers.empty());
    // The default route's link comes first after the loopback.
    EXPECT_EQ(all[1].systemName, "eth0");
    EXPECT_EQ(all[1].index, 2u);
    EXPECT_EQ(all[1].name, L"ETH01");
    EXPECT_EQ(all[1].description, "eth0");
    EXPECT_EQ(all[1].physAddr.size(), 6u);
    EXPECT_EQ(all[1].inOctets, 0x5'0000'0010ull);
    ASSERT_EQ(all[1].addresses.size(), 2u);
    EXPECT_EQ(all[1].addresses[0].address, *ParseIpv4("192.0.2.2")); // primary first
    EXPECT_EQ(all[1].addresses[0].mask, 0xFFFFFF00u);
    EXPECT_EQ(all[1].dnsServers, std::vector<DWORD> { *ParseIpv4("192.0.2.53") });
    EXPECT_FALSE(all[1].lease.enabled);
    EXPECT_EQ(all[2].systemName, "eth1");
    EXPECT_EQ(all[2].index, 3u);
    EXPECT_EQ(all[2].name, L"ETH1#1");
    EXPECT_EQ(all[2].adminStatus, static_cast<DWORD>(MIB_IF_ADMIN_STATUS_DOWN));
    EXPECT_EQ(all[3].name, L"ppp1");
    EXPECT_EQ(all[3].systemName, "ppp0");
    EXPECT_TRUE(all[3].isPointToPoint);
    EXPECT_TRUE(all[3].physAddr.empty());
    EXPECT_EQ(all[4].name, L"PPP1#1");
    ASSERT_EQ(snapshot.routes.size(), 1u);
    EXPECT_EQ(snapshot.routes[0].interfaceIndex, 2u);
    // Asked without routes, the order is the same and the snapshot carries none.
    NetSnapshot linksOnly = backend.Compose(links, {}, routes, kNetLinks);
    EXPECT_EQ(linksOnly.interfaces[1].systemName, "eth0");
    EXPECT_TRUE(linksOnly.routes.empty());
}

TEST(LinuxNetBackend, RowsStayInIndexOrderWhenLoopbackIsNotTheKernelsFirst)
{
    LinuxNetBackend::Sources sources;
    sources.sysfs = "/nonexistent";
    sources.resolvConf = "/nonexistent";
    sources.leases.networkd = "/nonexistent";
    sources.leases.networkManager = "/nonexistent";
    sources.leases.dhclient = {};
    sources.leases.dhcpcd = "/nonexistent";
    LinuxNetBackend backend(sources);
    std::vector<KernelLink> links(3);
    links[0].index = 2;
    links[0].name = "eth0";
    links[1].index = 5;
    links[1].name = "lo";
    links[1].type = ARPHRD_LOOPBACK;
    links[2].index = 9;
    links[2].name = "eth1";
    NetSnapshot snapshot = backend.Compose(links, {}, {}, kNetLinks);
    ASSERT_EQ(snapshot.interfaces.size(), 3u);
    EXPECT_EQ(snapshot.interfaces[0].systemName, "lo");
    EXPECT_EQ(snapshot.interfaces[0].index, 1u);
    EXPECT_EQ(snapshot.interfaces[1].systemName, "eth0");
    EXPECT_EQ(snapshot.interfaces[1].index, 2u);
    EXPECT_EQ(snapshot.interfaces[2].index, 3u);
}

// --- the live machine ---------------------------------------------------------------------

namespace {

// The interface of the default route of the lowest metric in /proc/net/route; empty when none.
std::string DefaultRouteInterface()
{
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line); // header
    std::string defaultInterface;
    uint32_t bestMetric = UINT32_MAX;
    while (std::getline(routes, line)) {
        char name[64] = {};
        unsigned destination = 0, gateway = 0, flags = 0, refs = 0, use = 0, metric = 0, mask = 0;
        if (std::sscanf(line.c_str(), "%63s %x %x %x %u %u %u %x", name, &destination, &gateway, &flags, &refs, &use, &metric, &mask) == 8
            && destination == 0 && mask == 0 && metric < bestMetric) {
            defaultInterface = name;
            bestMetric = metric;
        }
    }
    return defaultInterface;
}

} // namespace

TEST(LinuxNetBackendLive, InterfacesAddressesAndCountersAgreeWithTheKernel)
{
    // Each counter query below is a tick of its own: queries of one tick share one read.
    testing_support::VirtualClockScope time;
    LinuxNetBackend backend;
    NetSnapshot snapshot;
    ASSERT_EQ(backend.Query(kNetAll, snapshot), static_cast<DWORD>(NO_ERROR));

    size_t sysLinks = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net"))
        sysLinks += entry.is_directory() || entry.is_symlink() ? 1 : 0;
    EXPECT_EQ(snapshot.interfaces.size(), sysLinks);

    // Dense indexes: the default route's link, then the physical links, then the virtual ones,
    // each group in the kernel's order.
    std::string defaultInterface = DefaultRouteInterface();
    auto placeOf = [&defaultInterface](const NetInterface& entry) {
        int group = 2;
        if (entry.systemName == defaultInterface)
            group = 0;
        else if (std::filesystem::exists("/sys/class/net/" + entry.systemName + "/device"))
            group = 1;
        return std::make_pair(group, entry.kernelIndex);
    };
    ifaddrs* list = nullptr;
    ASSERT_EQ(getifaddrs(&list), 0);
    DWORD expectedIndex = 2;
    const NetInterface* previous = nullptr;
    for (const NetInterface& entry : snapshot.interfaces) {
        SCOPED_TRACE(entry.systemName);
        if (entry.isLoopback) {
            EXPECT_EQ(entry.index, 1u);
        } else {
            EXPECT_EQ(entry.index, expectedIndex++);
            if (previous != nullptr) {
                EXPECT_LT(placeOf(*previous), placeOf(entry));
            }
            previous = &entry;
        }
        EXPECT_EQ(std::to_string(entry.kernelIndex), ReadSys("/sys/class/net/" + entry.systemName + "/ifindex"));
        EXPECT_EQ(std::to_string(entry.mtu), ReadSys("/sys/class/net/" + entry.systemName + "/mtu"));
        std::vector<DWORD> kernelAddresses;
        for (ifaddrs* at = list; at != nullptr; at = at->ifa_next)
            if (at->ifa_addr != nullptr && at->ifa_addr->sa_family == AF_INET && entry.systemName == at->ifa_name)
                kernelAddresses.push_back(ntohl(reinterpret_cast<sockaddr_in*>(at->ifa_addr)->sin_addr.s_addr));
        std::vector<DWORD> ours;
        for (const NetAddress& address : entry.addresses)
            ours.push_back(address.address);
        std::sort(kernelAddresses.begin(), kernelAddresses.end());
        std::sort(ours.begin(), ours.end());
        EXPECT_EQ(ours, kernelAddresses);
    }
    freeifaddrs(list);

    // Counters: the kernel's value read before and after ours brackets ours.
    for (const NetInterface& entry : snapshot.interfaces) {
        std::string stats = "/sys/class/net/" + entry.systemName + "/statistics/";
        uint64_t before = std::stoull(ReadSys(stats + "rx_bytes"));
        time.Clock().AdvanceMs(1000);
        NetSnapshot again;
        ASSERT_EQ(backend.Query(kNetCounters, again), static_cast<DWORD>(NO_ERROR));
        uint64_t after = std::stoull(ReadSys(stats + "rx_bytes"));
        for (const NetInterface& fresh : again.interfaces) {
            if (fresh.kernelIndex == entry.kernelIndex) {
                EXPECT_GE(fresh.inOctets, before) << entry.systemName;
                EXPECT_LE(fresh.inOctets, after) << entry.systemName;
            }
        }
    }
}

TEST(LinuxNetBackendLive, BestInterfaceIsTheDefaultRouteOfProcNetRoute)
{
    std::string defaultInterface = DefaultRouteInterface();
    InstallNetBackend(nullptr);
    DWORD index = 0;
    DWORD result = GetBestInterface(0, &index);
    if (defaultInterface.empty()) {
        EXPECT_EQ(result, static_cast<DWORD>(ERROR_CAN_NOT_COMPLETE));
        return;
    }
    ASSERT_EQ(result, static_cast<DWORD>(NO_ERROR));
    LinuxNetBackend backend;
    NetSnapshot snapshot;
    ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
    for (const NetInterface& entry : snapshot.interfaces) {
        if (entry.index == index) {
            EXPECT_EQ(entry.systemName, defaultInterface);
        }
    }
}

TEST(LinuxNetBackendLive, EachRowCarriesTheMachinesOwnIndexOfItsInterface)
{
    InstallNetBackend(nullptr);
    LinuxNetBackend backend;
    NetSnapshot snapshot;
    ASSERT_EQ(backend.Query(kNetLinks, snapshot), static_cast<DWORD>(NO_ERROR));
    MIB_IF_TABLE2* table = nullptr;
    ASSERT_EQ(GetIfTable2(&table), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(table->NumEntries, snapshot.interfaces.size());
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& row = table->Table[i];
        auto entry = std::find_if(snapshot.interfaces.begin(), snapshot.interfaces.end(),
            [&row](const NetInterface& machine) { return machine.index == row.InterfaceIndex; });
        ASSERT_NE(entry, snapshot.interfaces.end());
        EXPECT_GT(entry->kernelIndex, 0);
        EXPECT_EQ(MachineInterfaceIndex(row), entry->kernelIndex) << entry->systemName;
    }
    FreeMibTable(table);
}

TEST(LinuxNetBackend, SysfsGivesSpeedWirelessAndTheModelOfUsbAdapters)
{
    testing_support::ScratchFolder folder;
    auto sys = folder.Path() / "class-net";
    auto usbDevice = folder.Path() / "devices" / "usb1" / "1-1";
    std::filesystem::create_directories(usbDevice / "1-1:1.0");
    std::filesystem::create_directories(folder.Path() / "drivers" / "cdc_ether");
    std::filesystem::create_symlink(folder.Path() / "drivers" / "cdc_ether", usbDevice / "1-1:1.0" / "driver");
    WriteFile(usbDevice / "product", "USB 10/100 LAN\n");
    WriteFile(usbDevice / "manufacturer", "Realtek\n");
    std::filesystem::create_directories(sys / "usb0");
    std::filesystem::create_symlink(usbDevice / "1-1:1.0", sys / "usb0" / "device");
    WriteFile(sys / "usb0" / "speed", "100\n");
    std::filesystem::create_directories(sys / "wlan0" / "wireless");
    WriteFile(sys / "wlan0" / "speed", "-1\n");
    std::filesystem::create_directories(sys / "eth9");
    WriteFile(sys / "eth9" / "speed", "10000\n");

    SysfsLinks links(sys);
    SysfsLinkInfo usb = links.Read("usb0");
    EXPECT_EQ(usb.speedMbps, 100);
    EXPECT_EQ(usb.model, "Realtek USB 10/100 LAN");
    EXPECT_EQ(usb.driver, "cdc_ether");
    EXPECT_FALSE(usb.wireless);
    EXPECT_TRUE(usb.physical);
    EXPECT_FALSE(links.Read("wlan0").physical);
    EXPECT_TRUE(links.Read("wlan0").wireless);
    EXPECT_EQ(links.Read("wlan0").speedMbps, -1);
    EXPECT_EQ(links.Read("../etc").speedMbps, -1);

    LinuxNetBackend::Sources sources;
    sources.sysfs = sys;
    sources.resolvConf = folder.Path() / "none";
    sources.leases.networkd = folder.Path() / "none";
    sources.leases.networkManager = folder.Path() / "none";
    sources.leases.dhclient = {};
    sources.leases.dhcpcd = folder.Path() / "none";
    LinuxNetBackend backend(sources);
    std::vector<KernelLink> kernel(3);
    const char* names[] = { "usb0", "wlan0", "eth9" };
    for (int i = 0; i < 3; ++i) {
        kernel[i].index = i + 2;
        kernel[i].name = names[i];
        kernel[i].type = ARPHRD_ETHER;
    }
    NetSnapshot snapshot = backend.Compose(kernel, {}, {}, kNetCounters);
    ASSERT_EQ(snapshot.interfaces.size(), 3u);
    EXPECT_EQ(snapshot.interfaces[0].description, "Realtek USB 10/100 LAN");
    EXPECT_EQ(snapshot.interfaces[0].driver, "cdc_ether");
    EXPECT_EQ(snapshot.interfaces[0].speedBps, 100000000u);
    EXPECT_EQ(snapshot.interfaces[1].type, static_cast<DWORD>(IF_TYPE_IEEE80211));
    EXPECT_EQ(snapshot.interfaces[1].speedBps, 0u);
    EXPECT_EQ(snapshot.interfaces[2].speedBps, 10'000'000'000u); // whole: MIB_IFROW alone stops at 2^32 - 1
}
