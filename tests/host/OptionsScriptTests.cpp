// The options dialog driven by a script through the program, as a user would: the settings
// page saves a backup, and a later restore followed by OK keeps the restored values.
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
