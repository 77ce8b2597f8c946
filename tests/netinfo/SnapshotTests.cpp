// The two snapshot holders over the simulated network: lookups by index and name, every
// value text, and the texts that stand in for absent adapters and failed queries.
#include <gtest/gtest.h>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "platform/debug/DebugConsole.h"
#include "platform/sim/Scenario.h"
#include "platform/text/WideString.h"
#include "support/SimNetworkScope.h"

using platform::NetAddress;
using platform::NetCall;
using platform::NetLease;
using platform::ParseIpv4;
using platform::SimInterfaceSetup;
using testing_support::SimNetworkScope;

namespace {

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimInterfaceSetup loopback;
        loopback.name = L"LOOPBACK";
        loopback.type = MIB_IF_TYPE_LOOPBACK;
        sim.Network().AddInterface(loopback);
    }
    SimNetworkScope sim;
};

} // namespace

TEST_F(SnapshotTest, WithNoAdaptersEveryLookupAnswersNotPresent)
{
    InterfaceTable table;
    NetStatusInfo info;
    EXPECT_EQ(table.InterfaceCount(), 1u);
    EXPECT_EQ(info.AdapterCount(), 0u);
    EXPECT_EQ(info.Refresh(), 1u);
    std::wstring text = L"sentinel";
    ULONG64 counter = 77;
    for (DWORD index : { 0u, 2u, 999u }) {
        EXPECT_EQ(table.GetOutOctets(index, counter), IndexNotFound);
        EXPECT_EQ(table.GetPhysicalAddress(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetPhysicalAddress: InvalidIndex");
        EXPECT_EQ(info.FindAdapterIndex(index), IndexNotFound);
        EXPECT_EQ(info.AdapterNameOf(index), L"");
        EXPECT_EQ(info.GetAdapterName(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterName: InvalidIndex");
        EXPECT_EQ(info.GetAdapterDescription(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterDescription: InvalidIndex");
        EXPECT_EQ(info.GetAdapterCurrentIpAddress(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterCurrentIpAddress: InvalidIndex");
        EXPECT_EQ(info.GetAdapterCurrentSubnetMask(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterCurrentSubnetMask: InvalidIndex");
        EXPECT_EQ(info.GetAdapterDefaultGateway(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterDefaultGateway: InvalidIndex");
        EXPECT_EQ(info.IsDhcpEnabled(index), IndexNotFound);
        EXPECT_EQ(info.GetAdapterDHCPServer(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterDHCPServer: Invalid Index");
        EXPECT_EQ(info.GetAdapterDNSServer(index, text), 1u);
        EXPECT_EQ(text, L"No index match. ");
        EXPECT_EQ(info.GetAdapterWINSServer(index, text), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterWINSServer: InvalidIndex");
        EXPECT_EQ(info.GetAdapterDHCPLeaseExpires(index, text, NetStatusInfo::LeaseSeconds::Shown), IndexNotFound);
        EXPECT_EQ(text, L"GetAdapterDHCPLeaseExpires: Invalid Index");
    }
    EXPECT_EQ(counter, 77u); // untouched
    EXPECT_EQ(info.LookupAdapterIndexByName(L"NE20001"), IndexNotFound);
    EXPECT_EQ(table.LookupInterfaceIndexByName(L"NE20001"), IndexNotFound);
    EXPECT_EQ(table.InterfaceNameOf(2), L"");
}

TEST_F(SnapshotTest, InterfaceRowsByIndexAndName)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    sim.Network().SetCounters(L"NE20001", 0x1'0000'0010ull, 1234);
    SimInterfaceSetup modem;
    modem.name = L"ppp1";
    modem.type = MIB_IF_TYPE_PPP;
    sim.Network().AddInterface(modem);
    InterfaceTable table;
    EXPECT_EQ(table.InterfaceCount(), 3u);
    EXPECT_EQ(table.LookupInterfaceIndexByName(L"ne20001"), 2u);
    EXPECT_EQ(table.LookupInterfaceIndexByName(L"PPP1"), 3u);
    // No dial-up mapping and no trimming in the interface table.
    EXPECT_EQ(table.LookupInterfaceIndexByName(L"ppp0"), IndexNotFound);
    EXPECT_EQ(table.LookupInterfaceIndexByName(L" NE20001"), IndexNotFound);
    EXPECT_EQ(table.InterfaceNameOf(2), L"NE20001");
    ULONG64 in = 0;
    ULONG64 out = 0;
    EXPECT_EQ(table.GetInOctets(2, in), 0u);
    EXPECT_EQ(table.GetOutOctets(2, out), 0u);
    EXPECT_EQ(in, 0x1'0000'0010ull); // the whole 64-bit counter
    EXPECT_EQ(out, 1234u);
    std::wstring text;
    EXPECT_EQ(table.GetPhysicalAddress(2, text), 0u);
    EXPECT_EQ(text, L"00-0A-1B-2C-3D-4E");
    EXPECT_EQ(table.GetPhysicalAddress(3, text), 0u);
    EXPECT_EQ(text, L""); // no hardware address
}

TEST_F(SnapshotTest, IndexesMatchOnTheirLow16Bits)
{
    SimInterfaceSetup setup;
    setup.name = L"BIG1";
    setup.index = 0x10005;
    sim.Network().AddInterface(setup);
    sim.Network().SetAddresses(L"BIG1", { NetAddress { *ParseIpv4("10.0.0.1"), 0xFF000000u } });
    InterfaceTable table;
    NetStatusInfo info;
    EXPECT_EQ(table.InterfaceNameOf(5), L"BIG1");
    EXPECT_EQ(table.LookupInterfaceIndexByName(L"BIG1"), 5u);
    EXPECT_EQ(info.LookupAdapterIndexByName(L"BIG1"), 5u);
    EXPECT_EQ(info.FindAdapterIndex(5), 0x10005u);
    EXPECT_EQ(info.FindAdapterIndex(0x10005), IndexNotFound);
}

TEST_F(SnapshotTest, AdapterNamesAreFoundTrimmedAndEveryDialUpNameMeansPpp1)
{
    sim.AddLan(L"  NE20001 ", "192.168.1.10");
    SimInterfaceSetup modem;
    modem.name = L"ppp1";
    modem.type = MIB_IF_TYPE_PPP;
    DWORD dialUp = sim.Network().AddInterface(modem);
    SimInterfaceSetup other;
    other.name = L"ppp2";
    sim.Network().AddInterface(other);
    NetStatusInfo info;
    EXPECT_EQ(info.AdapterCount(), 3u);
    EXPECT_EQ(info.LookupAdapterIndexByName(L"NE20001"), 2u);
    EXPECT_EQ(info.LookupAdapterIndexByName(L"ne20001"), 2u);
    EXPECT_EQ(info.LookupAdapterIndexByName(L"  NE20001 "), 2u);
    for (const wchar_t* name : { L"ppp1", L"ppp:2", L"ppp0", L"ppp2", L"my ppp link" })
        EXPECT_EQ(info.LookupAdapterIndexByName(name), dialUp) << WideToUtf8(name);
    EXPECT_EQ(info.AdapterNameOf(2), L"  NE20001 ");
}

TEST_F(SnapshotTest, AddressTextsAndAnAdapterWithoutAddress)
{
    sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    SimInterfaceSetup wlan;
    wlan.name = L"WLAN1";
    sim.Network().AddInterface(wlan);
    NetStatusInfo info;
    std::wstring text;
    EXPECT_EQ(info.GetAdapterCurrentIpAddress(2, text), 0u);
    EXPECT_EQ(text, L"192.168.1.10");
    EXPECT_EQ(info.GetAdapterCurrentSubnetMask(2, text), 0u);
    EXPECT_EQ(text, L"255.255.255.0");
    EXPECT_EQ(info.GetAdapterDefaultGateway(2, text), 1u);
    EXPECT_EQ(text, L"192.168.1.1");
    EXPECT_EQ(info.GetAdapterDescription(2, text), 0u);
    EXPECT_EQ(text, L"Simulated Ethernet");
    EXPECT_EQ(info.GetAdapterCurrentIpAddress(3, text), 0u);
    EXPECT_EQ(text, L"");
    EXPECT_EQ(info.GetAdapterCurrentSubnetMask(3, text), 0u);
    EXPECT_EQ(text, L"");
    // The gateway line shows the platform's string for none as it is.
    EXPECT_EQ(info.GetAdapterDefaultGateway(3, text), 1u);
    EXPECT_EQ(text, L"0.0.0.0");
}

TEST_F(SnapshotTest, DhcpServerAndLeaseTexts)
{
    testing_support::TimeZoneScope zone("UTC");
    sim.AddLan(L"NE20001", "192.168.1.10");
    NetStatusInfo info;
    std::wstring text;
    EXPECT_EQ(info.IsDhcpEnabled(2), 0u);
    EXPECT_EQ(info.GetAdapterDHCPServer(2, text), 0u);
    EXPECT_EQ(text, L"GetAdapterDHCPServer: DHCP Not Enabled");
    EXPECT_EQ(info.GetAdapterDHCPLeaseExpires(2, text, NetStatusInfo::LeaseSeconds::Hidden), 0u);
    EXPECT_EQ(text, L"GetAdapterDHCPLeaseExpires: DHCP Not Enabled");

    // 5 March 2006 14:07:09 UTC.
    sim.Network().SetLease(L"NE20001", NetLease { true, *ParseIpv4("192.168.1.1"), 1141560000, 1141567629 });
    info.Refresh();
    EXPECT_EQ(info.IsDhcpEnabled(2), 1u);
    EXPECT_EQ(info.GetAdapterDHCPServer(2, text), 1u);
    EXPECT_EQ(text, L"192.168.1.1");
    EXPECT_EQ(info.GetAdapterDHCPLeaseExpires(2, text, NetStatusInfo::LeaseSeconds::Shown), 1u);
    EXPECT_EQ(text, L"3/5/06 14:07:09");
    EXPECT_EQ(info.GetAdapterDHCPLeaseExpires(2, text, NetStatusInfo::LeaseSeconds::Hidden), 1u);
    EXPECT_EQ(text, L"3/5/06 14:07");
    testing_support::TimeZoneScope moscow("MSK-3");
    info.GetAdapterDHCPLeaseExpires(2, text, NetStatusInfo::LeaseSeconds::Shown);
    EXPECT_EQ(text, L"3/5/06 17:07:09"); // local time

    // A lease whose file gave no expiry.
    sim.Network().SetLease(L"NE20001", NetLease { true, *ParseIpv4("192.168.1.1"), 1141560000, 0 });
    info.Refresh();
    EXPECT_EQ(info.GetAdapterDHCPLeaseExpires(2, text, NetStatusInfo::LeaseSeconds::Hidden), 1u);
    EXPECT_EQ(text, L"Unknown");
}

TEST_F(SnapshotTest, WinsTexts)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    NetStatusInfo info;
    std::wstring text;
    EXPECT_EQ(info.GetAdapterWINSServer(2, text), 1u);
    EXPECT_EQ(text, L"Not enabled");
    sim.Network().SetWins(L"NE20001", true);
    info.Refresh();
    EXPECT_EQ(info.GetAdapterWINSServer(2, text), 1u);
    EXPECT_EQ(text, L"Not available");
    sim.Network().SetWins(L"NE20001", true, *ParseIpv4("192.168.1.3"));
    info.Refresh();
    EXPECT_EQ(info.GetAdapterWINSServer(2, text), 1u);
    EXPECT_EQ(text, L"192.168.1.3");
}

TEST_F(SnapshotTest, DnsTextsByResult)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    NetStatusInfo info;
    std::wstring text;
    EXPECT_EQ(info.GetAdapterDNSServer(2, text), 1u);
    EXPECT_EQ(text, L"Not available");
    sim.Network().SetDnsServers(L"NE20001", { *ParseIpv4("192.168.1.1"), *ParseIpv4("8.8.8.8") });
    EXPECT_EQ(info.GetAdapterDNSServer(2, text), 1u);
    EXPECT_EQ(text, L"192.168.1.1");
    const std::pair<DWORD, const wchar_t*> failures[] = {
        { ERROR_NOT_SUPPORTED, L"Unsupported." },
        { ERROR_INVALID_PARAMETER, L"Invalid Parameter." },
        { ERROR_BUFFER_OVERFLOW, L"Buffer Overflow." },
        { ERROR_NO_DATA, L"No Data." },
        { ERROR_GEN_FAILURE, L"Call unsuccessful." },
    };
    for (const auto& [code, expected] : failures) {
        // Twice, so that the retry after an overflow fails too.
        sim.Network().Fail(NetCall::GetPerAdapterInfo, code, 2);
        EXPECT_EQ(info.GetAdapterDNSServer(2, text), 1u);
        EXPECT_EQ(text, expected);
        sim.Network().Recover(NetCall::GetPerAdapterInfo);
    }
    EXPECT_EQ(info.GetAdapterDNSServer(2, text), 1u);
    EXPECT_EQ(text, L"192.168.1.1");
}

TEST_F(SnapshotTest, RefreshFailuresKeepTheAdapterListAndDropTheInterfaceTable)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    InterfaceTable table;
    NetStatusInfo info;
    ASSERT_EQ(info.AdapterCount(), 1u);
    sim.Network().Fail(NetCall::GetAdaptersInfo, ERROR_GEN_FAILURE);
    EXPECT_EQ(info.Refresh(), 1u);
    EXPECT_EQ(info.AdapterCount(), 1u);
    EXPECT_EQ(info.AdapterNameOf(2), L"NE20001");

    // One failure is asked again at once; two in a row leave no table until the next refresh.
    sim.Network().Fail(NetCall::GetIfTable2, ERROR_GEN_FAILURE, 1);
    EXPECT_EQ(table.Refresh(), 0u);
    EXPECT_EQ(table.InterfaceNameOf(2), L"NE20001");
    sim.Network().Fail(NetCall::GetIfTable2, ERROR_GEN_FAILURE, 2);
    std::string debug;
    platform::CaptureDebugOutput(&debug);
    EXPECT_EQ(table.Refresh(), 1u);
    platform::CaptureDebugOutput(nullptr);
    EXPECT_EQ(debug, "InterfaceTable: GetIfTable2 failed (31)\n");
    EXPECT_EQ(table.RowCount(), 0u);
    EXPECT_EQ(table.InterfaceNameOf(2), L"");
    EXPECT_EQ(table.Refresh(), 0u);
    EXPECT_EQ(table.InterfaceNameOf(2), L"NE20001");
}

TEST_F(SnapshotTest, SnapshotsFollowInterfacesAppearingAndVanishing)
{
    InterfaceTable table;
    NetStatusInfo info;
    EXPECT_EQ(info.AdapterCount(), 0u);
    sim.AddLan(L"NE20001", "192.168.1.10");
    SimInterfaceSetup wlan;
    wlan.name = L"WLAN1";
    sim.Network().AddInterface(wlan);
    EXPECT_EQ(table.Refresh(), 0u);
    EXPECT_EQ(info.Refresh(), 0u);
    EXPECT_EQ(info.AdapterCount(), 2u);
    EXPECT_EQ(table.InterfaceNameOf(3), L"WLAN1");
    sim.Network().RemoveInterface(L"WLAN1");
    table.Refresh();
    info.Refresh();
    EXPECT_EQ(info.AdapterCount(), 1u);
    EXPECT_EQ(table.InterfaceNameOf(3), L"");
    // The last adapter going away leaves an empty list, not the previous one.
    sim.Network().RemoveInterface(L"NE20001");
    EXPECT_EQ(info.Refresh(), 1u);
    EXPECT_EQ(info.AdapterCount(), 0u);
    EXPECT_EQ(info.AdapterNameOf(2), L"");
}

TEST_F(SnapshotTest, LongTextsAreCutAt127Characters)
{
    SimInterfaceSetup setup;
    setup.name = L"NE20001";
    setup.description = std::string(131, 'x');
    sim.Network().AddInterface(setup);
    NetStatusInfo info;
    std::wstring text;
    info.GetAdapterDescription(2, text);
    EXPECT_EQ(text, std::wstring(127, L'x'));
}
