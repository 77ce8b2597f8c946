#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "usage/LogRelocation.h"

using usage_test::DeviceFiles;
using usage_test::FileExists;
using usage_test::ReadWideFile;

namespace {

class RecordedMessages final : public RelocationMessages {
public:
    void ShowSystemError(const std::wstring& caption, DWORD error) override
    {
        shown.emplace_back(caption, L"system error " + std::to_wstring(error));
    }
    void ShowStop(const std::wstring& caption, const std::wstring& text) override { shown.emplace_back(caption, text); }

    std::vector<std::pair<std::wstring, std::wstring>> shown;
};

} // namespace

TEST(MoveLogFiles, MovesEveryMonthFileAndOnlyThose)
{
    DeviceFiles files;
    usage_test::WriteWideFile(L"\\Old\\UsageData200602.txt", L"feb");
    usage_test::WriteWideFile(L"\\Old\\UsageData200603.txt", L"mar");
    usage_test::WriteWideFile(L"\\Old\\notes.txt", L"keep");
    usage_test::MakeFolder(L"\\Storage Card\\Logs");
    RecordedMessages messages;
    EXPECT_TRUE(MoveLogFiles(L"\\Old", L"\\Storage Card\\Logs", messages));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadWideFile(L"\\Storage Card\\Logs\\UsageData200602.txt"), L"feb");
    EXPECT_EQ(ReadWideFile(L"\\Storage Card\\Logs\\UsageData200603.txt"), L"mar");
    EXPECT_FALSE(FileExists(L"\\Old\\UsageData200602.txt"));
    EXPECT_TRUE(FileExists(L"\\Old\\notes.txt"));
    EXPECT_FALSE(FileExists(L"\\velmoratemp"));
    // Nothing (more) to move: nothing is done and nothing is said.
    EXPECT_FALSE(MoveLogFiles(L"\\Old", L"\\New", messages));
    EXPECT_FALSE(MoveLogFiles(L"\\Missing", L"\\New", messages));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(MoveLogFiles, FileHeldOpenStaysAndTheMoveIsReported)
{
    DeviceFiles files;
    usage_test::WriteWideFile(L"\\Old\\UsageData200603.txt", L"mar");
    usage_test::MakeFolder(L"\\New");
    RecordedMessages messages;
    {
        usage_test::HeldOpen reader(L"\\Old\\UsageData200603.txt");
        EXPECT_FALSE(MoveLogFiles(L"\\Old", L"\\New", messages));
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, L"Velmora");
    EXPECT_EQ(messages.shown[0].second.rfind(L"Could not complete file move. Error ", 0), 0u);
    EXPECT_EQ(ReadWideFile(L"\\Old\\UsageData200603.txt"), L"mar");
}

TEST(MoveLogFiles, FileTheNewFolderRefusesGoesBackWhereItWas)
{
    DeviceFiles files;
    usage_test::WriteWideFile(L"\\Old\\UsageData200602.txt", L"old feb");
    usage_test::WriteWideFile(L"\\Old\\UsageData200603.txt", L"old mar");
    usage_test::WriteWideFile(L"\\New\\UsageData200603.txt", L"new mar");
    RecordedMessages messages;
    EXPECT_TRUE(MoveLogFiles(L"\\Old", L"\\New", messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second, L"These month files were not moved: UsageData200603.txt");
    messages.shown.clear();
    EXPECT_EQ(ReadWideFile(L"\\New\\UsageData200602.txt"), L"old feb");
    EXPECT_EQ(ReadWideFile(L"\\New\\UsageData200603.txt"), L"new mar");
    EXPECT_EQ(ReadWideFile(L"\\Old\\UsageData200603.txt"), L"old mar");
    EXPECT_FALSE(FileExists(L"\\velmoratemp"));

    // A new folder that does not exist takes nothing: all of it goes back.
    EXPECT_TRUE(MoveLogFiles(L"\\New", L"\\Gone", messages));
    EXPECT_TRUE(FileExists(L"\\New\\UsageData200602.txt"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].second, L"These month files were not moved: UsageData200602.txt, UsageData200603.txt");
}

TEST(MoveLogFiles, ScratchFolderThatCannotBeMadeIsReported)
{
    DeviceFiles files;
    usage_test::WriteWideFile(L"\\Old\\UsageData200603.txt", L"mar");
    // A file where the scratch folder belongs: the folder cannot be made (already exists is
    // tolerated, so the move goes on and fails to reach it).
    usage_test::WriteWideFile(L"\\velmoratemp", L"x");
    RecordedMessages messages;
    EXPECT_FALSE(MoveLogFiles(L"\\Old", L"\\New", messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(ReadWideFile(L"\\Old\\UsageData200603.txt"), L"mar");
}
