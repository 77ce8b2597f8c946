#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host/ProgramRun.h"
#include "platform/text/Utf16.h"
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

TEST(SettingsCommand, BackupAndRestoreTheSettingsFile)
{
    testing_support::ScratchFolder data;
    const std::string folder = data.Path().string();
    const std::string key = "HKCU\\Software\\Tavrel\\Velmora";
    const std::string file = (data.Path() / "vlmconf.vlm").string();
    ASSERT_EQ(RunVelmora({ "--data", folder, "settings", "--save" }).exitCode, 0);
    ASSERT_EQ(RunVelmora({ "--data", folder, "reg", "add", key, "/v", "UsageLogPath", "/t", "REG_SZ", "/d",
                  "\\Storage Card\\My Logs", "/f" }).exitCode, 0);
    ProgramResult backup = RunVelmora({ "--data", folder, "settings", "--backup", file });
    ASSERT_EQ(backup.exitCode, 0) << backup.err;
    EXPECT_EQ(backup.out, "Current settings saved to:\n " + file + ".\n");
    std::string saved = testing_support::ReadWholeFile(file);
    EXPECT_NE(saved.find(EncodeUtf16Le(L"\r\nDWORD ScrollRate 5\r\n")), std::string::npos);
    EXPECT_NE(saved.find(EncodeUtf16Le(L"\r\nSTRING UsageLogPath \\Storage Card\\My Logs\r\n")), std::string::npos);

    // Changed after the backup, then restored from it: the file's values come back.
    ASSERT_EQ(RunVelmora({ "--data", folder, "reg", "add", key, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "9", "/f" }).exitCode, 0);
    ProgramResult restore = RunVelmora({ "--data", folder, "settings", "--restore", file });
    ASSERT_EQ(restore.exitCode, 0) << restore.err;
    EXPECT_NE(RunVelmora({ "--data", folder, "settings" }).out.find("  ScrollRate                   5\n"), std::string::npos);

    // Nothing to read, nowhere to write, or two modes at once.
    EXPECT_EQ(RunVelmora({ "--data", folder, "settings", "--restore", file + ".missing" }).exitCode, 1);
    ProgramResult nowhere = RunVelmora({ "--data", folder, "settings", "--backup", folder + "/no/such/folder.vlm" });
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_EQ(nowhere.out, "");
    EXPECT_EQ(RunVelmora({ "--data", folder, "settings", "--save", "--restore", file }).exitCode, 2);
    EXPECT_EQ(testing_support::ReadWholeFile(file), saved);
}
