// Tracking the displayed adapter, its friendly name, the usage keys of dial-up links, and the
// Comm keys seeded for Linux interfaces as the unmodified friendly-name scan reads them.
#include <gtest/gtest.h>

#include "netinfo/AdapterTracking.h"
#include "platform/device/Device.h"
#include "platform/net/AdapterNaming.h"
#include "platform/net/CommSeeding.h"
#include "platform/sim/Scenario.h"
#include "platform/text/WideString.h"
#include "support/RegistryTestSupport.h"
#include "support/SimNetworkScope.h"

using namespace testing_support;
using platform::ParseIpv4;
using platform::SimInterfaceSetup;

namespace {

class AdapterTrackingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimInterfaceSetup loopback;
        loopback.name = L"LOOPBACK";
        loopback.type = MIB_IF_TYPE_LOOPBACK;
        sim.Network().AddInterface(loopback);
    }
    void Comm(const std::wstring& driver, const std::wstring& displayName)
    {
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + driver, L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + driver, L"ImagePath", driver + L".dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + driver + L"1", L"DisplayName", displayName);
    }
    DWORD AddDialUp()
    {
        SimInterfaceSetup modem;
        modem.name = L"ppp1";
        modem.type = MIB_IF_TYPE_PPP;
        return sim.Network().AddInterface(modem);
    }

    MemoryRegistryScope registry;
    SimNetworkScope sim;
};

} // namespace

TEST_F(AdapterTrackingTest, AutomaticTrackingFollowsTheDefaultRouteFromTickToTick)
{
    Settings settings;
    InterfaceTable table;
    NetStatusInfo adapters;
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), IndexNotFound); // no default route
    DWORD lan = sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    DWORD wlan = sim.AddLan(L"WLAN1", "10.0.0.5");
    table.Refresh();
    adapters.Refresh();
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), lan);
    sim.Network().RemoveRoute(L"NE20001", 0, 0);
    sim.Network().AddRoute(L"WLAN1", 0, 0, *ParseIpv4("10.0.0.1"));
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), wlan);
    sim.Network().Fail(platform::NetCall::GetBestInterface, ERROR_GEN_FAILURE);
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), IndexNotFound);
}

TEST_F(AdapterTrackingTest, AutomaticTrackingTakesTheLow16BitsOfTheRoutesIndex)
{
    // Some drivers give indexes past 16 bits; the item's lookups go by the low 16.
    SimInterfaceSetup big;
    big.name = L"BIG1";
    big.index = 0x10005;
    sim.Network().AddInterface(big);
    sim.Network().SetAddresses(L"BIG1", { platform::NetAddress { *ParseIpv4("10.0.0.9"), 0xFFFFFF00u } });
    sim.Network().AddRoute(L"BIG1", 0, 0, *ParseIpv4("10.0.0.1"));
    Settings settings;
    InterfaceTable table;
    NetStatusInfo adapters;
    table.Refresh();
    adapters.Refresh();
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), 5u);
}

TEST_F(AdapterTrackingTest, ManualTrackingGoesByNameOnlyWhateverTheNumber)
{
    sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    SimInterfaceSetup hidden;
    hidden.name = L"CISCO1";
    hidden.unnamedInTable = true;
    DWORD cisco = sim.Network().AddInterface(hidden);
    DWORD dialUp = AddDialUp();
    Settings settings;
    InterfaceTable table;
    NetStatusInfo adapters;
    settings.InterfaceIndex = 0; // the number of another entry: only the name counts
    settings.InterfaceString = L"WLAN1";
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), IndexNotFound);
    settings.InterfaceString = L"CISCO1"; // only the adapter list names it
    EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), cisco);
    for (const wchar_t* name : { L"ppp1", L"ppp:3" }) {
        settings.InterfaceString = name;
        EXPECT_EQ(TrackedAdapterIndex(settings, table, adapters), dialUp) << WideToUtf8(name);
    }
}

TEST_F(AdapterTrackingTest, InterfaceDisplayNames)
{
    Comm(L"NE2000", L"NE2000 Compatible Ethernet Driver");
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\ppp1", L"DisplayName", L"");
    Settings settings; // generation 2005: the cable adapter is ppp1
    std::wstring text;
    EXPECT_EQ(GetInterfaceDName(settings.AdapterNames(), L"ne20001", text), 0u);
    EXPECT_EQ(text, L"NE2000 Compatible Ethernet Driver");
    EXPECT_EQ(GetInterfaceDName(settings.AdapterNames(), L"ppp0", text), 0u);
    EXPECT_EQ(text, L"USB Sync Cable");
    EXPECT_EQ(GetInterfaceDName(settings.AdapterNames(), L"WLAN1", text), IndexNotFound);
    EXPECT_EQ(text, L"WLAN1*");
    EXPECT_EQ(GetInterfaceDName(settings.AdapterNames(), L"", text), IndexNotFound);
    EXPECT_EQ(text, L"GetInterfaceDName: invalid");

    sim.AddLan(L"NE20001", "192.168.1.10");
    SimInterfaceSetup hidden;
    hidden.name = L"CISCO1";
    hidden.unnamedInTable = true;
    DWORD cisco = sim.Network().AddInterface(hidden);
    InterfaceTable table;
    NetStatusInfo adapters;
    EXPECT_EQ(AdapterNameForIndex(2, table, adapters), L"NE20001");
    EXPECT_EQ(AdapterNameForIndex(cisco, table, adapters), L"CISCO1");
    EXPECT_EQ(AdapterNameForIndex(77, table, adapters), L"");
}

TEST_F(AdapterTrackingTest, DialUpLinksAreLoggedUnderTheirRasEntryNumber)
{
    sim.AddLan(L"NE20001", "192.168.1.10");
    DWORD dialUp = AddDialUp();
    SimInterfaceSetup hidden;
    hidden.name = L"ppp1-hidden";
    hidden.unnamedInTable = true;
    DWORD unnamed = sim.Network().AddInterface(hidden);
    Settings settings;
    InterfaceTable table;
    NetStatusInfo adapters;
    int asked = 0;
    std::wstring entry;
    auto ras = [&asked, &entry]() {
        ++asked;
        return entry;
    };
    EXPECT_EQ(UsageInterfaceKey(2, table, adapters, settings, ras), L"NE20001");
    EXPECT_EQ(asked, 0);
    // No open RAS connection: the cable's number 0.
    EXPECT_EQ(UsageInterfaceKey(dialUp, table, adapters, settings, ras), L"ppp:0");
    entry = L"Office";
    EXPECT_EQ(UsageInterfaceKey(dialUp, table, adapters, settings, ras), L"ppp:1");
    EXPECT_EQ(UsageInterfaceKey(dialUp, table, adapters, settings, ras), L"ppp:1");
    entry = L"USB Modem";
    EXPECT_EQ(UsageInterfaceKey(dialUp, table, adapters, settings, ras), L"ppp:0");
    entry = L"Home";
    // The adapter list's name stands in for an empty interface-table name.
    EXPECT_EQ(UsageInterfaceKey(unnamed, table, adapters, settings, ras), L"ppp:2");
    EXPECT_EQ(settings.RasNameCount(), 3u);
    EXPECT_EQ(UsageInterfaceKey(88, table, adapters, settings, ras), L"");
}

TEST_F(AdapterTrackingTest, UsageKeysShowAsDialUpOrFriendlyNames)
{
    Comm(L"NE2000", L"Office LAN");
    Settings settings;
    settings.AddRasName(L"Work");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ppp:0"), L"USB Sync Cable");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ppp:1"), L"Work");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ppp:2"), L"");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ppp:-1"), L"");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ppp:"), L"USB Sync Cable");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"NE20001"), L"Office LAN");
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"ne20001"), L""); // exact case here
    EXPECT_EQ(UsageInterfaceDisplayName(settings, L"WLAN1"), L"");
}

TEST_F(AdapterTrackingTest, SeededLinuxInterfacesAreFoundByTheFriendlyNameScan)
{
    platform::NetSnapshot snapshot;
    auto add = [&snapshot](const char* linuxName, const std::wstring& name, const char* model, bool loopback = false) {
        platform::NetInterface entry;
        entry.systemName = linuxName;
        entry.name = name;
        entry.description = model;
        entry.driver = "e1000e";
        entry.isLoopback = loopback;
        snapshot.interfaces.push_back(entry);
    };
    add("lo", platform::LinuxAdapterName("lo"), "lo", true);
    add("eth0", platform::LinuxAdapterName("eth0"), "eth0");
    add("eth1", platform::LinuxAdapterName("eth1"), "Intel 82574L");
    add("ppp0", platform::kDialUpAdapterName, "ppp0");
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip", L"Keep", L"me");
    ASSERT_EQ(platform::SeedCommAdapterKeys(snapshot), ERROR_SUCCESS);
    ASSERT_EQ(platform::SeedCommAdapterKeys(snapshot), ERROR_SUCCESS); // again: nothing changes

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Comm\\LO"));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"Comm\\ETH0", L"Group"), L"NDIS");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"Comm\\ETH0", L"ImagePath"), L"e1000e");
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip", L"Keep"), L"me");
    Settings settings;
    const AdapterNameList& names = settings.AdapterNames();
    std::wstring text;
    EXPECT_EQ(GetInterfaceDName(names, L"ETH01", text), 0u);
    EXPECT_EQ(text, L"eth0");
    EXPECT_EQ(GetInterfaceDName(names, L"ETH1#1", text), 0u);
    EXPECT_EQ(text, L"Intel 82574L");
    EXPECT_EQ(GetInterfaceDName(names, L"ppp1", text), 0u);
    EXPECT_EQ(text, L"ppp0");
    EXPECT_EQ(names.size(), 3u);

    // Windows Mobile 2003 has a cable adapter of its own: the dial-up link is shown raw.
    platform::DeviceProfile device = platform::DeviceProfile::Qvga();
    device.SetOsGeneration(2003);
    platform::SetCurrentDevice(device);
    Settings older;
    platform::SetCurrentDevice(platform::DeviceProfile::Qvga());
    EXPECT_EQ(GetInterfaceDName(older.AdapterNames(), L"ppp1", text), IndexNotFound);
    EXPECT_EQ(GetInterfaceDName(older.AdapterNames(), L"ETH01", text), 0u);
}
