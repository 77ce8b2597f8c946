// Options that need a value and have none: every command stops with exit status 2 before it
// touches any data folder, rather than running on the default one.
#include <gtest/gtest.h>

#include "host/CommandLine.h"
#include "host/ProgramRun.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::ProgramInput;
using host_test::ProgramResult;
using host_test::RunVelmora;

TEST(CommandLine, TakeOptionGivesValuesAndRefusesMissingOrEmptyOnes)
{
    host::Arguments args { "--out", "a.txt", "--data=d", "--json" };
    EXPECT_EQ(host::TakeOption(args, "--out"), "a.txt");
    EXPECT_EQ(host::TakeOption(args, "--data"), "d");
    EXPECT_EQ(host::TakeOption(args, "--interval"), std::nullopt);
    EXPECT_EQ(args, host::Arguments { "--json" });
    for (host::Arguments bad : { host::Arguments { "--json", "--out" }, host::Arguments { "--out=" }, host::Arguments { "--out", "" } }) {
        try {
            host::TakeOption(bad, "--out");
            ADD_FAILURE() << "no error for " << bad.back();
        } catch (const host::MissingOptionValue& missing) {
            EXPECT_STREQ(missing.what(), "--out needs a value");
        }
    }
}

TEST(CommandLine, ACommandWithAnOptionLackingItsValueStopsWithExitTwo)
{
    testing_support::ScratchFolder folder;
    const fs::path fallback = folder.Path() / "default";
    ProgramInput input;
    input.environment = { { "VELMORA_DATA", fallback.string() } };
    const std::vector<std::vector<std::string>> runs = {
        { "--data" },
        { "run", "--headless", "--data" },
        { "--headless", "--ticks" },
        { "settings", "--data" },
        { "net", "--data" },
        { "diag", "--data" },
        { "diag", "--out=" },
        { "usage", "report", "--interval", "monthly", "--data" },
        { "usage", "export", "--interval", "daily", "--out" },
        { "service", "status", "--data" },
    };
    for (const auto& args : runs) {
        std::string line;
        for (const std::string& arg : args)
            line += " " + arg;
        ProgramResult run = RunVelmora(args, input);
        EXPECT_EQ(run.exitCode, 2) << "velmora" << line << "\n" << run.out << run.err;
        EXPECT_NE(run.err.find("needs a value"), std::string::npos) << "velmora" << line << "\n" << run.err;
        EXPECT_FALSE(fs::exists(fallback)) << "velmora" << line << " used the default data folder";
    }
}
