#include <gtest/gtest.h>

#include <string>

#include "host/ProgramRun.h"
#include "support/TestSupport.h"

using host_test::ProgramResult;
using host_test::RunVelmora;

TEST(SettingsCommand, ShowsInitialValuesThenWhatWasSaved)
{
    testing_support::ScratchFolder data;
    const std::string folder = data.Path().string();
    ProgramResult first = RunVelmora({ "settings", "--data", folder });
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_NE(first.out.find("initial values"), std::string::npos);
    EXPECT_NE(first.out.find("101  Adapter Name     shown"), std::string::npos);

    ProgramResult saved = RunVelmora({ "--data", folder, "settings", "--save" });
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    ProgramResult again = RunVelmora({ "settings", "--data", folder });
    EXPECT_NE(again.out.find("Settings from HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora"), std::string::npos)
        << again.out;
}

TEST(SettingsCommand, RejectsUnknownArguments)
{
    testing_support::ScratchFolder data;
    ProgramResult run = RunVelmora({ "settings", "--bogus", "--data", data.Path().string() });
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unexpected argument '--bogus'"), std::string::npos);
    EXPECT_EQ(RunVelmora({ "no-such-command" }).exitCode, 2);
}
