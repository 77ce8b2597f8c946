// The diagnostic report's text, section by section, over the simulated network and a memory
// registry.
#include <gtest/gtest.h>

#include "options/DebugReport.h"
#include "platform/device/Device.h"
#include "platform/sim/Scenario.h"
#include "platform/text/Utf16.h"
#include "support/RegistryTestSupport.h"
#include "support/SimNetworkScope.h"

using namespace testing_support;
using platform::SimInterfaceSetup;

namespace {

class DebugReportTest : public ::testing::Test {
protected:
    std::wstring Compose(Settings& settings, DWORD activity = 1, int dpi = 96, std::optional<UsageWriteFault> fault = {})
    {
        InterfaceTable interfaces;
        NetStatusInfo adapters;
        return ComposeDebugReport(DebugReportSources { settings, interfaces, adapters, activity, dpi, dpi, fault });
    }

    MemoryRegistryScope registry;
    SimNetworkScope sim;
};

std::wstring Section(const std::wstring& report, const std::wstring& from, const std::wstring& to)
{
    size_t start = report.find(from);
    size_t end = report.find(to, start == std::wstring::npos ? 0 : start + from.size());
    if (start == std::wstring::npos || end == std::wstring::npos)
        return L"<missing>";
    return report.substr(start, end - start);
}

} // namespace

TEST_F(DebugReportTest, WithNoAdaptersTheWholeReport)
{
    CreateKey(HKEY_LOCAL_MACHINE, L"Comm");
    Settings settings;
    std::wstring report = Compose(settings, kActivityNoConnection);
    const std::wstring expected =
        L"Velmora Version: 1.9\r\n"
        L"Build Date: Jan  1 2006\r\n"
        L"Running on Windows Mobile 5.0 Operating System\r\n"
        L"Screen Scaling: X=1, Y=1\r\n"
        L"---------------------------\r\n"
        L"\r\nRegistry Contents:\r\n"
        L"Comm/\r\n"
        L"---------------------------\r\n"
        L"\r\nMemory Contents:\r\n"
        L"\r\nGlobal Adapter Data Structures:\r\n"
        L"--------------------------------\r\n"
        L"Network Status Information for Adapter 1\r\n"
        L"Adapter Name: 'GetAdapterName: InvalidIndex'\r\n"
        L"Adapter Description: 'GetAdapterDescription: InvalidIndex'\r\n"
        L"Adapter IP Address: GetAdapterCurrentIpAddress: InvalidIndex\r\n"
        L"Adapter DNS Server: No index match. \r\n"
        L"Adapter WINS Server: GetAdapterWINSServer: InvalidIndex\r\n"
        L"\r\n"
        L"--------------------------------\r\n"
        L"Global Configuration:\r\n"
        L"Tracking Adapter Index: Auto-Config\r\n"
        L"Tracking Adapter Name: ''\r\n"
        L"GetBestInterface: Disconnected\r\n"
        L"Connection State (g_uiNetAct): No Connection\r\n"
        L"---------------------------\r\n"
        L"End Velmora Debug File\r\n"
        L"---------------------------\r\n";
    EXPECT_EQ(report, expected);
}

TEST_F(DebugReportTest, PlatformEditionAndScreenScaling)
{
    platform::DeviceProfile device = platform::DeviceProfile::Vga();
    device.SetOsGeneration(2003);
    platform::SetCurrentDevice(device);
    Settings settings;
    platform::SetCurrentDevice(platform::DeviceProfile::Qvga());
    std::wstring report = Compose(settings, 1, 192);
    EXPECT_NE(report.find(L"Running on Windows Mobile 2003 Operating System\r\nScreen Scaling: X=2, Y=2\r\n"), std::wstring::npos);
    device.SetOsGeneration(2002);
    platform::SetCurrentDevice(device);
    Settings oldest;
    platform::SetCurrentDevice(platform::DeviceProfile::Qvga());
    EXPECT_NE(Compose(oldest).find(L"Running on Pocket PC 2002 Operating System\r\n"), std::wstring::npos);
}

TEST_F(DebugReportTest, RegistryDumpIsDepthFirstWithTheTypesItShows)
{
    PutDword(HKEY_LOCAL_MACHINE, L"Comm", L"Dhcp", 1);
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
    PutRaw(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Blob", REG_BINARY, { 1, 2, 3 });
    PutDword(HKEY_LOCAL_MACHINE, L"Comm\\NE2000\\Parms", L"BusNumber", 0xFFFFFFFFu);
    std::vector<uint8_t> multi = Utf16LeWithTerminator(L"10.0.0.1");
    std::vector<uint8_t> second = Utf16LeWithTerminator(L"10.0.0.2");
    multi.insert(multi.end(), second.begin(), second.end());
    multi.insert(multi.end(), { 0, 0 });
    PutRaw(HKEY_LOCAL_MACHINE, L"Comm\\NE2000\\Parms", L"IpAddress", REG_MULTI_SZ, multi);
    PutRaw(HKEY_LOCAL_MACHINE, L"Comm\\NE2000\\Parms", L"Path", REG_EXPAND_SZ, Utf16LeWithTerminator(L"x"));
    CreateKey(HKEY_LOCAL_MACHINE, L"Comm\\Tcpip");
    Settings settings;
    std::wstring report = Compose(settings);
    EXPECT_EQ(Section(report, L"Comm/", L"---"),
        L"Comm/\r\n"
        L"\tDWORD \tDhcp\t1\r\n"
        L"\tNE2000/\r\n"
        L"\t\tSTRING \tGroup\tNDIS\r\n"
        L"\t\tParms/\r\n"
        L"\t\t\tDWORD \tBusNumber\t-1\r\n"
        L"\t\t\tMSTRING \tIpAddress\t10.0.0.1\r\n"
        L"\tTcpip/\r\n");
}

TEST_F(DebugReportTest, InterfacesAdaptersAndTracking)
{
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"ImagePath", L"ne2000.dll");
    PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE20001", L"DisplayName", L"NE2000 Compatible");
    SimInterfaceSetup loopback;
    loopback.name = L"LOOPBACK";
    loopback.type = MIB_IF_TYPE_LOOPBACK;
    loopback.mtu = 1500;
    loopback.speedBps = 10000000;
    loopback.description = "Loopback";
    sim.Network().AddInterface(loopback);
    sim.AddLan(L"NE20001", "192.168.1.10", "192.168.1.1");
    sim.Network().SetDnsServers(L"NE20001", { *platform::ParseIpv4("192.168.1.1") });
    SimInterfaceSetup hidden;
    hidden.name = L"CISCO1";
    hidden.unnamedInTable = true;
    hidden.physAddr = { 0xAB };
    sim.Network().AddInterface(hidden);

    Settings settings;
    settings.InterfaceIndex = 0;
    settings.InterfaceString = L"NE20001";
    std::wstring report = Compose(settings);
    EXPECT_EQ(Section(report, L"\r\nGlobal Adapter Data Structures:", L"Details for network interface number 1"),
        L"\r\nGlobal Adapter Data Structures:\r\n"
        L"Adapter 0: NE20001\tNE2000 Compatible\r\n"
        L"--------------------------------\r\n"
        L"Details for network interface number 0\r\n"
        L"Name of interface: LOOPBACK\r\n"
        L"Index of the interface: 1\r\n"
        L"Type of interface: 24\r\n"
        L"Max transmission unit: 1500\r\n"
        L"Speed of the interface: 10000000\r\n"
        L"Length of physical address: 0\r\n"
        L"Description Length: 8\r\n"
        L"Description: Loopback\r\n"
        L"Physical address of adapter:\r\n\r\n"
        L"--------------------------------\r\n");
    EXPECT_NE(report.find(L"Name of interface: <none>\r\n"), std::wstring::npos);
    EXPECT_NE(report.find(L"Physical address of adapter: 00 0a 1b 2c 3d 4e\r\n\r\n"), std::wstring::npos);
    EXPECT_NE(report.find(L"Physical address of adapter: ab\r\n\r\n"), std::wstring::npos);
    // Two adapters: blocks for indexes 1 to 3; the loopback's index is no adapter.
    EXPECT_NE(report.find(L"Network Status Information for Adapter 1\r\nAdapter Name: 'GetAdapterName: InvalidIndex'"), std::wstring::npos);
    EXPECT_EQ(Section(report, L"Network Status Information for Adapter 2", L"Network Status Information for Adapter 3"),
        L"Network Status Information for Adapter 2\r\n"
        L"Adapter Name: 'NE20001'\r\n"
        L"Adapter Description: 'Simulated Ethernet'\r\n"
        L"Adapter IP Address: 192.168.1.10\r\n"
        L"Adapter DNS Server: 192.168.1.1\r\n"
        L"Adapter WINS Server: Not enabled\r\n"
        L"\r\n");
    EXPECT_EQ(report.find(L"Network Status Information for Adapter 4"), std::wstring::npos);
    EXPECT_EQ(Section(report, L"Global Configuration:", L"---------------------------\r\nEnd"),
        L"Global Configuration:\r\n"
        L"Tracking Adapter Index: 0\r\n"
        L"Tracking Adapter Name: 'NE20001'\r\n"
        L"GetBestInterface: Index 2\r\n"
        L"Connection State (g_uiNetAct): Connected\r\n"
        L"NetStatusInfo: LookupAdapterIndexByName returned 2 on input 'NE20001'.\r\n");
    settings.InterfaceString = L"WLAN1";
    EXPECT_NE(Compose(settings).find(L"NetStatusInfo: LookupAdapterIndexByName returned no match on input 'WLAN1'.\r\n"), std::wstring::npos);
}

TEST_F(DebugReportTest, ALoggingFolderThatCannotBeWrittenEndsTheConfiguration)
{
    Settings settings;
    std::wstring clean = Compose(settings, kActivityNoConnection);
    std::wstring report = Compose(settings, kActivityNoConnection, 96,
        UsageWriteFault { L"\\My Documents\\notes.txt\\logs", ERROR_PATH_NOT_FOUND });
    const std::wstring line = L"Usage Logging: cannot write to \\My Documents\\notes.txt\\logs: "
                              L"The system cannot find the path specified.\r\n";
    // One line more, just before the end rule; every other line as it was.
    size_t end = clean.find(L"---------------------------\r\nEnd");
    ASSERT_NE(end, std::wstring::npos);
    EXPECT_EQ(report, clean.substr(0, end) + line + clean.substr(end));
    EXPECT_NE(Compose(settings, 1, 96, UsageWriteFault { L"\\Logs", 1234 }).find(L"Usage Logging: cannot write to \\Logs: error 1234\r\n"),
        std::wstring::npos);
}

TEST_F(DebugReportTest, OwnerName)
{
    EXPECT_EQ(OwnerName(), L"Not set");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, L"ControlPanel\\Owner"));
    std::vector<uint8_t> record = Utf16LeWithTerminator(L"Анна Tester");
    record.resize(600, 0x41); // the rest of the record holds other fields
    PutRaw(HKEY_CURRENT_USER, L"ControlPanel\\Owner", L"Owner", REG_BINARY, record);
    EXPECT_EQ(OwnerName(), L"Анна Tester");
    record.resize(800, 0);
    PutRaw(HKEY_CURRENT_USER, L"ControlPanel\\Owner", L"Owner", REG_BINARY, record);
    EXPECT_EQ(OwnerName(), L"Not set"); // larger than the 768-byte buffer
}
