// The options dialog driven by a script through the program, as a user would: the settings
// page saves a backup, and a later restore followed by OK keeps the restored values; the meter
// page's choices reach the registry; taps into the About page's corner write the report.
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
