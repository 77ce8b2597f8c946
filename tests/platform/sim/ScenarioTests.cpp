// The scenario text and the simulated network playing it over virtual time.
#include <gtest/gtest.h>

#include "platform/net/IpHelper.h"
#include "platform/sim/Scenario.h"
#include "support/SimNetworkScope.h"

using namespace platform;

TEST(Scenario, LinesWordsQuotesOptionsAndTimeOrder)
{
    ScenarioParseResult parsed = ParseScenario("# start\n"
                                               "at 2.5 rate NE20001 in=10 out=\"2 0\"\r\n"
                                               "\n"
                                               "interface \"My \\\"LAN\\\"\" description=\"Sim NIC\"  # trailing\n"
                                               "at 1 remove x");
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    ASSERT_EQ(parsed.commands.size(), 3u);
    EXPECT_EQ(parsed.commands[0].verb, "interface");
    EXPECT_EQ(parsed.commands[0].atMs, 0);
    EXPECT_EQ(parsed.commands[0].args, std::vector<std::string> { "My \"LAN\"" });
    EXPECT_EQ(parsed.commands[0].Option("description"), "Sim NIC");
    EXPECT_EQ(parsed.commands[0].line, 4);
    EXPECT_EQ(parsed.commands[1].verb, "remove");
    EXPECT_EQ(parsed.commands[1].atMs, 1000);
    EXPECT_EQ(parsed.commands[2].atMs, 2500);
    EXPECT_EQ(parsed.commands[2].Option("out"), "2 0");

    EXPECT_EQ(ParseScenario("at\n").errorLine, 1);
    EXPECT_EQ(ParseScenario("ok\nat 1.x up A\n").errorLine, 2);
    EXPECT_EQ(ParseScenario("a\nb\ninterface \"open\n").errorLine, 3);
    EXPECT_EQ(ParseScenario("at 3\n").error, "a command word is missing");
}

TEST(Scenario, HardwareAddresses)
{
    EXPECT_EQ(ParseHardwareAddress("00-0A-1b:2C-3D-4E"), (std::vector<uint8_t> { 0, 0x0A, 0x1B, 0x2C, 0x3D, 0x4E }));
    EXPECT_FALSE(ParseHardwareAddress("00-0").has_value());
    EXPECT_FALSE(ParseHardwareAddress("00-01-02-03-04-05-06-07-08").has_value());
}

TEST(SimNetworkScenario, InterfacesAppearVanishAndCountersMoveOverVirtualTime)
{
    testing_support::SimNetworkScope sim;
    ScenarioParseResult parsed = ParseScenario(R"(
interface LOOPBACK type=loopback
interface NE20001 mac=00-0A-1B-2C-3D-4E description="Sim NIC"
address NE20001 192.168.1.10/24
route default via 192.168.1.1 dev NE20001 metric=5
dns NE20001 192.168.1.1
lease NE20001 server=192.168.1.1 duration=3600
counters NE20001 in=4294967000 out=0
rate NE20001 in=100 out=10
at 3 interface WLAN1 type=wireless
at 5 remove NE20001
at 6 fail GetIfTable error=50 times=1
)");
    ASSERT_TRUE(parsed.error.empty());
    for (const ScenarioCommand& command : parsed.commands)
        ASSERT_EQ(SimNetwork::CheckCommand(command), "") << command.line;
    sim.Network().Schedule(parsed.commands);

    DWORD count = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    DWORD best = 0;
    ASSERT_EQ(GetBestInterface(0, &best), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(best, 2u);
    sim.Clock().AdvanceSeconds(3);
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 3u);
    std::vector<uint64_t> buffer(4096);
    ULONG size = static_cast<ULONG>(buffer.size() * 8);
    ASSERT_EQ(GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buffer.data()), &size, TRUE), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(reinterpret_cast<MIB_IFTABLE*>(buffer.data())->table[1].dwInOctets, 4u); // wrapped
    sim.Clock().AdvanceSeconds(2);
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(GetBestInterface(0, &best), static_cast<DWORD>(ERROR_CAN_NOT_COMPLETE));
    sim.Clock().AdvanceSeconds(1);
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(GetIfTable(nullptr, &size, TRUE), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(SimNetworkScenario, BadCommandsSayWhy)
{
    for (const char* line : { "interface", "interface A type=token", "interface A mac=zz", "address A 1.2.3.4",
             "route default dev", "route 10.0.0.0/33 dev A", "lease A off extra=1", "wins A maybe", "fail GetFoo",
             "counters A in=-1", "dhcp A renew=x", "frobnicate A" }) {
        ScenarioParseResult parsed = ParseScenario(line);
        ASSERT_EQ(parsed.commands.size(), 1u) << line;
        EXPECT_NE(SimNetwork::CheckCommand(parsed.commands[0]), "") << line;
    }
}
