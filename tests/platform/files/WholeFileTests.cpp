// Replacing a host file whole: the old contents survive every failure, and nothing is written
// through a link at the temporary name.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/files/WholeFile.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

} // namespace

TEST(WholeFile, ReplacesAFileAndWritesOverAStaleTemporaryOne)
{
    testing_support::ScratchFolder folder;
    fs::path file = folder.Path() / "report.txt";
    std::ofstream(file) << "old contents, longer than the new";
    std::ofstream(file.string() + ".tmp") << "left by a crash, and longer than anything written here";
    ASSERT_EQ(platform::ReplaceWholeFile(file, "new"), 0);
    EXPECT_EQ(testing_support::ReadWholeFile(file), "new");
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
}

TEST(WholeFile, RefusesALinkAtTheTemporaryNameAndKeepsBothFiles)
{
    testing_support::ScratchFolder folder;
    fs::path file = folder.Path() / "registry.reg";
    fs::path elsewhere = folder.Path() / "elsewhere.txt";
    std::ofstream(file) << "the hive";
    std::ofstream(elsewhere) << "someone else's file";
    fs::create_symlink(elsewhere, file.string() + ".tmp");
    EXPECT_EQ(platform::ReplaceWholeFile(file, "written through the link"), ELOOP);
    EXPECT_EQ(testing_support::ReadWholeFile(file), "the hive");
    EXPECT_EQ(testing_support::ReadWholeFile(elsewhere), "someone else's file");
    EXPECT_TRUE(fs::is_symlink(file.string() + ".tmp"));
}
