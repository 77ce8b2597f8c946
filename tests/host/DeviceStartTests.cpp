// The device run's start: what a first start leaves in the data folder, the lock that keeps a
// second run off the same data, the arguments it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceRunSupport.h"
#include "platform/core/DataFolder.h"
#include "platform/registry/RegistryStore.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(DeviceStart, FirstStartMakesTheDeviceFoldersAndShowsTheItem)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "3" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(device.Output().ticks.size(), 3u) << run.out;
    EXPECT_EQ(device.Output().ticks[0].lines, std::vector<std::string> { "NE2000 Compatible Ethernet Driver" });
    EXPECT_EQ(device.Output().ticks[0].time, "14:05:10");

    for (const char* folder : { "Program Files/Velmora", "My Documents", "Windows" })
        EXPECT_TRUE(std::filesystem::is_directory(device.DeviceFile(folder))) << folder;
    std::string hive = ReadFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\\"Velmora\"]\n"
                        "\"DLL\"=\"\\\\Windows\\\\velmora.dll\""),
        std::string::npos)
        << hive;
    EXPECT_NE(hive.find("[HKEY_CURRENT_USER\\ControlPanel\\Owner]\n\"Owner\"=hex:"), std::string::npos);
    // The simulated adapter is named as the device names its installed adapters.
    EXPECT_NE(hive.find("[HKEY_LOCAL_MACHINE\\Comm\\NE2000]"), std::string::npos);
}

TEST(DeviceStart, LeavesSettingsUnderTheItemKeyAlone)
{
    DeviceRun device;
    std::ofstream(platform::HivePath(device.Data()))
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\\"Velmora\"]\n"
           "\"DLL\"=\"\\\\Windows\\\\velmora.dll\"\n"
           "\"SettingsSaved\"=dword:00000001\n"
           "\"FullViewEnabled\"=dword:00000001\n";
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "1" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The first set of settings under the item's key is the one the item shows.
    EXPECT_GT(device.Output().ticks.at(0).lines.size(), 2u) << run.out;
    std::string hive = ReadFile(platform::HivePath(device.Data()));
    EXPECT_NE(hive.find("\"FullViewEnabled\"=dword:00000001"), std::string::npos);
}

TEST(DeviceStart, ASecondRunOnTheSameDataIsRefused)
{
    DeviceRun device;
    platform::RegistryStoreResult held =
        platform::OpenRegistryStore(platform::HivePath(device.Data()), platform::RegistryStoreMode::ReadWrite);
    ASSERT_TRUE(held.Ok());
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "1" });
    platform::CloseRegistryStore();
    platform::ResetRegistryForTests();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("is in use by another running velmora"), std::string::npos) << run.err;
    EXPECT_TRUE(device.Output().ticks.empty());
}

TEST(DeviceStart, RefusesWhatItDoesNotUnderstand)
{
    DeviceRun device;
    ProgramResult badDevice = RunVelmora({ "--device", "wvga", "--headless" });
    EXPECT_EQ(badDevice.exitCode, 2);
    EXPECT_NE(badDevice.err.find("--device takes qvga or vga"), std::string::npos);
    EXPECT_EQ(RunVelmora({ "--ticks", "0" }).exitCode, 2);
    EXPECT_EQ(RunVelmora({ "run", "--bogus" }).exitCode, 2);

    ProgramResult badScenario = device.Simulate("interface LOOPBACK type=loopback\nat 2 teleport NE20001\n");
    EXPECT_EQ(badScenario.exitCode, 1);
    EXPECT_NE(badScenario.err.find(".txt:2: unknown command"), std::string::npos) << badScenario.err;

    ProgramResult badScript = device.Simulate(DeviceRun::Lan(), {}, "wait 1\nfly 3 4\n");
    EXPECT_EQ(badScript.exitCode, 2);
    EXPECT_NE(badScript.err.find(":2: unknown action \"fly\""), std::string::npos) << badScript.err;
}

TEST(DeviceStart, HelpTellsTheRunOptions)
{
    ProgramResult help = RunVelmora({ "run", "--help" });
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : { "--headless", "--simulate", "--script", "--ticks", "--screenshot", "--device", "--os", "--data" })
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_NE(RunVelmora({ "--help" }).out.find("run"), std::string::npos);
}
