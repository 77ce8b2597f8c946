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
    // Through a pointer: the rows run on past the one that the structure declares.
    const MIB_IFROW* rows = reinterpret_cast<MIB_IFTABLE*>(buffer.data())->table;
    EXPECT_EQ(rows[1].dwInOctets, 4u); // wrapped
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
             "counters A in=-1", "dhcp A renew=x", "frobnicate A", "fail GetIfTable error=0", "reboot now",
             "reboot id=", "reboot boot=2" }) {
        ScenarioParseResult parsed = ParseScenario(line);
        ASSERT_EQ(parsed.commands.size(), 1u) << line;
        EXPECT_NE(SimNetwork::CheckCommand(parsed.commands[0]), "") << line;
    }
}

TEST(SimNetworkScenario, CountersRatesAndSpeedsTakeEvery64BitValueAndNoMore)
{
    for (const char* line : { "counters A in=18446744073709551616", "rate A out=18446744073709551616",
             "interface A speed=18446744073709551616", "rate A in=-5", "interface A speed=1e10" }) {
        ScenarioParseResult parsed = ParseScenario(line);
        ASSERT_EQ(parsed.commands.size(), 1u) << line;
        EXPECT_NE(SimNetwork::CheckCommand(parsed.commands[0]), "") << line;
    }

    testing_support::SimNetworkScope sim;
    ScenarioParseResult parsed = ParseScenario("interface A speed=10000000000\n"
                                               "counters A in=18446744073709551615 out=4294967296\n"
                                               "rate A in=1250000000 out=+1000000007\n");
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    for (const ScenarioCommand& command : parsed.commands)
        ASSERT_EQ(SimNetwork::CheckCommand(command), "") << command.line;
    sim.Network().Schedule(parsed.commands);
    DWORD count = 0;
    ASSERT_EQ(GetNumberOfInterfaces(&count), static_cast<DWORD>(NO_ERROR)); // runs the commands now
    sim.Clock().AdvanceSeconds(3600);

    MIB_IF_ROW2 row {};
    row.InterfaceIndex = 2;
    ASSERT_EQ(GetIfEntry2(&row), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(row.TransmitLinkSpeed, 10000000000ull);
    // The counter at 2^64 - 1 wraps as the machine's would; the other one runs on past 2^32.
    EXPECT_EQ(row.InOctets, 3600ull * 1250000000ull - 1);
    EXPECT_EQ(row.OutOctets, 4294967296ull + 3600ull * 1000000007ull);
}

namespace {
std::string PerformLine(SimNetwork& network, const std::string& line)
{
    ScenarioParseResult parsed = ParseScenario(line);
    return parsed.commands.size() == 1 ? network.Perform(parsed.commands[0]) : "not one command: " + line;
}
} // namespace

TEST(SimNetworkScenario, EachVerbActsOnWhatItNames)
{
    testing_support::SimNetworkScope sim;
    SimNetwork& network = sim.Network();
    EXPECT_EQ(PerformLine(network, "down A"), "no interface \"A\"");
    EXPECT_EQ(PerformLine(network, "route default dev A"), "no interface \"A\"");
    for (const char* line : { "interface A", "interface B down", "down A", "up B", "route 10.0.0.0/8 dev A",
             "route 10.1.0.0/16 via 10.0.0.1 dev B metric=7", "unroute 10.0.0.0/8 dev A", "wins A on 10.0.0.2 10.0.0.3",
             "wins B off", "lease A duration=60", "dhcp A release=5 renew=87", "fail GetIfTable times=0",
             "recover GetIfTable", "fail GetBestInterface error=71 times=2" })
        ASSERT_EQ(PerformLine(network, line), "") << line;

    NetSnapshot snapshot;
    network.Query(0, snapshot);
    ASSERT_EQ(snapshot.interfaces.size(), 2u);
    const NetInterface& a = snapshot.interfaces[0];
    EXPECT_FALSE(a.isUp);
    EXPECT_TRUE(snapshot.interfaces[1].isUp);
    EXPECT_TRUE(a.haveWins);
    EXPECT_EQ(a.primaryWins, 0x0A000002u);
    EXPECT_EQ(a.secondaryWins, 0x0A000003u);
    ASSERT_EQ(snapshot.routes.size(), 1u);
    EXPECT_EQ(snapshot.routes[0].destination, 0x0A010000u);
    EXPECT_EQ(snapshot.routes[0].gateway, 0x0A000001u);
    EXPECT_EQ(snapshot.routes[0].metric, 7u);
    EXPECT_EQ(network.ReleaseAddress(a), 5u);
    EXPECT_EQ(network.RenewAddress(a), 87u);
    EXPECT_EQ(network.InjectedFailure(NetCall::GetIfTable), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(network.InjectedFailure(NetCall::GetBestInterface), 71u);
    EXPECT_EQ(network.InjectedFailure(NetCall::GetBestInterface), 71u);
    EXPECT_EQ(network.InjectedFailure(NetCall::GetBestInterface), static_cast<DWORD>(NO_ERROR));
}

TEST(SimNetworkScenario, ArgumentCountsReachTheirLimits)
{
    std::string addresses = "address A";
    std::string servers = "dns A";
    for (int i = 0; i < 63; ++i) {
        addresses += " 10.0.0." + std::to_string(i) + "/24";
        servers += " 10.0.1." + std::to_string(i);
    }
    auto check = [](const std::string& line) { return SimNetwork::CheckCommand(ParseScenario(line).commands.at(0)); };
    EXPECT_EQ(check(addresses), "");
    EXPECT_EQ(check(addresses + " 10.0.0.63/24"), "wrong number of arguments for \"address\"");
    EXPECT_EQ(check(servers), "");
    EXPECT_EQ(check(servers + " 10.0.1.63"), "wrong number of arguments for \"dns\"");
    EXPECT_EQ(check("route default via 10.0.0.1 dev A"), "");
    EXPECT_EQ(check("route default via 10.0.0.1 dev A x"), "wrong number of arguments for \"route\"");
    EXPECT_EQ(check("unroute default via 10.0.0.1"), "unknown word \"via\"");
    EXPECT_EQ(check("wins A on 10.0.0.2 10.0.0.3 10.0.0.4"), "wrong number of arguments for \"wins\"");
    EXPECT_EQ(check("interface A down unnamed"), "");
    EXPECT_EQ(check("interface A down unnamed down"), "wrong number of arguments for \"interface\"");
    EXPECT_EQ(check("remove"), "wrong number of arguments for \"remove\"");
    EXPECT_EQ(check("signal -70"), "unknown command");
}

TEST(SimNetworkScenario, LeaseTimesStayWithinThirtyTwoBits)
{
    testing_support::SimNetworkScope sim;
    SimNetwork& network = sim.Network();
    ASSERT_EQ(PerformLine(network, "interface A"), "");
    ASSERT_EQ(PerformLine(network, "lease A obtained=0 expires=4294967295"), "");
    ASSERT_EQ(PerformLine(network, "lease A duration=4294967295"), "");
    ASSERT_EQ(PerformLine(network, "lease A obtained=-4294967295 expires=+4294967295"), "");
    NetSnapshot snapshot;
    network.Query(0, snapshot);
    EXPECT_EQ(snapshot.interfaces.at(0).lease.obtained, 1141740309 - 4294967295ll);
    EXPECT_EQ(snapshot.interfaces.at(0).lease.expires, 1141740309 + 4294967295ll);
    // Beyond them the sums would overflow.
    EXPECT_EQ(PerformLine(network, "lease A duration=4294967296"), "bad duration \"4294967296\"");
    EXPECT_EQ(PerformLine(network, "lease A duration=9223372036854775807"), "bad duration \"9223372036854775807\"");
    EXPECT_EQ(PerformLine(network, "lease A expires=+9223372036854775807"), "bad time \"+9223372036854775807\"");
    EXPECT_EQ(PerformLine(network, "lease A obtained=-4294967296"), "bad time \"-4294967296\"");
    EXPECT_EQ(PerformLine(network, "lease A expires=9223372036854775807"), "bad time \"9223372036854775807\"");
}

TEST(SimNetworkScenario, OptionsAVerbDoesNotTakeAreRefused)
{
    for (const char* line : { "route default via 10.0.0.1 dev A metrc=5", "unroute default dev A metric=5",
             "fail GetIfTable eror=50", "recover GetIfTable times=1", "remove A index=2", "up A speed=10", "down A x=1",
             "address A none type=ppp", "dns A none server=10.0.0.1", "wins A off server=10.0.0.1" }) {
        std::string option = std::string(line).substr(std::string(line).rfind(' ') + 1);
        option.resize(option.find('='));
        EXPECT_EQ(SimNetwork::CheckCommand(ParseScenario(line).commands.at(0)), "unknown option \"" + option + "\"") << line;
    }
}

TEST(SimNetworkScenario, ARebootGivesANewBootIdAndStartsEveryCounterFromZero)
{
    testing_support::SimNetworkScope sim;
    SimNetwork& network = sim.Network();
    ScenarioParseResult parsed = ParseScenario(R"(
interface A
interface B
counters A in=8589934592 out=70000
rate B in=10 out=3
at 5 reboot
at 8 reboot id=212b34ed-0938-4901-8a7f-e1b62bcd02e3
)");
    ASSERT_TRUE(parsed.error.empty());
    for (const ScenarioCommand& command : parsed.commands)
        ASSERT_EQ(SimNetwork::CheckCommand(command), "") << command.line;
    network.Schedule(parsed.commands);
    EXPECT_EQ(network.BootId(), "sim-boot-1");
    sim.Clock().AdvanceSeconds(4);
    EXPECT_EQ(network.BootId(), "sim-boot-1");

    sim.Clock().AdvanceSeconds(1);
    EXPECT_EQ(network.BootId(), "sim-boot-2");
    sim.Clock().AdvanceSeconds(1);
    NetSnapshot snapshot;
    network.Query(kNetCounters, snapshot);
    ASSERT_EQ(snapshot.interfaces.size(), 2u);
    EXPECT_EQ(snapshot.interfaces[0].inOctets, 0u);
    EXPECT_EQ(snapshot.interfaces[0].outOctets, 0u);
    // Its rate goes on from 0: one second since the reboot.
    EXPECT_EQ(snapshot.interfaces[1].inOctets, 10u);
    EXPECT_EQ(snapshot.interfaces[1].outOctets, 3u);

    sim.Clock().AdvanceSeconds(2);
    EXPECT_EQ(network.BootId(), "212b34ed-0938-4901-8a7f-e1b62bcd02e3");
    network.Reboot();
    EXPECT_EQ(network.BootId(), "sim-boot-4");
}
