// The Usage tab driven by a script through the program, as a user would, over a simulated
// month of logs: the modes cycled, a day picked, the table shown and the chart again.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DeviceRunSupport.h"
#include "UsageScriptLogs.h"
#include "support/TestSupport.h"

using host_test::DeviceRun;
using host_test::WriteMonthOfLogs;

TEST(UsageScript, TheUsageTabCyclesModesPicksADayAndSwitchesViews)
{
    DeviceRun device;
    WriteMonthOfLogs(device);
    std::filesystem::path shots = device.Data() / "shots";
    std::filesystem::create_directories(shots);
    auto shot = [&shots](const char* name) { return "screenshot \"" + (shots / name).string() + ".png\"\n"; };
    std::string script = "options\ntab \"Usage\"\n" + shot("hourly") + "click 1105\n" + shot("daily") + "click 1105\n"
        + shot("monthly") + "click 1105\n" + shot("hourly-again") + "pick 1101 \"2026-03-02\"\n" + shot("second")
        + "click 1108\n" + shot("table") + "click 1109\n" + shot("chart-again") + "click ok\n";
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan() + "clock 2026-03-20 18:30:00\n", {}, script);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

    auto bytes = [&shots](const char* name) { return testing_support::ReadWholeFile(shots / (std::string(name) + ".png")); };
    ASSERT_FALSE(bytes("hourly").empty());
    EXPECT_NE(bytes("hourly"), bytes("daily"));
    EXPECT_NE(bytes("daily"), bytes("monthly"));
    EXPECT_EQ(bytes("hourly"), bytes("hourly-again")); // three presses: round to hourly
    EXPECT_NE(bytes("second"), bytes("hourly"));        // another day's hours
    EXPECT_NE(bytes("table"), bytes("second"));
    EXPECT_EQ(bytes("chart-again"), bytes("second"));

    // A day the picker does not take is the script's error, told with its line.
    host_test::ProgramResult bad = device.Simulate(DeviceRun::Lan(), {}, "options\ntab \"Usage\"\npick 1101 \"March\"\nclick ok\n");
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("line 3"), std::string::npos) << bad.err;
}
