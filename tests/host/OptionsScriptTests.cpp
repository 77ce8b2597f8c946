// The options dialog driven by a script through the program, as a user would: the settings
// page saves a backup, and a later restore followed by OK keeps the restored values; the meter
// page's choices reach the registry; taps into the About page's corner write the report; the
// Profiles page makes a static profile past every refusal of its editor and activates it into
// the adapter's registry keys.
#include <gtest/gtest.h>

#include <string>

#include "DeviceRunSupport.h"
#include "platform/core/DataFolder.h"
#include "support/TestSupport.h"

using host_test::DeviceRun;

TEST(OptionsScript, TheSettingsPageSavesAndARestoreSurvivesOk)
{
    DeviceRun device;
    device.Settings({ { "ScrollRate", "5" } });
    host_test::ProgramResult saved = device.Simulate(DeviceRun::Lan(), {},
        "options\ntab \"Settings\"\nchoose \"\\My Documents\\saved\"\nclick 1123\nclick ok\n");
    ASSERT_EQ(saved.exitCode, 0) << saved.out << saved.err;
    ASSERT_TRUE(std::filesystem::exists(device.DeviceFile("My Documents/saved.vlm")));

    device.Settings({ { "ScrollRate", "9" } });
    host_test::ProgramResult restored = device.Simulate(DeviceRun::Lan(), {},
        "options\ntab \"Settings\"\nchoose \"\\My Documents\\saved.vlm\"\nanswer yes\nclick 1124\nclick ok\n");
    ASSERT_EQ(restored.exitCode, 0) << restored.out << restored.err;
    std::string hive = testing_support::ReadWholeFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("\"ScrollRate\"=dword:00000005"), std::string::npos) << hive;
}

TEST(OptionsScript, TheMeterPagesChoicesReachTheRegistryOnOk)
{
    DeviceRun device;
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan(), {},
        "options\ntab \"Meter\"\ntype 1026 \"150\"\ncheck 1027 on\ncheck 1021 on\nclick ok\n");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    std::string hive = testing_support::ReadWholeFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("\"MeterEnabled\"=dword:00000000"), std::string::npos) << hive;
    EXPECT_NE(hive.find("\"MeterNotifyThreshold\"=dword:00000063"), std::string::npos) << hive;
    EXPECT_NE(hive.find("\"MeterNotifyType\"=dword:000000c9"), std::string::npos) << hive;
}

// The taps land on the page's frame on the screen: they must reach the page under it.
TEST(OptionsScript, FourTapsInTheAboutPagesCornerWriteTheReport)
{
    DeviceRun device;
    std::string taps;
    for (int i = 0; i < 4; ++i)
        taps += "tap 200 220\n";
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan(), {},
        "options\ntab \"About\"\nanswer yes\nchoose \"\\My Documents\\debug\"\n" + taps + "click ok\n");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    std::string report = testing_support::ReadWholeFile(device.DeviceFile("My Documents/debug.txt"));
    EXPECT_EQ(report.rfind(std::string("V\0e\0l\0m\0o\0r\0a\0", 14), 0), 0u);
}

// The DHCP icon opens the dialog over the item; renew, then release, each a moment after the
// press, through the simulated network.
TEST(OptionsScript, TheDhcpIconsDialogRenewsAndReleasesTheLease)
{
    DeviceRun device;
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan(), {},
        "wait 1\ntap item 207 5\nread 1039\nread 1036\n"
        "click 2\nread 1036\nwait 0.5\nread 1036\n"
        "click 1037\nread 1036\nwait 0.5\nread 1036\nclick 1\nwait 1\nprint\n");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(device.Output().events,
        (std::vector<std::string> { "dialog 120 \"\" opened", "control 1039 reads \"NE2000 Compatible Ethernet Driver\"",
            "control 1036 reads \"Expires 3/8/06 14:05:09\"", "control 1036 reads \"Renewing lease...\"",
            "control 1036 reads \"192.168.1.10 renewed\"", "control 1036 reads \"Releasing address...\"",
            "control 1036 reads \"IP address released.\"", "dialog 120 \"\" closed" }))
        << run.out;
    // The item shows the released adapter once the dialog is closed.
    ASSERT_EQ(device.Output().prints.size(), 1u) << run.out;
    std::string lines;
    for (const std::string& line : device.Output().prints[0])
        lines += line + "\n";
    EXPECT_EQ(lines.find("192.168.1.10"), std::string::npos) << lines;
}

// Each adapter in turn and then the automatic item, each confirmed with OK: the registry holds
// the choice, as velmora reg query shows it.
TEST(OptionsScript, TheAdapterPagesChoiceReachesTheRegistry)
{
    DeviceRun device;
    const std::string scenario = DeviceRun::Lan() + "interface WLAN1 type=wireless description=\"Wireless LAN\"\n";
    const std::string key = "HKCU\\Software\\Tavrel\\Velmora";
    auto choose = [&](const std::string& entry) {
        host_test::ProgramResult run
            = device.Simulate(scenario, {}, "options\ntab \"Adapter\"\npick 1011 \"" + entry + "\"\nclick ok\n");
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        host_test::ProgramResult query = host_test::RunVelmora({ "--data", device.Data().string(), "reg", "query", key });
        EXPECT_EQ(query.exitCode, 0) << query.err;
        return query.out;
    };
    // The adapters' places in the list, as the registry's scan found them.
    std::string wireless = choose("Wireless LAN");
    std::string lan = choose("NE2000 Compatible Ethernet Driver");
    std::string automatic = choose("Auto-Configure Adapter");
    const bool wirelessFirst = wireless.find("InterfaceIndex    REG_DWORD    0x0\n") != std::string::npos;
    EXPECT_NE(wireless.find("InterfaceString    REG_SZ    WLAN1\n"), std::string::npos) << wireless;
    EXPECT_NE(wireless.find(wirelessFirst ? "InterfaceIndex    REG_DWORD    0x0\n" : "InterfaceIndex    REG_DWORD    0x1\n"),
        std::string::npos)
        << wireless;
    EXPECT_NE(lan.find("InterfaceString    REG_SZ    NE20001\n"), std::string::npos) << lan;
    EXPECT_NE(lan.find(wirelessFirst ? "InterfaceIndex    REG_DWORD    0x1\n" : "InterfaceIndex    REG_DWORD    0x0\n"),
        std::string::npos)
        << lan;
    EXPECT_NE(automatic.find("InterfaceIndex    REG_DWORD    0x62\n"), std::string::npos) << automatic;
    EXPECT_NE(automatic.find("InterfaceString    REG_SZ    \n"), std::string::npos) << automatic;
}

// A static profile made in the editor past each of its refusals, then activated on the LAN
// adapter: the adapter's registry parameters hold it, and the profiles were saved.
TEST(OptionsScript, TheProfilesPageMakesAStaticProfileAndActivatesIt)
{
    DeviceRun device;
    const std::string script = "options\n"
                               "tab \"Profiles\"\n"
                               "answer ok\n"
                               "click 1078\n" // no adapter chosen yet
                               "pick 1080 @0\n"
                               "answer ok\n"
                               "click 1078\n" // no profile chosen
                               "click 1076\n"
                               "answer ok\n"
                               "click 1\n" // no name
                               "type 1081 \"Office\"\n"
                               "click 1083\n"
                               "type 1084 \"192.168.1.300\"\n"
                               "type 1085 \"255.255.255.0\"\n"
                               "type 1086 \"192.168.1.1\"\n"
                               "answer ok\n"
                               "click 1\n"
                               "type 1084 \"192.168.1.50\"\n"
                               "click 1100\n"
                               "type 1087 \"192.168.1.2\"\n"
                               "type 1090 \"10.0.0.256\"\n"
                               "answer ok\n"
                               "click 1\n"
                               "type 1090 \"192.168.1.4\"\n"
                               "click 1\n"
                               "click 1076\n"
                               "type 1081 \"Office\"\n"
                               "answer ok\n"
                               "click 1\n" // the name is taken
                               "click 2\n"
                               "pick 1075 \"Office\"\n"
                               "answer yes\n"
                               "answer ok\n"
                               "click 1078\n"
                               "click ok\n";
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, script);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const char* messages[] = {
        "\"Please select a network adapter to activate the profile on.\" answered ok",
        "\"Please select a profile to activate.\" answered ok",
        "\"You must enter a profile name.\" answered ok",
        "\"Invalid IP Address. Please enter a valid address.\" answered ok",
        "\"Invalid Alternate WINS Server. Please enter a valid address.\" answered ok",
        "\"A profile by that name already exists. Please use a different name.\" answered ok",
        "\"Are you sure you wish to activate the profile Office on the network adapter ",
        "\"The profile will be enabled the next time the adapter is reset.\" answered ok",
    };
    size_t at = 0;
    for (const char* message : messages) {
        size_t found = run.out.find(message, at);
        ASSERT_NE(found, std::string::npos) << message << "\n" << run.out;
        at = found;
    }
    std::string hive = testing_support::ReadWholeFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("\"NetProfile0\"=\"Office*NE20001*0*192.168.1.50*255.255.255.0*192.168.1.1*192.168.1.2***192.168.1.4*\""),
        std::string::npos) << hive;

    host_test::ProgramResult query = host_test::RunVelmora(
        { "--data", device.Data().string(), "reg", "query", "HKLM\\Comm\\NE20001\\Parms\\Tcpip" });
    ASSERT_EQ(query.exitCode, 0) << query.err;
    for (const char* value : { "EnableDhcp    REG_DWORD    0x0", "IPAddress    REG_MULTI_SZ    192.168.1.50",
             "SubnetMask    REG_MULTI_SZ    255.255.255.0", "DefaultGateway    REG_MULTI_SZ    192.168.1.1",
             "DNS    REG_MULTI_SZ    192.168.1.2\n" })
        EXPECT_NE(query.out.find(value), std::string::npos) << value << "\n" << query.out;
    // An empty WINS server ahead of the alternate: the list reads empty to the platform's
    // tools, the alternate is still stored after it.
    EXPECT_NE(hive.find("\"WINS\"=hex(7):00,00,31,00,39,00,32,00,2e,00,31,00,36,00,38,00,2e,00,31,00,2e,"), std::string::npos);
}
