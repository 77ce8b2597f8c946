// The data rate monitor driven by a script through the program: the activity icon opens it over
// a scripted burst of traffic, its rate text follows the burst, and the scale buttons work
// while it stays open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;

TEST(RateMonitorScript, TheActivityIconOpensTheMonitorWhoseRatesFollowABurst)
{
    DeviceRun device;
    // 80 000 bits/s sent and 20 000 received from 3 s to 14 s.
    std::string scenario = DeviceRun::Lan() + "at 3 rate NE20001 in=2500 out=10000\nat 14 rate NE20001 in=0 out=0\n";
    host_test::ProgramResult run = device.Simulate(scenario, {},
        "wait 10\ntap item 3 3\nwait 1\nread 1060\nclick 1062\nwait 1\nclick 1063\nwait 8\nread 1060\nread 1061\n"
        "click 1\nwait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_EQ(device.Output().events,
        (std::vector<std::string> {
            "dialog 507 \"\" opened",
            "control 1060 reads \"UL: 78.1 kbps  DL: 19.5 kbps\"",
            "control 1060 reads \"UL: 0.0 kbps  DL: 0.0 kbps\"",
            "control 1061 reads \"Data Rate Monitor\"",
            "dialog 507 \"\" closed",
        }))
        << run.out;
}
