// Beside a running device: the commands that only read its data work, the ones that would
// change its registry are refused with a way to stop the device, and work once it stopped.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "host/BackgroundDevice.h"
#include "host/ProgramRun.h"
#include "platform/core/DataFolder.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::BackgroundDevice;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

constexpr const char* kKey = "HKCU\\Software\\Tavrel\\Velmora";

} // namespace

TEST(HeldDataFolder, ReadersWorkBesideARunningDeviceAndRegistryWritersAreRefused)
{
    testing_support::ScratchFolder data;
    testing_support::ScratchFolder files;
    const std::string folder = data.Path().string();
    ASSERT_EQ(RunVelmora({ "--data", folder, "settings", "--save" }).exitCode, 0);
    ASSERT_EQ(RunVelmora({ "--data", folder, "profiles", "add", "Office" }).exitCode, 0);
    const fs::path exported = files.Path() / "settings.reg";
    ASSERT_EQ(RunVelmora({ "--data", folder, "reg", "export", kKey, exported.string() }).exitCode, 0);

    BackgroundDevice device(data.Path());
    ASSERT_TRUE(device.Holding()) << device.Output();

    const std::vector<std::vector<std::string>> readers = {
        { "reg", "query", kKey },
        { "reg", "export", kKey, (files.Path() / "copy.reg").string() },
        { "settings" },
        { "net" },
        { "diag", "--out", (files.Path() / "report.txt").string() },
        { "usage", "report", "--interval", "monthly", "--date", "2006-03-07" },
        { "profiles", "list", "--json" },
        { "profiles", "show", "Office" },
    };
    for (std::vector<std::string> args : readers) {
        SCOPED_TRACE(testing::PrintToString(args));
        args.insert(args.begin(), { "--data", folder });
        ProgramResult run = RunVelmora(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
    }
    EXPECT_NE(RunVelmora({ "--data", folder, "settings" }).out.find("(read only: a running velmora device holds it)"),
        std::string::npos);

    const std::vector<std::vector<std::string>> writers = {
        { "reg", "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "9", "/f" },
        { "reg", "delete", kKey, "/v", "ScrollRate", "/f" },
        { "reg", "import", exported.string() },
        { "settings", "--save" },
        { "settings", "--restore", exported.string() },
        { "profiles", "add", "Home" },
        { "profiles", "delete", "Office" },
    };
    for (std::vector<std::string> args : writers) {
        SCOPED_TRACE(testing::PrintToString(args));
        args.insert(args.begin(), { "--data", folder });
        ProgramResult run = RunVelmora(args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("`velmora service stop`"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("close its window"), std::string::npos) << run.err;
    }
    EXPECT_EQ(testing_support::ReadWholeFile(platform::HivePath(data.Path())).find("\"ScrollRate\"=dword:00000009"), std::string::npos);

    ASSERT_EQ(device.Stop(SIGTERM), 0) << device.Output();
    EXPECT_EQ(RunVelmora({ "--data", folder, "reg", "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "9", "/f" }).exitCode,
        0);
    EXPECT_EQ(RunVelmora({ "--data", folder, "settings", "--save" }).exitCode, 0);
}
