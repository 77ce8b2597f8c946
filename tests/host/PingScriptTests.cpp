// The ping dialog driven by a script through the program, as a user reaches it: the item's DHCP
// icon, the DHCP dialog's ping button, a target typed and pinged over the simulated network.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceRunSupport.h"
#include "platform/core/DataFolder.h"
#include "support/TestSupport.h"

using host_test::DeviceRun;

namespace {

// The loopback and the gateway answer after times unlike each other, so that a line cannot
// come from the other target's run.
std::string EchoScenario()
{
    return DeviceRun::Lan() + "echo 127.0.0.1 time=3\nhost Gw.Example 192.168.1.1\necho 192.168.1.1 time=17\n";
}

std::string FourLines(const std::string& line)
{
    std::string lines;
    for (int i = 0; i < 4; ++i)
        lines += line + "\\n";
    return lines;
}

} // namespace

// Four answers from each target; a name that does not resolve is refused with a message and
// leaves the last run's lines in place; only the targets that were pinged join the history.
TEST(PingScript, TheDhcpDialogsPingAnswersFourTimesAndRefusesAnUnknownName)
{
    DeviceRun device;
    const std::string script = "wait 1\ntap item 207 5\nclick 1038\n"
                               "type 1067 \"127.0.0.1\"\nclick 1038\nwait 4\nread 1069\nread 1065\n"
                               "type 1067 \"nowhere.example\"\nanswer ok\nclick 1038\nwait 4\nread 1065\n"
                               "type 1067 \"gw.example\"\nclick 1038\nwait 4\nread 1069\nread 1065\n"
                               "click 1\nclick 1\n";
    host_test::ProgramResult run = device.Simulate(EchoScenario(), {}, script);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string loopback = FourLines("127.0.0.1: OK (3ms)");
    EXPECT_EQ(device.Output().events,
        (std::vector<std::string> { "dialog 120 \"\" opened", "dialog 508 \"\" opened",
            "control 1069 reads \"Pinging 127.0.0.1:\"", "control 1065 reads \"" + loopback + "\"",
            "message box \"Velmora\": \"Could not resolve hostname.\" answered ok",
            "control 1065 reads \"" + loopback + "\"", "control 1069 reads \"Pinging 192.168.1.1:\"",
            "control 1065 reads \"" + FourLines("192.168.1.1: OK (17ms)") + "\"", "dialog 508 \"\" closed",
            "dialog 120 \"\" closed" }))
        << run.out;
    std::string hive = testing_support::ReadWholeFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("\"PreviousPings\"=\"gw.example*127.0.0.1*\""), std::string::npos) << hive;
}

// The next visit offers the earlier targets, the latest first: the second is pinged again.
TEST(PingScript, TheNextVisitOffersTheEarlierTargets)
{
    DeviceRun device;
    device.Settings({ { "PreviousPings", "gw.example*127.0.0.1*" } });
    host_test::ProgramResult run = device.Simulate(EchoScenario(), {},
        "wait 1\ntap item 207 5\nclick 1038\npick 1067 @1\nclick 1038\nwait 4\nread 1065\nclick 1\nclick 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(device.Output().events.at(2), "control 1065 reads \"" + FourLines("127.0.0.1: OK (3ms)") + "\"") << run.out;
}
