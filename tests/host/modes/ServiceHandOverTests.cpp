// One device owns a data folder at a time: a run started on the folder the service holds stops
// the service (which ends cleanly, as on SIGTERM), takes the folder, and starts the service
// again at its end; a folder held by anything else is refused as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>

#include "host/BackgroundDevice.h"
#include "host/FakeSystemctl.h"
#include "host/ProgramRun.h"
#include "host/ServiceUnit.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::BackgroundDevice;
using host_test::FakeSystemctl;
using host_test::ProgramInput;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

const std::string kProgram = std::string(VELMORA_BINARY_DIR) + "/velmora";

void InstallUnit(const FakeSystemctl& systemctl, const fs::path& data)
{
    fs::create_directories(systemctl.UnitPath().parent_path());
    std::ofstream(systemctl.UnitPath()) << host::ServiceUnitText(kProgram, data);
}

ProgramResult RunOn(const FakeSystemctl& systemctl, const fs::path& data)
{
    ProgramInput input;
    input.environment = systemctl.Environment();
    return RunVelmora({ "--data", data.string(), "--headless", "--ticks", "1" }, input);
}

} // namespace

TEST(ServiceHandOver, ARunOnTheServicesFolderStopsItForTheRunAndStartsItAgain)
{
    testing_support::ScratchFolder data;
    FakeSystemctl systemctl;
    InstallUnit(systemctl, data.Path());
    BackgroundDevice service(data.Path());
    ASSERT_TRUE(service.Holding()) << service.Output();
    systemctl.SetActive("active");
    systemctl.SetMainPid(service.Pid());

    ProgramResult run = RunOn(systemctl, data.Path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("the velmora service ran on " + data.Path().string()
                  + ": stopped for this run, it starts again when the run ends\n"),
        std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("activity"), std::string::npos) << run.out; // the run had its tick

    // The service's device ended through its normal stop, with nothing on its output but its
    // start line (--quiet).
    EXPECT_EQ(service.Stop(SIGKILL), 0) << service.Output();
    EXPECT_EQ(service.Output().find("activity"), std::string::npos) << service.Output();
    EXPECT_EQ(service.Output().find("first frame"), std::string::npos) << service.Output();

    std::vector<std::string> calls = systemctl.Calls();
    auto stop = std::find(calls.begin(), calls.end(), "--user stop velmora.service");
    auto start = std::find(calls.begin(), calls.end(), "--user start velmora.service");
    ASSERT_NE(start, calls.end()) << testing::PrintToString(calls);
    EXPECT_LT(stop, start);
    EXPECT_EQ(systemctl.Active(), "active");
}

TEST(ServiceHandOver, AFolderHeldByAnythingButTheRunningServiceIsRefused)
{
    testing_support::ScratchFolder data;
    testing_support::ScratchFolder elsewhere;
    BackgroundDevice other(data.Path());
    ASSERT_TRUE(other.Holding()) << other.Output();

    // The service is installed on this folder but does not run; then it runs on another one.
    FakeSystemctl systemctl;
    InstallUnit(systemctl, data.Path());
    for (const fs::path& served : { data.Path(), elsewhere.Path() }) {
        InstallUnit(systemctl, served);
        systemctl.SetActive(served == data.Path() ? "inactive" : "active");
        ProgramResult refused = RunOn(systemctl, data.Path());
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("is in use by another running velmora"), std::string::npos) << refused.err;
        EXPECT_NE(refused.err.find("`velmora service stop`"), std::string::npos) << refused.err;
        EXPECT_FALSE(systemctl.Called("--user stop velmora.service"));
        EXPECT_FALSE(systemctl.Called("--user start velmora.service"));
    }
    EXPECT_EQ(other.Stop(SIGTERM), 0) << other.Output();
}
