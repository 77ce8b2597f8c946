// The shell around the item, through the real program: its menu bar keys, the title bar's OK
// button over the options dialog, a turned screen, and a script that cannot do what it says.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using Events = std::vector<std::string>;

TEST(ShellRun, TheMenuBarOpensTheOptionsAndTheTitleBarOkClosesThem)
{
    DeviceRun device;
    // The left key of the menu bar along the bottom; the title bar's ok at the top right.
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "wait 1\ntap 20 310\nwait 1\ntap 230 13\nwait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(device.Output().events, (Events { "dialog 500 \"\" opened", "dialog 500 \"\" closed" }));
    // OK on the options commits the settings: the user key holds them now.
    std::ifstream hive(device.Data() / "registry.reg");
    std::string text((std::istreambuf_iterator<char>(hive)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\"SettingsSaved\"=dword:00000001"), std::string::npos);
}

TEST(ShellRun, OneOptionsDialogAtATime)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "options\noptions\nclick ok\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 2: the options dialog could not be opened"), std::string::npos) << run.err;
    EXPECT_EQ(device.Output().events, (Events { "dialog 500 \"\" opened", "dialog 500 \"\" closed" }));
}

TEST(ShellRun, TurningTheScreenLaysTheItemOutAcrossIt)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "wait 2\nrotate\nwait 2\ntap 300 230\nwait 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(device.Output().events, (Events { "screen turned to 320 x 240", "screen turned to 240 x 320" }));
    const auto& ticks = device.Output().ticks;
    ASSERT_EQ(ticks.size(), 6u);
    EXPECT_EQ(ticks[2].paints.at(0), "0,0-320,26");
    // Back in portrait by the menu bar's right key.
    EXPECT_EQ(ticks[4].paints.at(0), "0,0-240,26");
}

TEST(ShellRun, AScriptThatEndsWithADialogOpenFails)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "options\nwait 1\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("NotEnded dialog 500"), std::string::npos) << run.err;
    ProgramResult nothing = device.Simulate(DeviceRun::Lan(), {}, "click 1034\ntap 5000 5\n");
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_NE(nothing.err.find("line 1: no dialog is open"), std::string::npos) << nothing.err;
    EXPECT_NE(nothing.err.find("line 2: nothing is shown at 5000,5"), std::string::npos) << nothing.err;
}
