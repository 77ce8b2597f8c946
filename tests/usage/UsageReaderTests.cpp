#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"

using platform::CalendarTime;
using testing_support::VirtualClockScope;
using usage_test::DeviceFiles;

namespace {

const std::wstring kFolder = L"\\Logs";

void PutMonth(int year, int month, const std::wstring& text)
{
    usage_test::WriteWideFile(MonthFileName(kFolder, year, month), text);
}

CalendarTime Day(int year, int month, int day)
{
    return CalendarTime::FromFields(year, month, day, 12, 0, 0);
}

class UsageReaderTest : public ::testing::Test {
protected:
    UsageReaderTest()
    {
        m_clock.SetLocal(2007, 1, 1, 0, 30, 0); // the live counts are elsewhere unless moved
    }

    DeviceFiles m_files;
    VirtualClockScope m_clock;
};

} // namespace

TEST_F(UsageReaderTest, DailyAndHourlyFromOneMonthFile)
{
    PutMonth(2006, 3, L"2006-3-7-14 *1* \tppp:1 100 200 \r\n2006-3-7-15 *1* \tppp:1 100 200 \r\n"
                      L"2006-3-9-0 *1* \ta -1294967296 0 \r\n2006-3-9-0 *1* \ta -1294967296 0 \r\n");
    UsageLogger logger;
    UsageTable daily = UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"", kFolder);
    EXPECT_EQ(daily[7], 200u);
    EXPECT_EQ(daily[39], 400u);
    EXPECT_EQ(daily[9], 6000000000ull); // 32-bit totals written signed, summed in 64 bits

    UsageTable hourly = UsageTotals(logger, IntervalHourly, Day(2006, 3, 7), L"ppp:1", kFolder);
    UsageTable expected {};
    expected[15] = expected[16] = 100;
    expected[47] = expected[48] = 200;
    EXPECT_EQ(hourly, expected);
    EXPECT_EQ(UsageTotals(logger, IntervalHourly, Day(2006, 3, 8), L"", kFolder), UsageTable {});
}

TEST_F(UsageReaderTest, MonthlyReadsEveryMonthOfTheYear)
{
    PutMonth(2006, 1, L"2006-1-3-4 *1* \ta 1 2 \r\n");
    PutMonth(2006, 12, L"2006-12-31-23 *1* \ta 30 40 \r\n2006-12-1-0 *1* \ta 5 5 \r\n");
    // A line's own date does not matter: the file decides the month.
    PutMonth(2006, 6, L"2001-1-1-1 *1* \ta 7 7 \r\n");
    PutMonth(2005, 6, L"2005-6-1-1 *1* \ta 1000 1000 \r\n");
    UsageLogger logger;
    UsageTable monthly = UsageTotals(logger, IntervalMonthly, Day(2006, 8, 20), L"", kFolder);
    UsageTable expected {};
    expected[1] = 1;
    expected[33] = 2;
    expected[6] = 7;
    expected[38] = 7;
    expected[12] = 35;
    expected[44] = 45;
    EXPECT_EQ(monthly, expected);
}

TEST_F(UsageReaderTest, SelectorsByNameWithSpacesAndSubstrings)
{
    PutMonth(2006, 3, L"2006-3-7-14 *3* \tusb+sync+cable 10 20 \tppp:12 5 6 \tdummy 1 1 \r\n");
    UsageLogger logger;
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"USB Sync Cable", kFolder)[7], 10u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"ppp:1", kFolder)[39], 6u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"dummy", kFolder)[7], 1u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"", kFolder)[7], 15u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 1), L"wlan", kFolder)[7], 0u);
}

TEST_F(UsageReaderTest, MissingOrHeldFileReadsAsNoTraffic)
{
    UsageTable table {};
    EXPECT_FALSE(ReadMonthTotals(IntervalDaily, Day(2006, 3, 1), kFolder, L"", table));
    PutMonth(2006, 3, L"2006-3-7-14 *1* \ta 1 1 \r\n");
    usage_test::HeldOpen writer(MonthFileName(kFolder, 2006, 3));
    EXPECT_FALSE(ReadMonthTotals(IntervalDaily, Day(2006, 3, 1), kFolder, L"", table));
    EXPECT_EQ(table, UsageTable {});
}

TEST_F(UsageReaderTest, LiveCountsGoToTheCurrentBucketOnly)
{
    m_clock.SetLocal(2006, 3, 7, 14, 0, 0);
    UsageLogger logger;
    logger.LogTick(kFolder, L"USB Sync Cable", 0, 0, FALSE, 500);
    logger.LogTick(kFolder, L"WLAN1", 0, 0, FALSE, 500);
    m_clock.SetLocal(2006, 3, 7, 14, 20, 0);
    logger.LogTick(kFolder, L"USB Sync Cable", 100, 200, FALSE, 500);
    logger.LogTick(kFolder, L"WLAN1", 1, 2, FALSE, 500);
    PutMonth(2006, 3, L"2006-3-7-13 *1* \twlan1 5 5 \r\n");

    UsageTable hourly = UsageTotals(logger, IntervalHourly, Day(2006, 3, 7), L"", kFolder);
    EXPECT_EQ(hourly[15], 101u);
    EXPECT_EQ(hourly[47], 202u);
    EXPECT_EQ(hourly[14], 5u);
    // The counters keep their spaces: the selector is only lower-cased for them.
    EXPECT_EQ(UsageTotals(logger, IntervalHourly, Day(2006, 3, 7), L"usb sync cable", kFolder)[15], 100u);
    EXPECT_EQ(UsageTotals(logger, IntervalHourly, Day(2006, 3, 7), L"ppp:1", kFolder)[15], 0u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 3, 30), L"", kFolder)[7], 106u);
    EXPECT_EQ(UsageTotals(logger, IntervalMonthly, Day(2006, 11, 1), L"", kFolder)[3], 106u);
    EXPECT_EQ(UsageTotals(logger, IntervalDaily, Day(2006, 2, 7), L"", kFolder), UsageTable {});
    EXPECT_EQ(UsageTotals(logger, IntervalHourly, Day(2006, 3, 8), L"", kFolder), UsageTable {});
    EXPECT_EQ(UsageTotals(logger, IntervalMonthly, Day(2005, 3, 7), L"", kFolder), UsageTable {});
}

TEST_F(UsageReaderTest, CollectNamesAcrossMonthsAndYears)
{
    PutMonth(2005, 12, L"2005-12-1-0 *2* \tne20001 1 1 \tusb+sync+cable 0 0 \r\n");
    PutMonth(2006, 2, L"2006-2-1-0 *3* \tdummy 0 0 \tNE20001 1 1 \tppp:1 0 0 \r\n2006-2-1-1 *2* \tx 1 1 \r\n");
    PutMonth(2006, 4, L"2006-4-1-0 *1* \tlate 1 1 \r\n");
    NameList names;
    EXPECT_TRUE(CollectNames(kFolder, Day(2005, 12, 31), Day(2006, 3, 1), names));
    EXPECT_EQ(names, (NameList { L"ne20001", L"usb sync cable", L"dummy", L"ppp:1", L"x" }));

    NameList april;
    CollectNames(kFolder, CalendarTime::FromFields(2006, 3, 31, 23, 0, 0), CalendarTime::FromFields(2006, 4, 1, 0, 0, 0),
        april);
    EXPECT_EQ(april, NameList { L"late" });
    NameList none;
    CollectNames(kFolder, Day(2006, 3, 2), Day(2006, 3, 1), none);
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(CollectMonthNames(kFolder, 2006, 3, none));
}

TEST_F(UsageReaderTest, FilesThatAreThereButCannotBeReadAreNotedOnceEach)
{
    PutMonth(2006, 3, L"2006-3-7-14 *1* \ta 1 1 \r\n");
    usage_test::MakeFolder(MonthFileName(kFolder, 2006, 4)); // a folder in the file's place
    PutMonth(2006, 5, L"2006-5-7-14 *1* \tb 2 2 \r\n");
    usage_test::HeldOpen writer(MonthFileName(kFolder, 2006, 5));
    PutMonth(2006, 11, L"2006-11-7-14 *1* \tc 3 3 \r\n");
    m_files.Sim().FailOpens(L"*UsageData200611.txt", platform::SimFileSystem::kEveryTime, ERROR_ACCESS_DENIED);

    // Missing months are no fault; each unreadable one is noted once however often it is read.
    const std::vector<std::pair<std::wstring, DWORD>> expected { { MonthFileName(kFolder, 2006, 4), ERROR_ACCESS_DENIED },
        { MonthFileName(kFolder, 2006, 5), ERROR_SHARING_VIOLATION }, { MonthFileName(kFolder, 2006, 11), ERROR_ACCESS_DENIED } };
    UsageLogger logger;
    DirectMonthSource direct;
    MonthFileCache cache;
    for (MonthSource* source : std::initializer_list<MonthSource*> { &direct, &cache }) {
        UsageTable table = UsageTotals(logger, IntervalMonthly, Day(2006, 1, 1), L"", kFolder, *source);
        EXPECT_EQ(table[3], 1u);
        EXPECT_EQ(table[5] + table[11], 0u);
        NameList names;
        CollectNames(kFolder, Day(2006, 1, 1), Day(2006, 12, 1), names, *source);
        EXPECT_EQ(names, NameList { L"a" });
        std::vector<std::pair<std::wstring, DWORD>> unread;
        for (const UnreadMonthFile& file : source->UnreadFiles())
            unread.emplace_back(file.path, file.error);
        EXPECT_EQ(unread, expected);
    }
}

TEST_F(UsageReaderTest, FolderNamesComeFromEveryMonthFileOldestFirst)
{
    PutMonth(2006, 4, L"2006-4-1-0 *2* \tlate 1 1 \tne20001 1 1 \r\n");
    PutMonth(2005, 12, L"2005-12-1-0 *1* \tne20001 1 1 \r\n");
    PutMonth(2006, 3, L"2006-3-1-0 *1* \tmarch 1 1 \r\n");
    usage_test::WriteWideFile(kFolder + L"\\UsageDataNotes.txt", L"2006-3-1-0 *1* \tstray 1 1 \r\n");
    usage_test::WriteWideFile(kFolder + L"\\UsageData200603.txt.bak", L"2006-3-1-0 *1* \tstray 1 1 \r\n");
    NameList names;
    DirectMonthSource direct;
    CollectFolderNames(kFolder, names, direct);
    EXPECT_EQ(names, (NameList { L"ne20001", L"march", L"late" }));
    NameList none;
    CollectFolderNames(L"\\Nowhere", none, direct);
    EXPECT_TRUE(none.empty());
}

TEST(ParseMonthFileName, YearAndMonthOfMonthFileNamesOnly)
{
    auto parsed = [](const wchar_t* name) {
        int year = 0;
        int month = 0;
        return ParseMonthFileName(name, year, month) ? std::make_pair(year, month) : std::make_pair(-1, -1);
    };
    EXPECT_EQ(parsed(L"UsageData200603.txt"), std::make_pair(2006, 3));
    EXPECT_EQ(parsed(L"usagedata199912.TXT"), std::make_pair(1999, 12));
    EXPECT_EQ(parsed(L"UsageData1000001.txt"), std::make_pair(10000, 1));
    for (const wchar_t* other : { L"UsageData200613.txt", L"UsageData200600.txt", L"UsageData0200603.txt",
             L"UsageData2006-3.txt", L"UsageData0603.txt", L"UsageData200603.txt.bak", L"UsageData200603.dat",
             L"Usage200603.txt", L"UsageData123456789.txt" })
        EXPECT_EQ(parsed(other), std::make_pair(-1, -1)) << WideToUtf8(other);
}

TEST(DaysInMonth, MonthsAndLeapYears)
{
    const DWORD days[] = { DaysInMonth(2, 2008), DaysInMonth(2, 2006), DaysInMonth(2, 2000), DaysInMonth(2, 1900),
        DaysInMonth(4, 2006), DaysInMonth(11, 2006), DaysInMonth(12, 2006), DaysInMonth(0, 2006), DaysInMonth(13, 2006) };
    EXPECT_EQ(std::vector<DWORD>(std::begin(days), std::end(days)), (std::vector<DWORD> { 29, 28, 29, 28, 30, 30, 31, 31, 31 }));
}

TEST_F(UsageReaderTest, LinesReadInPiecesAreTheLinesOfTheWholeFile)
{
    // Pieces cut lines, carriage returns from their line feeds, a surrogate pair in two, and
    // the file ends on an odd byte after a lone high surrogate.
    std::string bytes = EncodeUtf16Le(L"2006-3-7-14 *1* \tne20001 1 2 \r\n\r\nx\ry\n\U0001F600 long line without an end \r");
    bytes += EncodeUtf16Le(std::wstring(1, static_cast<wchar_t>(0xD83D)));
    bytes += 'z';
    const std::wstring path = MonthFileName(kFolder, 2006, 3);
    usage_test::MakeFolder(kFolder);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);

    std::wstring whole;
    ASSERT_TRUE(ReadMonthFileText(path, whole));
    EXPECT_EQ(whole, DecodeUtf16Le(bytes));
    std::vector<std::wstring> expected;
    for (std::wstring_view line : SplitLines(whole))
        expected.emplace_back(line);
    ASSERT_EQ(expected.size(), 4u);
    for (size_t chunk : { 1, 4, 6, 7, 8, 10, 64, 65536 }) {
        std::vector<std::wstring> lines;
        EXPECT_TRUE(ReadMonthFileLines(path, [&lines](std::wstring_view line) { lines.emplace_back(line); }, chunk));
        EXPECT_EQ(lines, expected) << chunk;
    }
    EXPECT_FALSE(ReadMonthFileLines(MonthFileName(kFolder, 2006, 4), [](std::wstring_view) { FAIL(); }));
}
