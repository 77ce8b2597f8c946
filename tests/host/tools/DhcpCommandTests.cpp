// velmora dhcp, run as a program over a simulated network only: a lease of this machine is
// never released or renewed by a test.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host/ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using host_test::ProgramResult;
using host_test::RunVelmora;

class DhcpCommandTest : public ::testing::Test {
protected:
    DhcpCommandTest()
    {
        WriteScenario("dhcp NE20001 release=0\n");
    }

    void WriteScenario(const std::string& extra)
    {
        std::ofstream(m_scenario) << "interface LOOPBACK type=loopback\n"
                                     "interface NE20001 mac=00-0A-1B-2C-3D-4E\n"
                                     "address NE20001 192.168.1.10/24\n"
                                     "route default via 192.168.1.1 dev NE20001\n"
                                     "interface WLAN1 type=wireless\n"
                                     "address WLAN1 10.0.0.7/8\n"
                                     "lease NE20001 server=192.168.1.1 duration=86400\n"
                                  << extra;
    }

    ProgramResult Dhcp(std::vector<std::string> args)
    {
        args.insert(args.begin(), { "--data", m_data.string(), "dhcp" });
        args.insert(args.end(), { "--simulate", m_scenario.string() });
        return RunVelmora(args);
    }

    testing_support::ScratchFolder m_folder;
    std::filesystem::path m_data = m_folder.Path() / "data";
    std::filesystem::path m_scenario = m_folder.Path() / "lan.scenario";
};

} // namespace

TEST_F(DhcpCommandTest, RenewsAndReleasesTheTrackedOrTheNamedAdapter)
{
    ProgramResult renew = Dhcp({ "renew" });
    ASSERT_EQ(renew.exitCode, 0) << renew.err;
    EXPECT_EQ(renew.out, "NE20001*: 192.168.1.10 renewed\n");
    EXPECT_EQ(renew.err, "");

    ProgramResult release = Dhcp({ "release", "NE20001" });
    ASSERT_EQ(release.exitCode, 0) << release.err;
    EXPECT_EQ(release.out, "NE20001*: IP address released.\n");
}

TEST_F(DhcpCommandTest, FailuresSayWhyAndEndWithOne)
{
    WriteScenario("dhcp NE20001 release=31 renew=50\n");
    ProgramResult release = Dhcp({ "release" });
    EXPECT_EQ(release.exitCode, 1);
    EXPECT_EQ(release.out, "");
    EXPECT_EQ(release.err, "velmora: dhcp release: NE20001*: Release failed. (error 31)\n");
    ProgramResult renew = Dhcp({ "renew" });
    EXPECT_EQ(renew.exitCode, 1);
    EXPECT_EQ(renew.err, "velmora: dhcp renew: NE20001*: Lease renewal failed. (error 50)\n");

    // An adapter without DHCP, or none of that name: nothing is asked of the client.
    ProgramResult noDhcp = Dhcp({ "renew", "WLAN1" });
    EXPECT_EQ(noDhcp.exitCode, 1);
    EXPECT_EQ(noDhcp.err, "velmora: dhcp renew: WLAN1*: DHCP not enabled\n");
    ProgramResult unknown = Dhcp({ "release", "eth9" });
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.err, "velmora: dhcp release: no adapter named 'eth9' (see velmora net)\n");
}

TEST_F(DhcpCommandTest, TheDataFoldersChoiceOfAdapterIsFollowed)
{
    const std::string key = "HKCU\\Software\\Tavrel\\Velmora";
    ASSERT_EQ(RunVelmora({ "--data", m_data.string(), "reg", "add", key, "/v", "InterfaceIndex", "/t", "REG_DWORD", "/d", "0",
                  "/f" }).exitCode,
        0);
    ASSERT_EQ(RunVelmora({ "--data", m_data.string(), "reg", "add", key, "/v", "InterfaceString", "/t", "REG_SZ", "/d",
                  "WLAN9", "/f" }).exitCode,
        0);
    ASSERT_EQ(RunVelmora({ "--data", m_data.string(), "reg", "add", key, "/v", "SettingsSaved", "/t", "REG_DWORD", "/d", "1",
                  "/f" }).exitCode,
        0);
    ProgramResult run = Dhcp({ "renew" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "velmora: dhcp renew: WLAN9*: Adapter disconnected\n");
}

TEST_F(DhcpCommandTest, WrongArgumentsEndWithTwo)
{
    EXPECT_EQ(Dhcp({}).exitCode, 2);
    EXPECT_EQ(Dhcp({ "restart" }).exitCode, 2);
    ProgramResult extra = Dhcp({ "renew", "NE20001", "WLAN1" });
    EXPECT_EQ(extra.exitCode, 2);
    EXPECT_EQ(extra.err, "velmora: dhcp: unexpected argument 'WLAN1' (try velmora dhcp --help)\n");
    EXPECT_EQ(RunVelmora({ "dhcp", "--help" }).exitCode, 0);
}
