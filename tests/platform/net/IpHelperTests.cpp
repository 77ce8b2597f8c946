// The IP helper calls over the simulated network, the way the platform's API tests check
// them: outputs pre-filled with sentinels, buffers one short, exact and one long, codes checked.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/net/IpHelper.h"
#include "platform/sim/Scenario.h"
#include "support/SimNetworkScope.h"

using platform::NetAddress;
using platform::NetCall;
using platform::NetLease;
using platform::ParseIpv4;
using platform::SimInterfaceSetup;
using testing_support::SimNetworkScope;

namespace {

constexpr BYTE kSentinel = 0xCD;

// An aligned buffer filled with the sentinel.
struct Buffer {
    explicit Buffer(size_t bytes)
        : words((bytes + 7) / 8 + 1)
        , size(bytes)
    {
        std::memset(words.data(), kSentinel, words.size() * 8);
    }
    template <typename T>
    T* As() { return reinterpret_cast<T*>(words.data()); }
    bool Untouched() const
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(words.data());
        for (size_t i = 0; i < words.size() * 8; ++i)
            if (bytes[i] != kSentinel)
                return false;
        return true;
    }
    // True when p points into the buffer.
    bool Holds(const void* p) const
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(words.data());
        const auto* at = static_cast<const BYTE*>(p);
        return at >= bytes && at < bytes + size;
    }
    std::vector<uint64_t> words;
    size_t size;
};

IPAddr NetworkOrder(const char* text)
{
    uint32_t host = *ParseIpv4(text);
    IPAddr out;
    BYTE bytes[4] = { BYTE(host >> 24), BYTE(host >> 16), BYTE(host >> 8), BYTE(host) };
    std::memcpy(&out, bytes, 4);
    return out;
}

class IpHelperTest : public ::testing::Test {
protected:
    void AddLoopback()
    {
        SimInterfaceSetup loopback;
        loopback.name = L"LOOPBACK";
        loopback.type = MIB_IF_TYPE_LOOPBACK;
        sim.Network().AddInterface(loopback);
    }
    SimNetworkScope sim;
};

} // namespace

TEST_F(IpHelperTest, NumberOfInterfacesCountsLoopbackAndChecksItsArgument)
{
    EXPECT_EQ(GetNumberOfInterfaces(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DWORD count = 77;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 0u);
    AddLoopback();
    sim.AddLan(L"NE20001", "192.168.1.10");
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
}

TEST_F(IpHelperTest, IfTableGrowAndRetry)
{
    AddLoopback();
    DWORD index = sim.AddLan(L"NE20001", "192.168.1.10");
    EXPECT_EQ(index, 2u);
    const ULONG exact = offsetof(MIB_IFTABLE, table) + 2 * sizeof(MIB_IFROW);

    EXPECT_EQ(GetIfTable(nullptr, nullptr, TRUE), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ULONG size = 0;
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, exact);

    Buffer shortBuffer(exact - 1);
    size = exact - 1;
    EXPECT_EQ(GetIfTable(shortBuffer.As<MIB_IFTABLE>(), &size, TRUE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, exact);
    EXPECT_TRUE(shortBuffer.Untouched());

    for (ULONG given : { exact, exact + 1 }) {
        Buffer buffer(given);
        size = given;
        ASSERT_EQ(GetIfTable(buffer.As<MIB_IFTABLE>(), &size, TRUE), static_cast<DWORD>(NO_ERROR));
        EXPECT_EQ(size, given);
        MIB_IFTABLE* table = buffer.As<MIB_IFTABLE>();
        ASSERT_EQ(table->dwNumEntries, 2u);
        // Read through a pointer: the rows run on past the one that the structure declares.
        const MIB_IFROW* rows = table->table;
        EXPECT_EQ(rows[0].dwIndex, 1u);
        EXPECT_EQ(rows[0].dwType, static_cast<DWORD>(MIB_IF_TYPE_LOOPBACK));
        const MIB_IFROW& row = rows[1];
        EXPECT_STREQ(row.wszName, L"NE20001");
        EXPECT_EQ(row.dwIndex, 2u);
        EXPECT_EQ(row.dwType, static_cast<DWORD>(MIB_IF_TYPE_ETHERNET));
        EXPECT_EQ(row.dwMtu, 1500u);
        EXPECT_EQ(row.dwSpeed, 100000000u);
        ASSERT_EQ(row.dwPhysAddrLen, 6u);
        EXPECT_EQ(row.bPhysAddr[0], 0x00);
        EXPECT_EQ(row.bPhysAddr[5], 0x4E);
        EXPECT_EQ(row.bPhysAddr[6], 0); // the rest of the field is cleared
        EXPECT_EQ(row.dwDescrLen, 18u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(row.bDescr), row.dwDescrLen), "Simulated Ethernet");
        EXPECT_EQ(row.dwOperStatus, static_cast<DWORD>(MIB_IF_OPER_STATUS_OPERATIONAL));
    }
}

TEST_F(IpHelperTest, IfTableCountersAreTheLow32BitsAndWrapOverVirtualTime)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    sim.Network().SetCounters(L"NE20001", 0xFFFFFF00ull, 0x100000005ull);
    sim.Network().SetRates(L"NE20001", 0x80, 10);
    auto read = [](DWORD& in, DWORD& out) {
        Buffer buffer(offsetof(MIB_IFTABLE, table) + sizeof(MIB_IFROW));
        ULONG size = static_cast<ULONG>(buffer.size);
        ASSERT_EQ(GetIfTable(buffer.As<MIB_IFTABLE>(), &size, TRUE), static_cast<DWORD>(NO_ERROR));
        in = buffer.As<MIB_IFTABLE>()->table[0].dwInOctets;
        out = buffer.As<MIB_IFTABLE>()->table[0].dwOutOctets;
    };
    DWORD in = 0;
    DWORD out = 0;
    read(in, out);
    EXPECT_EQ(in, 0xFFFFFF00u);
    EXPECT_EQ(out, 5u);
    sim.Clock().AdvanceSeconds(1);
    read(in, out);
    EXPECT_EQ(in, 0xFFFFFF80u);
    EXPECT_EQ(out, 15u);
    sim.Clock().AdvanceSeconds(2);
    read(in, out);
    EXPECT_EQ(in, 0x80u); // past 2^32
    // A driver reset puts the counter back to a small value.
    sim.Network().SetCounters(L"NE20001", 3, std::nullopt);
    read(in, out);
    EXPECT_EQ(in, 3u);
}

TEST_F(IpHelperTest, IfEntry2FindsByIndexOrLuidAndSaysWhyNot)
{
    AddLoopback();
    SimInterfaceSetup fast;
    fast.name = L"ETH10G";
    fast.description = "Simulated 10G";
    fast.physAddr = { 0x00, 0x0A, 0x1B, 0x2C, 0x3D, 0x4F };
    fast.speedBps = 10'000'000'000ull;
    DWORD index = sim.Network().AddInterface(fast);
    sim.Network().SetCounters(L"ETH10G", 0x5'0000'0123ull, 0x1'FFFF'FFF0ull);

    EXPECT_EQ(GetIfEntry2(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    MIB_IF_ROW2 row {};
    EXPECT_EQ(GetIfEntry2(&row), static_cast<DWORD>(ERROR_INVALID_PARAMETER)); // neither LUID nor index
    row.InterfaceIndex = index + 5;
    EXPECT_EQ(GetIfEntry2(&row), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    std::memset(&row, kSentinel, sizeof(row));
    row.InterfaceLuid.Value = 0;
    row.InterfaceIndex = index;
    ASSERT_EQ(GetIfEntry2(&row), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(row.InterfaceIndex, index);
    EXPECT_STREQ(row.Alias, L"ETH10G");
    EXPECT_STREQ(row.Description, L"Simulated 10G");
    EXPECT_EQ(row.InOctets, 0x5'0000'0123ull);
    EXPECT_EQ(row.OutOctets, 0x1'FFFF'FFF0ull);
    EXPECT_EQ(row.TransmitLinkSpeed, 10'000'000'000ull);
    EXPECT_EQ(row.ReceiveLinkSpeed, 10'000'000'000ull);
    ASSERT_EQ(row.PhysicalAddressLength, 6u);
    EXPECT_EQ(row.PhysicalAddress[5], 0x4F);
    EXPECT_EQ(row.PhysicalAddress[6], 0); // cleared, not the sentinel
    EXPECT_EQ(row.Type, static_cast<IFTYPE>(MIB_IF_TYPE_ETHERNET));
    EXPECT_EQ(row.OperStatus, IfOperStatusUp);
    EXPECT_EQ(row.MediaConnectState, MediaConnectStateConnected);
    EXPECT_EQ(row.InterfaceAndOperStatusFlags.NotMediaConnected, 0);

    // The LUID the row came with names the same interface again, whatever the index says.
    NET_LUID luid = row.InterfaceLuid;
    std::memset(&row, 0, sizeof(row));
    row.InterfaceLuid = luid;
    row.InterfaceIndex = 1;
    ASSERT_EQ(GetIfEntry2(&row), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(row.InterfaceIndex, index);

    sim.Network().Fail(NetCall::GetIfEntry2, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(GetIfEntry2(&row), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(IpHelperTest, IfTable2HoldsEveryRowWithWholeCountersAndTheOldRowStopsAt32Bits)
{
    AddLoopback();
    SimInterfaceSetup fast;
    fast.name = L"ETH10G";
    fast.speedBps = 10'000'000'000ull;
    sim.Network().AddInterface(fast);
    // 10 Gbit/s in, a little less out, from just below 2^32: the 32-bit halves wrap in a second.
    sim.Network().SetCounters(L"ETH10G", 0xFFFF'FF00ull, 0xFFFF'FFF0ull);
    sim.Network().SetRates(L"ETH10G", 1'250'000'000ull, 1'000'000'007ull);
    sim.Clock().AdvanceSeconds(3600);

    EXPECT_EQ(GetIfTable2(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    MIB_IF_TABLE2* table = nullptr;
    ASSERT_EQ(GetIfTable2(&table), static_cast<DWORD>(NO_ERROR));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->NumEntries, 2u);
    const MIB_IF_ROW2* rows2 = table->Table;
    EXPECT_EQ(rows2[0].Type, static_cast<IFTYPE>(MIB_IF_TYPE_LOOPBACK));
    EXPECT_EQ(rows2[1].InOctets, 0xFFFF'FF00ull + 3600ull * 1'250'000'000ull);
    EXPECT_EQ(rows2[1].OutOctets, 0xFFFF'FFF0ull + 3600ull * 1'000'000'007ull);
    FreeMibTable(table);
    FreeMibTable(nullptr);

    Buffer buffer(offsetof(MIB_IFTABLE, table) + 2 * sizeof(MIB_IFROW));
    ULONG size = static_cast<ULONG>(buffer.size);
    ASSERT_EQ(GetIfTable(buffer.As<MIB_IFTABLE>(), &size, TRUE), static_cast<DWORD>(NO_ERROR));
    const MIB_IFROW* rows = buffer.As<MIB_IFTABLE>()->table;
    EXPECT_EQ(rows[1].dwSpeed, 0xFFFFFFFFu);
    EXPECT_EQ(rows[1].dwInOctets,
        static_cast<DWORD>(0xFFFF'FF00ull + 3600ull * 1'250'000'000ull));

    sim.Network().Fail(NetCall::GetIfTable2, ERROR_GEN_FAILURE);
    table = nullptr;
    EXPECT_EQ(GetIfTable2(&table), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(table, nullptr);
}

TEST_F(IpHelperTest, AdaptersInfoLeavesLoopbackOutAndSaysNoDataWithoutAdapters)
{
    AddLoopback();
    ULONG size = 0;
    EXPECT_EQ(GetAdaptersInfo(nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(IpHelperTest, AdaptersInfoGrowAndRetryWithChainsInsideTheBuffer)
{
    AddLoopback();
    sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    sim.Network().SetAddresses(L"NE20001",
        { NetAddress { *ParseIpv4("192.168.1.10"), 0xFFFFFF00u }, NetAddress { *ParseIpv4("10.0.0.7"), 0xFF000000u } });
    sim.Network().SetLease(L"NE20001", NetLease { true, *ParseIpv4("192.168.1.1"), 1141560000, 1141567629 });
    sim.Network().SetWins(L"NE20001", true, *ParseIpv4("192.168.1.2"));
    SimInterfaceSetup wlan;
    wlan.name = L"  WLAN1 ";
    wlan.type = IF_TYPE_IEEE80211;
    sim.Network().AddInterface(wlan); // no address at all

    const ULONG exact = 2 * sizeof(IP_ADAPTER_INFO) + sizeof(IP_ADDR_STRING);
    ULONG size = 0;
    EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, exact);
    Buffer shortBuffer(exact - 1);
    size = exact - 1;
    EXPECT_EQ(GetAdaptersInfo(shortBuffer.As<IP_ADAPTER_INFO>(), &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, exact);
    EXPECT_TRUE(shortBuffer.Untouched());

    Buffer buffer(exact);
    size = exact;
    ASSERT_EQ(GetAdaptersInfo(buffer.As<IP_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    const IP_ADAPTER_INFO* lan = buffer.As<IP_ADAPTER_INFO>();
    EXPECT_STREQ(lan->AdapterName, "NE20001");
    EXPECT_STREQ(lan->Description, "Simulated Ethernet");
    EXPECT_EQ(lan->Index, 2u);
    EXPECT_EQ(lan->AddressLength, 6u);
    EXPECT_EQ(lan->DhcpEnabled, 1u);
    ASSERT_NE(lan->CurrentIpAddress, nullptr);
    EXPECT_TRUE(buffer.Holds(lan->CurrentIpAddress));
    EXPECT_STREQ(lan->CurrentIpAddress->IpAddress.String, "192.168.1.10");
    EXPECT_STREQ(lan->CurrentIpAddress->IpMask.String, "255.255.255.0");
    ASSERT_NE(lan->IpAddressList.Next, nullptr);
    EXPECT_TRUE(buffer.Holds(lan->IpAddressList.Next));
    EXPECT_STREQ(lan->IpAddressList.Next->IpAddress.String, "10.0.0.7");
    EXPECT_STREQ(lan->IpAddressList.Next->IpMask.String, "255.0.0.0");
    EXPECT_EQ(lan->IpAddressList.Next->Next, nullptr);
    EXPECT_STREQ(lan->GatewayList.IpAddress.String, "192.168.1.1");
    EXPECT_STREQ(lan->DhcpServer.IpAddress.String, "192.168.1.1");
    EXPECT_EQ(lan->LeaseObtained, 1141560000);
    EXPECT_EQ(lan->LeaseExpires, 1141567629);
    EXPECT_EQ(lan->HaveWins, TRUE);
    EXPECT_STREQ(lan->PrimaryWinsServer.IpAddress.String, "192.168.1.2");
    EXPECT_STREQ(lan->SecondaryWinsServer.IpAddress.String, "");

    ASSERT_NE(lan->Next, nullptr);
    EXPECT_TRUE(buffer.Holds(lan->Next));
    const IP_ADAPTER_INFO* wireless = lan->Next;
    EXPECT_STREQ(wireless->AdapterName, "  WLAN1 ");
    EXPECT_EQ(wireless->Index, 3u);
    EXPECT_EQ(wireless->Type, static_cast<UINT>(IF_TYPE_IEEE80211));
    EXPECT_EQ(wireless->CurrentIpAddress, nullptr);
    // No address and no gateway read as zero addresses, as the platform gives them.
    EXPECT_STREQ(wireless->IpAddressList.IpAddress.String, "0.0.0.0");
    EXPECT_STREQ(wireless->IpAddressList.IpMask.String, "0.0.0.0");
    EXPECT_STREQ(wireless->GatewayList.IpAddress.String, "0.0.0.0");
    EXPECT_EQ(wireless->DhcpEnabled, 0u);
    EXPECT_STREQ(wireless->DhcpServer.IpAddress.String, "");
    EXPECT_EQ(wireless->HaveWins, FALSE);
    EXPECT_EQ(wireless->Next, nullptr);
}

TEST_F(IpHelperTest, LeaseTimesAreTheDevices32BitTime)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    // 2040 is past the 32-bit range: the device's time_t wraps.
    sim.Network().SetLease(L"NE20001", NetLease { true, 0, 2208988800ll, 2208988800ll + 60 });
    Buffer buffer(sizeof(IP_ADAPTER_INFO));
    ULONG size = sizeof(IP_ADAPTER_INFO);
    ASSERT_EQ(GetAdaptersInfo(buffer.As<IP_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(buffer.As<IP_ADAPTER_INFO>()->LeaseObtained, static_cast<time32_t>(static_cast<uint32_t>(2208988800ull)));
    EXPECT_STREQ(buffer.As<IP_ADAPTER_INFO>()->DhcpServer.IpAddress.String, "");
}

TEST_F(IpHelperTest, PerAdapterInfoDnsChain)
{
    AddLoopback();
    sim.AddLan(L"NE20001", "192.168.1.10");
    sim.Network().SetDnsServers(L"NE20001", { *ParseIpv4("192.168.1.1"), *ParseIpv4("8.8.8.8") });
    ULONG size = 0;
    EXPECT_EQ(GetPerAdapterInfo(2, nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetPerAdapterInfo(1, nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA)); // loopback: no adapter data
    EXPECT_EQ(GetPerAdapterInfo(9, nullptr, &size), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    const ULONG exact = sizeof(IP_PER_ADAPTER_INFO) + sizeof(IP_ADDR_STRING);
    EXPECT_EQ(GetPerAdapterInfo(2, nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, exact);
    Buffer shortBuffer(exact - 1);
    size = exact - 1;
    EXPECT_EQ(GetPerAdapterInfo(2, shortBuffer.As<IP_PER_ADAPTER_INFO>(), &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_TRUE(shortBuffer.Untouched());
    Buffer buffer(exact);
    size = exact;
    ASSERT_EQ(GetPerAdapterInfo(2, buffer.As<IP_PER_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    const IP_PER_ADAPTER_INFO* info = buffer.As<IP_PER_ADAPTER_INFO>();
    EXPECT_STREQ(info->DnsServerList.IpAddress.String, "192.168.1.1");
    ASSERT_NE(info->DnsServerList.Next, nullptr);
    EXPECT_TRUE(buffer.Holds(info->DnsServerList.Next));
    EXPECT_STREQ(info->DnsServerList.Next->IpAddress.String, "8.8.8.8");

    sim.Network().SetDnsServers(L"NE20001", {});
    Buffer empty(sizeof(IP_PER_ADAPTER_INFO));
    size = sizeof(IP_PER_ADAPTER_INFO);
    ASSERT_EQ(GetPerAdapterInfo(2, empty.As<IP_PER_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    EXPECT_STREQ(empty.As<IP_PER_ADAPTER_INFO>()->DnsServerList.IpAddress.String, "");
}

TEST_F(IpHelperTest, BestInterfaceFollowsTheRoutes)
{
    EXPECT_EQ(GetBestInterface(0, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DWORD index = 77;
    EXPECT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(ERROR_CAN_NOT_COMPLETE));
    EXPECT_EQ(index, 77u);
    DWORD lan = sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    DWORD vpn = sim.AddLan(L"VPN1", "10.8.0.2");
    sim.Network().AddRoute(L"VPN1", *ParseIpv4("10.0.0.0"), 8, 0);
    ASSERT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, lan);
    ASSERT_EQ(GetBestInterface(NetworkOrder("10.1.2.3"), &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, vpn);
    // A second default route with a lower metric wins.
    sim.Network().AddRoute(L"VPN1", 0, 0, *ParseIpv4("10.8.0.1"), 0);
    sim.Network().RemoveRoute(L"NE20001", 0, 0);
    sim.Network().AddRoute(L"NE20001", 0, 0, *ParseIpv4("192.168.1.1"), 100);
    ASSERT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, vpn);
    // Routes vanish with their interface.
    sim.Network().RemoveInterface(L"VPN1");
    ASSERT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, lan);
    // The loopback network is the loopback's, whatever the default route says.
    ASSERT_EQ(GetBestInterface(NetworkOrder("127.0.0.1"), &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, lan); // without a loopback interface, the routes decide
    AddLoopback();
    ASSERT_EQ(GetBestInterface(NetworkOrder("127.0.0.1"), &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, 1u);
    ASSERT_EQ(GetBestInterface(NetworkOrder("127.255.0.9"), &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, 1u);
    ASSERT_EQ(GetBestInterface(NetworkOrder("128.0.0.1"), &index), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(index, lan);
}

TEST_F(IpHelperTest, InjectedFailuresFailTheNamedCallOnly)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    sim.Network().Fail(NetCall::GetIfTable, ERROR_NOT_SUPPORTED, 2);
    ULONG size = 0;
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(size, 0u);
    DWORD count = 0;
    EXPECT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    sim.Network().Fail(NetCall::GetBestInterface, ERROR_GEN_FAILURE, 0);
    DWORD index = 0;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(ERROR_GEN_FAILURE));
    sim.Network().Recover(NetCall::GetBestInterface);
    EXPECT_EQ(GetBestInterface(0, &index), static_cast<DWORD>(ERROR_CAN_NOT_COMPLETE));
}

TEST_F(IpHelperTest, ReleaseAndRenewGoThroughTheAdaptersClient)
{
    DWORD index = sim.AddLan(L"NE20001", "192.168.1.10");
    EXPECT_EQ(IpReleaseAddress(nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    IP_ADAPTER_INDEX_MAP map {};
    map.Index = 999;
    EXPECT_EQ(IpRenewAddress(&map), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    map.Index = index;
    EXPECT_EQ(IpReleaseAddress(&map), static_cast<DWORD>(ERROR_NOT_SUPPORTED)); // DHCP off

    sim.Network().SetLease(L"NE20001", NetLease { true, *ParseIpv4("192.168.1.1"), 1000, 4600 });
    ASSERT_EQ(IpReleaseAddress(&map), static_cast<DWORD>(NO_ERROR));
    Buffer buffer(sizeof(IP_ADAPTER_INFO));
    ULONG size = sizeof(IP_ADAPTER_INFO);
    ASSERT_EQ(GetAdaptersInfo(buffer.As<IP_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(buffer.As<IP_ADAPTER_INFO>()->CurrentIpAddress, nullptr);

    ASSERT_EQ(IpRenewAddress(&map), static_cast<DWORD>(NO_ERROR));
    ASSERT_EQ(GetAdaptersInfo(buffer.As<IP_ADAPTER_INFO>(), &size), static_cast<DWORD>(NO_ERROR));
    ASSERT_NE(buffer.As<IP_ADAPTER_INFO>()->CurrentIpAddress, nullptr);
    EXPECT_STREQ(buffer.As<IP_ADAPTER_INFO>()->CurrentIpAddress->IpAddress.String, "192.168.1.10");
    EXPECT_EQ(buffer.As<IP_ADAPTER_INFO>()->LeaseExpires - buffer.As<IP_ADAPTER_INFO>()->LeaseObtained, 3600);

    sim.Network().SetDhcpResults(L"NE20001", std::nullopt, ERROR_GEN_FAILURE);
    EXPECT_EQ(IpRenewAddress(&map), static_cast<DWORD>(ERROR_GEN_FAILURE));
    EXPECT_EQ(sim.Network().RenewCount(), 2);
}
