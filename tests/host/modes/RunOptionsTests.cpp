// The run's options: defaults, each option, and what is refused.
#include <gtest/gtest.h>

#include "host/modes/RunOptions.h"
#include "host/modes/SimulatedDevice.h"
#include "host/shell/TickReport.h"

using host::ParseRunOptions;

TEST(RunOptions, DefaultsAndEveryOption)
{
    host::RunOptionsResult plain = ParseRunOptions({});
    ASSERT_EQ(plain.error, "");
    EXPECT_EQ(plain.options.device, host::DeviceSize::Qvga);
    EXPECT_EQ(plain.options.osGeneration, 2005);
    EXPECT_FALSE(plain.options.Deterministic());
    EXPECT_FALSE(plain.options.dataGiven);
    EXPECT_EQ(plain.options.ticks, 0u);

    host::RunOptionsResult all = ParseRunOptions({ "--device", "vga", "--os=2003", "--rotate", "--headless", "--data", "d",
        "--simulate", "s.txt", "--script=x.txt", "--ticks", "12", "--screenshot", "shot.png" });
    ASSERT_EQ(all.error, "");
    const host::RunOptions& o = all.options;
    EXPECT_EQ(o.device, host::DeviceSize::Vga);
    EXPECT_EQ(o.osGeneration, 2003);
    EXPECT_TRUE(o.rotated);
    EXPECT_TRUE(o.headless);
    EXPECT_TRUE(o.dataGiven);
    EXPECT_EQ(o.dataFolder, "d");
    EXPECT_EQ(o.scenario, "s.txt");
    EXPECT_EQ(o.script, "x.txt");
    EXPECT_TRUE(o.Deterministic());
    EXPECT_EQ(o.ticks, 12u);
    EXPECT_EQ(o.screenshot, "shot.png");
}

TEST(RunOptions, RefusesBadValuesAndStrayArguments)
{
    EXPECT_NE(ParseRunOptions({ "--device", "wvga" }).error, "");
    EXPECT_NE(ParseRunOptions({ "--os", "2004" }).error, "");
    EXPECT_NE(ParseRunOptions({ "--ticks", "0" }).error, "");
    EXPECT_NE(ParseRunOptions({ "--ticks", "12x" }).error, "");
    EXPECT_NE(ParseRunOptions({ "--ticks", "-3" }).error, "");
    EXPECT_NE(ParseRunOptions({ "--simulate" }).error, "");
    EXPECT_EQ(ParseRunOptions({ "--headless", "extra" }).error, "unexpected argument 'extra' (try velmora --help)");
}

TEST(RunOptions, ClockCommandsTakeALocalTime)
{
    EXPECT_TRUE(host::ParseLocalTime("2006-03-07 14:05:09"));
    EXPECT_TRUE(host::ParseLocalTime("2006-03-07T14:05:09"));
    EXPECT_FALSE(host::ParseLocalTime("2006-03-07"));
    EXPECT_FALSE(host::ParseLocalTime("2006-13-07 14:05:09"));
    EXPECT_FALSE(host::ParseLocalTime("2006-03-07 24:00:00"));
    EXPECT_FALSE(host::ParseLocalTime("2006-03-07 14:05:09 extra"));
    platform::ScenarioCommand clock;
    clock.verb = "clock";
    clock.args = { "2006-03-07", "14:05:09" };
    EXPECT_EQ(host::SimulatedDevice::CheckClockCommand(clock), "");
    clock.args = { "noon" };
    EXPECT_NE(host::SimulatedDevice::CheckClockCommand(clock), "");
    clock.verb = "interface";
    EXPECT_EQ(host::SimulatedDevice::CheckClockCommand(clock), "unknown command");
}

TEST(TickReport, TaskbarChangesOnlyWhenSomethingChanged)
{
    host::TaskbarView none;
    EXPECT_EQ(host::FormatTaskbarChange(std::nullopt, none), "");
    host::TaskbarView up;
    up.topBarIcon = true;
    up.topBarPlace = POINT { 127, 5 };
    up.topBarActivity = 1;
    EXPECT_EQ(host::FormatTaskbarChange(none, up), "  taskbar icon at 127,5: idle\n");
    EXPECT_EQ(host::FormatTaskbarChange(up, up), "");
    host::TaskbarView tray;
    tray.notifyIcon = true;
    tray.notifyActivity = 4;
    EXPECT_EQ(host::FormatTaskbarChange(up, tray),
        "  taskbar icon removed\n  notification icon: sending and receiving\n");
    EXPECT_EQ(host::FormatTaskbarChange(tray, none), "  notification icon removed\n");
}
