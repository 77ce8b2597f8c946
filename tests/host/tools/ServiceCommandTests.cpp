// velmora service, run as a user would, over a stand-in systemctl that logs its calls: the unit
// it writes, what it asks the service manager, and that it says so and fails where systemd or
// the user's manager is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/FakeSystemctl.h"
#include "host/ProgramRun.h"
#include "host/ServiceUnit.h"
#include "platform/core/DataFolder.h"
#include "platform/registry/RegistryStore.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::FakeSystemctl;
using host_test::ProgramInput;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

class ServiceCommand : public testing::Test {
protected:
    ProgramResult Service(std::vector<std::string> args)
    {
        args.insert(args.begin(), "service");
        ProgramInput input;
        input.environment = m_systemctl.Environment();
        return RunVelmora(args, input);
    }
    ProgramResult Install() { return Service({ "install", "--data", m_data.Path().string() + "/" }); }

    testing_support::ScratchFolder m_data;
    FakeSystemctl m_systemctl;
};

} // namespace

TEST_F(ServiceCommand, InstallWritesTheUnitThenReloadsAndEnablesWithoutStarting)
{
    ProgramResult installed = Install();
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    std::string unit = testing_support::ReadWholeFile(m_systemctl.UnitPath());
    const std::string program = fs::canonical(std::string(VELMORA_BINARY_DIR) + "/velmora").string();
    EXPECT_NE(unit.find("ExecStart=" + host::QuoteUnitWord(program) + " --data " + host::QuoteUnitWord(m_data.Path().string())
                  + " --headless --quiet\n"),
        std::string::npos)
        << unit;
    EXPECT_EQ(fs::directory_iterator(m_systemctl.UnitPath().parent_path())->path(), m_systemctl.UnitPath()); // no temporary left
    EXPECT_NE(installed.out.find("Start it now with: velmora service start"), std::string::npos) << installed.out;

    std::vector<std::string> calls = m_systemctl.Calls();
    auto reload = std::find(calls.begin(), calls.end(), "--user daemon-reload");
    auto enable = std::find(calls.begin(), calls.end(), "--user enable velmora.service");
    EXPECT_TRUE(reload < enable && enable != calls.end()) << testing::PrintToString(calls);
    EXPECT_FALSE(m_systemctl.Called("--user start velmora.service"));
}

TEST_F(ServiceCommand, TheUnitPassesSystemdsOwnCheck)
{
    if (std::system("command -v systemd-analyze > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "systemd-analyze is not installed (package systemd): the unit file is not verified";
    ASSERT_EQ(Install().exitCode, 0);
    // verify wants a runtime folder for a user manager, not the manager itself.
    testing_support::ScratchFolder runtime;
    std::string command = "XDG_RUNTIME_DIR=" + runtime.Path().string() + " systemd-analyze --user verify '"
        + m_systemctl.UnitPath().string() + "' 2>&1";
    FILE* verify = ::popen(command.c_str(), "r");
    ASSERT_NE(verify, nullptr);
    std::string said;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, verify) != nullptr)
        said += buffer;
    int status = ::pclose(verify);
    EXPECT_EQ(status, 0) << said;
    EXPECT_EQ(said.find("velmora.service"), std::string::npos) << said;
}

TEST_F(ServiceCommand, StartStatusAndStopFollowTheManager)
{
    ASSERT_EQ(Install().exitCode, 0);
    ProgramResult before = Service({ "status" });
    ASSERT_EQ(before.exitCode, 0) << before.err;
    EXPECT_NE(before.out.find(m_systemctl.UnitPath().string() + " (installed)"), std::string::npos) << before.out;
    EXPECT_NE(before.out.find("data folder:  " + m_data.Path().string() + "\n"), std::string::npos) << before.out;
    EXPECT_NE(before.out.find("enabled:      enabled\n"), std::string::npos) << before.out;
    EXPECT_NE(before.out.find("active:       inactive\n"), std::string::npos) << before.out;

    ProgramResult started = Service({ "start" });
    ASSERT_EQ(started.exitCode, 0) << started.err;
    EXPECT_EQ(started.out, "Started velmora.service on " + m_data.Path().string() + ".\n");
    EXPECT_TRUE(m_systemctl.Called("--user start velmora.service"));
    EXPECT_NE(Service({ "status" }).out.find("active:       active\n"), std::string::npos);
    EXPECT_NE(Service({ "start" }).out.find("already runs"), std::string::npos);

    ProgramResult stopped = Service({ "stop" });
    ASSERT_EQ(stopped.exitCode, 0) << stopped.err;
    EXPECT_NE(stopped.out.find("Stopped velmora.service"), std::string::npos) << stopped.out;
    EXPECT_EQ(m_systemctl.Active(), "inactive");
    EXPECT_NE(Service({ "stop" }).out.find("is not running"), std::string::npos);
}

TEST_F(ServiceCommand, StartIsRefusedWhileARunHoldsTheDataFolder)
{
    ASSERT_EQ(Install().exitCode, 0);
    ASSERT_TRUE(platform::OpenRegistryStore(platform::HivePath(m_data.Path()), platform::RegistryStoreMode::ReadWrite).Ok());
    ProgramResult refused = Service({ "start" });
    platform::CloseRegistryStore();
    platform::ResetRegistryForTests();
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("is in use by a running velmora"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
    EXPECT_FALSE(m_systemctl.Called("--user start velmora.service"));
}

TEST_F(ServiceCommand, UninstallStopsDisablesAndRemovesTheUnit)
{
    ASSERT_EQ(Install().exitCode, 0);
    m_systemctl.SetActive("active");
    ProgramResult removed = Service({ "uninstall" });
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_FALSE(fs::exists(m_systemctl.UnitPath()));
    std::vector<std::string> calls = m_systemctl.Calls();
    auto stop = std::find(calls.begin(), calls.end(), "--user stop velmora.service");
    auto disable = std::find(calls.begin(), calls.end(), "--user disable velmora.service");
    EXPECT_TRUE(stop < disable && disable != calls.end()) << testing::PrintToString(calls);
    EXPECT_EQ(calls.back(), "--user daemon-reload");
    // The data is the user's: it stays.
    EXPECT_TRUE(fs::exists(m_data.Path()));

    ProgramResult again = Service({ "uninstall" });
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_NE(again.out.find("is not installed"), std::string::npos) << again.out;
    EXPECT_EQ(Service({ "start" }).exitCode, 1);
}

TEST_F(ServiceCommand, WithoutSystemdEverySubcommandSaysSoAndFails)
{
    for (bool withoutManager : { false, true }) {
        SCOPED_TRACE(withoutManager ? "no user manager" : "no systemctl");
        FakeSystemctl systemctl;
        ProgramInput input;
        input.environment = systemctl.Environment();
        if (withoutManager)
            systemctl.WithoutManager();
        else
            input.environment[0].second = (m_data.Path() / "no-systemctl").string();
        for (const char* verb : { "install", "uninstall", "start", "stop", "status" }) {
            SCOPED_TRACE(verb);
            ProgramResult run = RunVelmora({ "service", verb }, input);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_NE(run.err.find(withoutManager ? "no systemd user service manager runs for this user"
                                                  : "systemctl is not installed here"),
                std::string::npos)
                << run.err;
            for (const char* success : { "Installed", "Removed", "Started", "Stopped", "enabled:", "active:" })
                EXPECT_EQ(run.out.find(success), std::string::npos) << run.out;
            EXPECT_FALSE(fs::exists(systemctl.UnitPath()));
        }
        // What systemctl said is passed on; the manager was never asked to act.
        if (withoutManager) {
            EXPECT_NE(RunVelmora({ "service", "start" }, input).err.find("Failed to connect to bus"), std::string::npos);
            for (const std::string& call : systemctl.Calls())
                EXPECT_EQ(call, "--user show --property=Version");
        }
    }
}

TEST_F(ServiceCommand, AFailedJobIsAFailureWithTheManagersWords)
{
    ASSERT_EQ(Install().exitCode, 0);
    m_systemctl.FailOn("start");
    ProgramResult start = Service({ "start" });
    EXPECT_EQ(start.exitCode, 1);
    EXPECT_NE(start.err.find("cannot start velmora.service: Job for velmora.service failed"), std::string::npos) << start.err;
    EXPECT_EQ(start.out, "");
}

TEST_F(ServiceCommand, RefusesWhatItDoesNotUnderstandAndTellsWhatItDoes)
{
    EXPECT_EQ(Service({ "restart" }).exitCode, 2);
    ProgramResult data = Service({ "start", "--data", m_data.Path().string() });
    EXPECT_EQ(data.exitCode, 2);
    EXPECT_NE(data.err.find("--data goes with install"), std::string::npos) << data.err;
    EXPECT_TRUE(m_systemctl.Calls().empty());

    ProgramResult help = Service({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    for (const char* told : { "--headless --quiet", "journalctl --user -u velmora", "systemd", "velmora service stop",
             "install", "uninstall", "start", "stop", "status" })
        EXPECT_NE(help.out.find(told), std::string::npos) << told;
    EXPECT_NE(RunVelmora({ "--help" }).out.find("service"), std::string::npos);
}
