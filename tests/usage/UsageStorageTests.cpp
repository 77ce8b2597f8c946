#include <gtest/gtest.h>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageStorage.h"

using testing_support::VirtualClockScope;
using usage_test::DeviceFiles;
using usage_test::FileExists;

namespace {

const std::wstring kFolder = L"\\Logs";

// A month file of the given size in bytes (an even number: wide characters).
void PutMonth(int year, int month, size_t bytes)
{
    usage_test::WriteWideFile(MonthFileName(kFolder, year, month), std::wstring(bytes / 2, L'x'));
}

bool HasMonth(int year, int month)
{
    return FileExists(MonthFileName(kFolder, year, month));
}

class UsageStorageTest : public ::testing::Test {
protected:
    UsageStorageTest() { m_clock.SetLocal(2006, 3, 15, 12, 0, 0); }

    DeviceFiles m_files;
    VirtualClockScope m_clock;
};

} // namespace

TEST_F(UsageStorageTest, FolderSizeCountsEveryUsageDataEntry)
{
    DWORD total = 77;
    EXPECT_FALSE(LogFolderSize(kFolder, total));
    EXPECT_EQ(total, 0u);
    PutMonth(2006, 1, 100);
    PutMonth(2006, 2, 50);
    usage_test::WriteWideFile(kFolder + L"\\UsageData.bak", std::wstring(5, L'x'));
    EXPECT_TRUE(LogFolderSize(kFolder, total));
    EXPECT_EQ(total, 160u);
    // Other files do not count: under the cap nothing is deleted.
    usage_test::WriteWideFile(kFolder + L"\\notes.txt", std::wstring(100000, L'x'));
    EXPECT_TRUE(ApplyStorageCap(kFolder, 100));
    EXPECT_TRUE(HasMonth(2006, 1));
    EXPECT_TRUE(ApplyStorageCap(L"\\Nowhere", 100));
}

TEST_F(UsageStorageTest, CapDeletesOldestUntilUnderTheLimit)
{
    PutMonth(2006, 1, 61440);
    PutMonth(2006, 2, 61440);
    PutMonth(2006, 3, 61440);
    EXPECT_TRUE(ApplyStorageCap(kFolder, 100));
    EXPECT_FALSE(HasMonth(2006, 1));
    EXPECT_FALSE(HasMonth(2006, 2));
    EXPECT_TRUE(HasMonth(2006, 3));
}

TEST_F(UsageStorageTest, CapDeletesTheCurrentMonthWhenItAloneIsTooLarge)
{
    PutMonth(2006, 3, 102402);
    ApplyStorageCap(kFolder, 100);
    EXPECT_FALSE(HasMonth(2006, 3));
    // Exactly at the limit is not over it.
    PutMonth(2006, 3, 102400);
    ApplyStorageCap(kFolder, 100);
    EXPECT_TRUE(HasMonth(2006, 3));
}

TEST_F(UsageStorageTest, CapDeletesAtMostTenFilesPerCall)
{
    for (int month = 1; month <= 12; ++month)
        PutMonth(2005, month, 60000);
    PutMonth(2006, 1, 60000);
    ApplyStorageCap(kFolder, 100); // 13 files of 60000 bytes against 102400
    for (int month = 1; month <= 10; ++month)
        EXPECT_FALSE(HasMonth(2005, month)) << month;
    EXPECT_TRUE(HasMonth(2005, 11));
    EXPECT_TRUE(HasMonth(2005, 12));
    // The next hour's call goes on until the folder is under the cap.
    ApplyStorageCap(kFolder, 100);
    EXPECT_FALSE(HasMonth(2005, 11));
    EXPECT_FALSE(HasMonth(2005, 12));
    EXPECT_TRUE(HasMonth(2006, 1));
}

TEST_F(UsageStorageTest, OldestMonthFindsEveryMonthIncludingFebruary)
{
    // On 1 March, steps of 30 days went from 1 March straight to 30 January, so a February
    // file was never found and the cap deleted the newer months first.
    m_clock.SetLocal(2006, 3, 1, 9, 30, 15);
    PutMonth(2006, 2, 200000);
    PutMonth(2006, 3, 10);
    platform::CalendarTime oldest = OldestLogMonth(kFolder);
    EXPECT_EQ(oldest.Year(), 2006);
    EXPECT_EQ(oldest.Month(), 2);
    EXPECT_EQ(oldest.Day(), 1);
    EXPECT_EQ(oldest.Hour(), 9);
    EXPECT_EQ(oldest.Minute(), 30);
    ApplyStorageCap(kFolder, 100);
    EXPECT_FALSE(HasMonth(2006, 2));
    EXPECT_TRUE(HasMonth(2006, 3));
}

TEST_F(UsageStorageTest, OldestMonthBoundsAndFallback)
{
    // Nothing found: the current month, day 1.
    platform::CalendarTime none = OldestLogMonth(kFolder);
    EXPECT_EQ(none.Month(), 3);
    EXPECT_EQ(none.Day(), 1);
    EXPECT_EQ(none.Hour(), 12);
    // Files before 2003 and after now are not looked for.
    PutMonth(2002, 12, 10);
    PutMonth(2006, 4, 10);
    PutMonth(2003, 1, 10);
    PutMonth(2004, 6, 10);
    platform::CalendarTime oldest = OldestLogMonth(kFolder);
    EXPECT_EQ(oldest.Year(), 2003);
    EXPECT_EQ(oldest.Month(), 1);
    EXPECT_TRUE(DeleteOldestLog(kFolder));
    EXPECT_FALSE(HasMonth(2003, 1));
    EXPECT_EQ(OldestLogMonth(kFolder).Year(), 2004);
}
