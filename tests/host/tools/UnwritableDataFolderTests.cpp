// A data folder whose registry cannot be written: the commands that would change it say so,
// naming the file and why, exit with 1, and leave the hive as it was; the ones that only read
// still work.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>
#include <unistd.h>

#include "host/ProgramRun.h"
#include "platform/core/DataFolder.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using host_test::ProgramResult;
using host_test::RunVelmora;

namespace {

constexpr const char* kKey = "HKCU\\Software\\Tavrel\\Velmora";

class UnwritableDataFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Run({ "settings", "--save" }).exitCode, 0);
        ASSERT_EQ(Run({ "reg", "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "9", "/f" }).exitCode, 0);
        hive = platform::HivePath(data.Path());
        saved = testing_support::ReadWholeFile(hive);
        imported = data.Path() / "import.reg";
        std::ofstream(imported) << "Windows Registry Editor Version 5.00\n\n[" << kKey << "]\n\"ScrollRate\"=dword:00000007\n";
    }

    ProgramResult Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), { "--data", data.Path().string() });
        return RunVelmora(args);
    }

    // Each command that would write refuses, naming the hive and the reason; nothing changed.
    void ExpectWritersRefused(const std::string& reason)
    {
        ProgramResult save = Run({ "settings", "--save" });
        EXPECT_EQ(save.exitCode, 1);
        EXPECT_EQ(save.err.rfind("velmora: settings: --save cannot write the registry " + hive.string() + " (", 0), 0u) << save.err;
        EXPECT_NE(save.err.find(": " + reason + "; nothing was saved\n"), std::string::npos) << save.err;
        EXPECT_EQ(save.out.find("Saved to"), std::string::npos) << save.out;
        for (const char* command : { "net", "diag" }) {
            SCOPED_TRACE(command);
            ProgramResult run = Run({ command });
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err.rfind(std::string("velmora: ") + command + ": cannot write the registry " + hive.string(), 0), 0u)
                << run.err;
            EXPECT_NE(run.err.find(": " + reason + "; the adapter keys"), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find("next chance"), std::string::npos) << run.err;
        }
        const std::vector<std::vector<std::string>> regWriters = {
            { "reg", "add", kKey, "/v", "ScrollRate", "/t", "REG_DWORD", "/d", "3", "/f" },
            { "reg", "delete", kKey, "/v", "ScrollRate", "/f" },
            { "reg", "import", imported.string() },
        };
        for (const std::vector<std::string>& writer : regWriters) {
            SCOPED_TRACE(writer[1]);
            ProgramResult run = Run(writer);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err.rfind("ERROR: cannot write the registry " + hive.string() + " (", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(": " + reason + ". Nothing was changed.\n"), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find("next chance"), std::string::npos) << run.err;
        }
        EXPECT_EQ(testing_support::ReadWholeFile(hive), saved);
        // Reading needs no writing.
        ProgramResult settings = Run({ "settings" });
        EXPECT_EQ(settings.exitCode, 0) << settings.err;
        EXPECT_NE(settings.out.find("ScrollRate                   9\n"), std::string::npos) << settings.out;
    }

    testing_support::ScratchFolder data;
    fs::path hive;
    fs::path imported;
    std::string saved;
};

} // namespace

TEST_F(UnwritableDataFolder, AHiveThatCannotBeReplacedIsNamedAndKept)
{
    // What the new hive is written to first is taken by a folder.
    fs::create_directories(hive.string() + ".tmp/taken");
    ExpectWritersRefused("Is a directory");
    fs::remove_all(hive.string() + ".tmp");
    EXPECT_EQ(Run({ "net" }).exitCode, 0);
    ProgramResult save = Run({ "settings", "--save" });
    EXPECT_EQ(save.exitCode, 0) << save.err;
    EXPECT_NE(save.out.find("\nSaved to HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora.\n"), std::string::npos);
}

TEST_F(UnwritableDataFolder, AReadOnlyFolderIsNamedAndKept)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder all the same";
    fs::permissions(data.Path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove);
    ExpectWritersRefused("Permission denied");
    fs::permissions(data.Path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Run({ "settings", "--save" }).exitCode, 0);
}
