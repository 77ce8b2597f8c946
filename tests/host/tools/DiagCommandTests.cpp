// `velmora diag --out FILE`: the report replaces a file only once it is whole, and a hive with
// bad lines gives the report and a failing exit.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/ProgramRun.h"
#include "platform/core/DataFolder.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

} // namespace

TEST(DiagCommand, TheReportReplacesAnOldFileOnlyWhenItCouldBeWrittenWhole)
{
    testing_support::ScratchFolder folder;
    const std::string data = (folder.Path() / "data").string();
    const fs::path out = folder.Path() / "report.txt";
    std::ofstream(out) << "the last report";

    ProgramResult written = RunVelmora({ "--data", data, "diag", "--out", out.string() });
    ASSERT_EQ(written.exitCode, 0) << written.err;
    std::string report = testing_support::ReadWholeFile(out);
    EXPECT_EQ(report.rfind("\xFF\xFE", 0), std::string::npos); // UTF-16LE without a mark, as the device writes it
    EXPECT_GT(report.size(), 100u);
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));

    // The new report cannot be put beside the old one: the old one stays whole.
    std::ofstream(out, std::ios::trunc) << "the last report";
    fs::create_directory(out.string() + ".tmp");
    ProgramResult failed = RunVelmora({ "--data", data, "diag", "--out", out.string() });
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("cannot write"), std::string::npos) << failed.err;
    EXPECT_EQ(testing_support::ReadWholeFile(out), "the last report");
}

TEST(DiagCommand, AHiveWithBadLinesGivesTheReportAndAFailingExit)
{
    testing_support::ScratchFolder folder;
    const fs::path data = folder.Path() / "data";
    fs::create_directories(data);
    std::ofstream(platform::HivePath(data)) << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\nbroken line\n";
    ProgramResult run = RunVelmora({ "--data", data.string(), "diag" });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 4: "), std::string::npos) << run.err;
    EXPECT_FALSE(run.out.empty());
}

TEST(DiagCommand, ALogFolderThatCannotBeWrittenHasALineOfItsOwn)
{
    testing_support::ScratchFolder folder;
    const fs::path data = folder.Path() / "data";
    ProgramResult clean = RunVelmora({ "--data", data.string(), "diag" });
    ASSERT_EQ(clean.exitCode, 0) << clean.err;
    EXPECT_EQ(clean.out.find("Usage Logging"), std::string::npos) << clean.out;

    // The log folder under a file: the logger could never make it.
    ASSERT_EQ(RunVelmora({ "--data", data.string(), "settings", "--save" }).exitCode, 0);
    ASSERT_EQ(RunVelmora({ "--data", data.string(), "reg", "add", "HKCU\\Software\\Tavrel\\Velmora", "/v", "UsageLogPath", "/d",
                  "\\My Documents\\notes.txt\\logs", "/f" })
                  .exitCode,
        0);
    std::ofstream(data / "device/My Documents/notes.txt") << "notes";
    ProgramResult run = RunVelmora({ "--data", data.string(), "diag" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string line
        = "Usage Logging: cannot write to \\My Documents\\notes.txt\\logs: The system cannot find the path specified.\n";
    size_t at = run.out.find(line);
    ASSERT_NE(at, std::string::npos) << run.out;
    // The last line of the configuration; everything else as in a report without it.
    std::string without = run.out.substr(0, at) + run.out.substr(at + line.size());
    EXPECT_EQ(without.substr(at), "---------------------------\nEnd Velmora Debug File\n---------------------------\n");
    EXPECT_FALSE(fs::exists(data / "device/My Documents/notes.txt/logs"));

    // A folder that can be made is no fault, and the check leaves nothing behind.
    ASSERT_EQ(RunVelmora({ "--data", data.string(), "reg", "add", "HKCU\\Software\\Tavrel\\Velmora", "/v", "UsageLogPath", "/d",
                  "\\My Documents\\logs", "/f" })
                  .exitCode,
        0);
    ProgramResult fixed = RunVelmora({ "--data", data.string(), "diag" });
    EXPECT_EQ(fixed.out.find("Usage Logging"), std::string::npos) << fixed.out;
    EXPECT_FALSE(fs::exists(data / "device/My Documents/logs"));
}
