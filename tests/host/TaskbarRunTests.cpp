// The item's icons on the taskbar and its meter alert, through the real program.
#include <gtest/gtest.h>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using Notes = std::vector<std::string>;

namespace {

const char* const kActivityChanges = "at 3 rate NE20001 out=300\nat 6 remove NE20001\n";

std::string AlertHtml(const std::string& threshold, const std::string& since, bool reset)
{
    return "<html><body><font color=\"#FF0000\"><b>Alert: </b></font><p>" + threshold
        + " MB has been transferred (both directions) since " + since + "."
        + (reset ? "<br>The meter has been reset. " : "")
        + " <p><p align=center><form method=\"POST\" action=><input type=button name='cmd:10' value='Ok'></p></body></html>";
}

} // namespace

TEST(TaskbarRun, TheTopBarIconSitsAtItsPlacementAndShowsTheActivity)
{
    DeviceRun device;
    device.Settings({ { "TaskbarIconEnabled", "1" }, { "TaskbarIconUp", "1" }, { "TaskbarIconPlacement", "127" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan() + kActivityChanges, { "--ticks", "8" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    // In the title child, vertically centred: (26 / 2) - (16 / 2).
    EXPECT_EQ(ticks.at(0).notes, Notes { "taskbar icon at 127,5: idle" });
    EXPECT_EQ(ticks.at(3).notes, Notes { "taskbar icon at 127,5: sending" });
    EXPECT_EQ(ticks.at(5).notes, Notes { "taskbar icon at 127,5: no connection" });
    EXPECT_TRUE(ticks.at(7).notes.empty());
}

TEST(TaskbarRun, TheNotificationIconFollowsTheActivity)
{
    DeviceRun device;
    device.Settings({ { "TaskbarIconEnabled", "1" }, { "TaskbarIconUp", "0" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan() + kActivityChanges, { "--ticks", "8" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    EXPECT_EQ(ticks.at(0).notes, Notes { "notification icon: idle" });
    EXPECT_EQ(ticks.at(3).notes, Notes { "notification icon: sending" });
    EXPECT_EQ(ticks.at(5).notes, Notes { "notification icon: no connection" });
}

TEST(TaskbarRun, NoTaskbarIconWhenDisabled)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "3" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const auto& tick : device.Output().ticks)
        EXPECT_TRUE(tick.notes.empty());
}

TEST(TaskbarRun, TheMeterAlertBubbleShowsItsHtmlUntilItsTimeIsUp)
{
    DeviceRun device;
    device.Settings({ { "MeterNotify", "1" }, { "MeterNotifyThreshold", "1" }, { "MeterNotifyType", "203" } });
    ProgramResult run =
        device.Simulate(DeviceRun::Lan() + "at 2 rate NE20001 in=300000 out=300000\n", { "--ticks", "30" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The meter was reset when the device first started, 7 March 2006 14:05:09.
    EXPECT_EQ(device.Output().events,
        (std::vector<std::string> { "bubble \"Velmora\" for 20 s: " + AlertHtml("1", "3/7/2006\\n14:05:09", false),
            "bubble \"Velmora\" closed" }))
        << run.out;
}

TEST(TaskbarRun, WithResetTheAlertSaysSoAndTheOkButtonDismissesIt)
{
    DeviceRun device;
    device.Settings({ { "MeterNotify", "1" }, { "MeterNotifyReset", "1" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan() + "at 2 rate NE20001 in=300000 out=300000\n"
                                                           "at 4 rate NE20001 in=0 out=0\n",
        {}, "wait 5\nclick cmd:10\nwait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(device.Output().events,
        (std::vector<std::string> { "bubble \"Velmora\" for 20 s: " + AlertHtml("1", "3/7/2006\\n14:05:09", true),
            "bubble \"Velmora\" closed" }))
        << run.out;
}
