#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "support/TestSupport.h"

namespace {

struct ProgramRun {
    int exitCode;
    std::string output;
};

ProgramRun Velmora(const std::string& arguments)
{
    std::string command = std::string(VELMORA_BINARY_DIR) + "/velmora " + arguments + " 2>&1";
    ProgramRun run { -1, {} };
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(SettingsCommand, ShowsInitialValuesThenWhatWasSaved)
{
    testing_support::ScratchFolder data;
    std::string folder = "--data '" + data.Path().string() + "'";
    ProgramRun first = Velmora("settings " + folder);
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_NE(first.output.find("initial values"), std::string::npos);
    EXPECT_NE(first.output.find("101  Adapter Name     shown"), std::string::npos);

    ProgramRun saved = Velmora("settings --save " + folder);
    ASSERT_EQ(saved.exitCode, 0) << saved.output;
    ProgramRun again = Velmora("settings " + folder);
    EXPECT_NE(again.output.find("Settings from HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora"), std::string::npos)
        << again.output;
}

TEST(SettingsCommand, RejectsUnknownArguments)
{
    testing_support::ScratchFolder data;
    ProgramRun run = Velmora("settings --bogus --data '" + data.Path().string() + "'");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("unexpected argument '--bogus'"), std::string::npos);
    EXPECT_EQ(Velmora("no-such-command").exitCode, 2);
}
