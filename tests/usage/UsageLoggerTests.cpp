#include <gtest/gtest.h>

#include <tuple>

#include "UsageTestFiles.h"
#include "platform/debug/DebugConsole.h"
#include "platform/files/Files.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"
#include "usage/UsageReportRows.h"

using testing_support::VirtualClockScope;
using usage_test::DeviceFiles;
using usage_test::HeldOpen;
using usage_test::ReadWideFile;

namespace {

const std::wstring kFolder = L"\\Program Files\\Velmora";
const std::wstring kMarch = kFolder + L"\\UsageData200603.txt";
const std::wstring kApril = kFolder + L"\\UsageData200604.txt";

class UsageLoggerTest : public ::testing::Test {
protected:
    // The device has "\Program Files"; the logger makes only the last level.
    UsageLoggerTest() { usage_test::MakeFolder(L"\\Program Files"); }

    // One tick of two interfaces, the clock a second on afterwards.
    BOOL Tick(UsageLogger& logger, ULONG64 lanUp, ULONG64 lanDown, ULONG64 pppUp = 0, ULONG64 pppDown = 0)
    {
        BOOL first = logger.LogTick(kFolder, L"NE20001", lanUp, lanDown, FALSE, 500);
        BOOL second = logger.LogTick(kFolder, L"ppp:1", pppUp, pppDown, FALSE, 500);
        m_clock.Clock().AdvanceSeconds(1);
        return first && second;
    }

    DeviceFiles m_files;
    VirtualClockScope m_clock;
};

} // namespace

TEST_F(UsageLoggerTest, FirstPartialHourIsLabelledWithItsHour)
{
    m_clock.SetLocal(2006, 3, 7, 10, 25, 0);
    UsageLogger logger;
    EXPECT_EQ(logger.HourStart().Hour(), 10);
    EXPECT_EQ(logger.HourStart().Minute(), 0);
    Tick(logger, 1000, 2000, 50, 60);     // first sight: counts 0
    Tick(logger, 1500, 2600, 150, 60);
    m_clock.SetLocal(2006, 3, 7, 10, 59, 59);
    Tick(logger, 1600, 2600, 150, 60);
    EXPECT_FALSE(usage_test::FileExists(kMarch));
    // 11:00:00 is the hour end: the record is written at that tick.
    Tick(logger, 1700, 2700, 150, 60);
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-10 *2* \tne20001 700 700 \tppp:1 100 0 \r\n");
    EXPECT_EQ(logger.HourStart().Hour(), 11);
    EXPECT_EQ(logger.Counters()[0].CombinedTotal(), 0u);
}

TEST(MonthFileCount, BelowTwoTo32AsTheDeviceWroteThemAboveAsPlainDecimals)
{
    EXPECT_EQ(MonthFileCount(0), L"0");
    EXPECT_EQ(MonthFileCount(2147483647u), L"2147483647");
    EXPECT_EQ(MonthFileCount(2147483648u), L"-2147483648");
    EXPECT_EQ(MonthFileCount(3000000000u), L"-1294967296");
    EXPECT_EQ(MonthFileCount(0xFFFFFFFFu), L"-1");
    EXPECT_EQ(MonthFileCount(0x100000000ull), L"4294967296");
    EXPECT_EQ(MonthFileCount(~0ull), L"18446744073709551615");
}

TEST_F(UsageLoggerTest, HourOfFiveGigabytesIsWrittenWholeAndReadsBack)
{
    m_clock.SetLocal(2006, 3, 7, 10, 0, 0);
    UsageLogger logger;
    // The machine's 64-bit counters start just below 2^32 and pass it in the hour.
    const ULONG64 start = 0xFFFFFF00u;
    Tick(logger, start, start + 11, 0x7FFFFFFFu, 5);
    Tick(logger, start + (5ull << 30), start + 11 + 3000000000u, 0x7FFFFFFFu + 0x80000000u, 5 + 0x7FFFFFFFu);
    m_clock.SetLocal(2006, 3, 7, 11, 0, 0);
    Tick(logger, start + (5ull << 30), start + 11 + 3000000000u, 0x7FFFFFFFu + 0x80000000u, 5 + 0x7FFFFFFFu);
    // 5 GiB plainly; 3e9 and 2^31 as the device wrote them; 2^31 - 1 unchanged.
    std::wstring record = L"2006-3-7-10 *2* \tne20001 5368709120 -1294967296 \tppp:1 -2147483648 2147483647 \r\n";
    EXPECT_EQ(ReadWideFile(kMarch), record);
    UsageLineSums sums = SumAllEntries(SplitUsageHeader(record.substr(0, record.size() - 2)).rest);
    EXPECT_EQ(sums.sent, (5ull << 30) + 0x80000000u);
    EXPECT_EQ(sums.received, 3000000000ull + 0x7FFFFFFFu);
}

TEST_F(UsageLoggerTest, TheCrossingCallWritesBeforeLaterInterfacesOfTheTick)
{
    m_clock.SetLocal(2006, 3, 7, 10, 59, 59);
    UsageLogger logger;
    Tick(logger, 0, 0, 0, 0);
    // This tick's ppp traffic comes after the record: it goes to the next hour.
    Tick(logger, 10, 10, 20, 20);
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-10 *2* \tne20001 10 10 \tppp:1 0 0 \r\n");
    EXPECT_EQ(logger.Counters()[1].UploadTotal(), 20u);
}

TEST_F(UsageLoggerTest, LastHourOfAMonthGoesToThatMonthsFile)
{
    m_clock.SetLocal(2006, 3, 31, 23, 10, 0);
    UsageLogger logger;
    Tick(logger, 0, 0);
    Tick(logger, 5, 5);
    m_clock.SetLocal(2006, 4, 1, 0, 0, 3);
    Tick(logger, 6, 6);
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-31-23 *2* \tne20001 6 6 \tppp:1 0 0 \r\n");
    EXPECT_FALSE(usage_test::FileExists(kApril));
    m_clock.SetLocal(2006, 4, 1, 1, 0, 0);
    Tick(logger, 9, 9);
    EXPECT_EQ(ReadWideFile(kApril), L"2006-4-1-0 *2* \tne20001 3 3 \tppp:1 0 0 \r\n");
}

TEST_F(UsageLoggerTest, SleepGapHasNoRecordsAndItsTrafficInTheHourItBegan)
{
    m_clock.SetLocal(2006, 3, 7, 14, 0, 0);
    UsageLogger logger;
    Tick(logger, 0, 0);
    m_clock.SetLocal(2006, 3, 7, 14, 30, 0);
    Tick(logger, 100, 100);
    m_clock.SetLocal(2006, 3, 7, 17, 10, 0); // asleep until now
    Tick(logger, 5000, 100);
    m_clock.SetLocal(2006, 3, 7, 18, 0, 0);
    Tick(logger, 5001, 100);
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *2* \tne20001 5000 100 \tppp:1 0 0 \r\n"
                                    L"2006-3-7-17 *2* \tne20001 1 0 \tppp:1 0 0 \r\n");
}

TEST_F(UsageLoggerTest, WriteThatMeetsAReaderIsRetriedWithNothingLost)
{
    m_clock.SetLocal(2006, 3, 7, 14, 50, 0);
    UsageLogger logger;
    Tick(logger, 0, 0);
    usage_test::WriteWideFile(kMarch, L"");
    {
        HeldOpen reader(kMarch);
        ASSERT_TRUE(reader.IsOpen());
        m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
        EXPECT_FALSE(logger.LogTick(kFolder, L"NE20001", 100, 100, FALSE, 500));
        EXPECT_EQ(logger.HourStart().Hour(), 14);
        m_clock.SetLocal(2006, 3, 7, 16, 20, 0); // still held an hour later
        EXPECT_FALSE(logger.LogTick(kFolder, L"NE20001", 300, 100, FALSE, 500));
    }
    EXPECT_TRUE(logger.LogTick(kFolder, L"NE20001", 400, 100, FALSE, 500));
    // One record, labelled with the hour counting began in, holding everything.
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *2* \tne20001 400 100 \tppp:1 0 0 \r\n");
    EXPECT_EQ(logger.HourStart().Hour(), 16);
}

TEST_F(UsageLoggerTest, RecordCutShortByAFullDiskIsTakenBackAndWrittenWhole)
{
    m_clock.SetLocal(2006, 3, 7, 14, 50, 0);
    UsageLogger logger;
    Tick(logger, 0, 0);
    usage_test::WriteWideFile(kMarch, L"2006-3-7-13 *0* \r\n");
    // Room for part of the record only.
    m_files.Sim().SetCapacity(m_files.Sim().UsedBytes() + 20);
    m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
    EXPECT_FALSE(logger.LogTick(kFolder, L"NE20001", 100, 200, FALSE, 500));
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-13 *0* \r\n");
    // A write that stores nothing at all.
    m_files.Sim().SetCapacity(platform::SimFileSystem::kDefaultCapacityBytes);
    m_files.Sim().FailWrites(kMarch, 1, ERROR_WRITE_FAULT);
    EXPECT_FALSE(logger.LogTick(kFolder, L"NE20001", 150, 200, FALSE, 500));
    EXPECT_EQ(logger.HourStart().Hour(), 14);
    EXPECT_TRUE(logger.LogTick(kFolder, L"NE20001", 160, 300, FALSE, 500));
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-13 *0* \r\n2006-3-7-14 *2* \tne20001 160 300 \tppp:1 0 0 \r\n");
}

TEST_F(UsageLoggerTest, AFolderThatCannotBeWrittenIsReportedOncePerSpell)
{
    std::string debug;
    platform::CaptureDebugOutput(&debug);
    m_clock.SetLocal(2006, 3, 7, 14, 50, 0);
    UsageLogger logger;
    Tick(logger, 0, 0);
    // A file where the log folder should be: the folder cannot be made.
    usage_test::WriteWideFile(kFolder, L"not a folder");
    const std::string report = "UsageLogger: cannot write to \\Program Files\\Velmora: The system cannot find the path specified.\n";
    m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
    EXPECT_FALSE(Tick(logger, 100, 200));
    ASSERT_TRUE(logger.WriteFault());
    EXPECT_EQ(logger.WriteFault()->folder, kFolder);
    // Every tick tries again, hours on: still the one report.
    EXPECT_FALSE(Tick(logger, 150, 200));
    m_clock.SetLocal(2006, 3, 7, 17, 0, 0);
    EXPECT_FALSE(Tick(logger, 170, 200));
    EXPECT_EQ(debug, report);
    EXPECT_EQ(ProbeUsageLogFolder(kFolder)->error, static_cast<DWORD>(ERROR_DIRECTORY));

    ASSERT_TRUE(DeleteFileW(kFolder.c_str()));
    EXPECT_FALSE(ProbeUsageLogFolder(kFolder));
    EXPECT_TRUE(Tick(logger, 180, 300));
    EXPECT_FALSE(logger.WriteFault());
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *2* \tne20001 180 300 \tppp:1 0 0 \r\n");

    // A later failure is a new spell, reported again.
    ASSERT_TRUE(DeleteFileW(kMarch.c_str()));
    ASSERT_TRUE(RemoveDirectoryW(kFolder.c_str()));
    usage_test::WriteWideFile(kFolder, L"not a folder");
    m_clock.SetLocal(2006, 3, 7, 18, 0, 0);
    EXPECT_FALSE(Tick(logger, 190, 300));
    platform::CaptureDebugOutput(nullptr);
    EXPECT_EQ(debug, report + report);
}

TEST_F(UsageLoggerTest, NamesAreLowerCaseWithPlusForSpacesAndKeepTheirSlot)
{
    m_clock.SetLocal(2006, 3, 7, 9, 0, 0);
    UsageLogger logger;
    logger.LogTick(kFolder, L"USB Sync Cable", 10, 10, FALSE, 500);
    logger.LogTick(kFolder, L"WLAN1", 0, 0, FALSE, 500);
    logger.LogTick(kFolder, L"usb sync cable", 30, 10, FALSE, 500); // the same interface
    logger.LogTick(kFolder, L"WLAN1", 3000000000u, 0x7FFFFFFFu, FALSE, 500);
    EXPECT_EQ(logger.Counters().size(), 2u);
    EXPECT_EQ(logger.Counters()[0].Name(), L"usb sync cable");
    m_clock.SetLocal(2006, 3, 7, 10, 0, 0);
    logger.LogTick(kFolder, L"WLAN1", 3000000000u, 0x7FFFFFFFu, FALSE, 500);
    // The cable is gone from now on; it stays in every record with 0 0.
    m_clock.SetLocal(2006, 3, 7, 11, 0, 0);
    logger.LogTick(kFolder, L"WLAN1", 3000000000u, 0x7FFFFFFFu, FALSE, 500);
    // Hourly totals of 2^31 bytes or more are written as signed numbers.
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-9 *2* \tusb+sync+cable 20 0 \twlan1 -1294967296 2147483647 \r\n"
                                    L"2006-3-7-10 *2* \tusb+sync+cable 0 0 \twlan1 0 0 \r\n");
}

TEST_F(UsageLoggerTest, TwentyFirstNameIsNotCountedAndTheFirstTwentyGoOn)
{
    m_clock.SetLocal(2006, 3, 7, 9, 0, 0);
    UsageLogger logger;
    for (int i = 0; i < 21; ++i)
        EXPECT_TRUE(logger.LogTick(kFolder, L"if" + std::to_wstring(i), 0, 0, FALSE, 500));
    EXPECT_EQ(logger.Counters().size(), UsageLogger::SlotCount);
    for (int i = 0; i < 21; ++i)
        logger.LogTick(kFolder, L"if" + std::to_wstring(i), 7, 7, FALSE, 500);
    EXPECT_EQ(logger.Counters()[19].Name(), L"if19");
    EXPECT_EQ(logger.Counters()[19].UploadTotal(), 7u);
    // Its calls still drive the hourly write.
    m_clock.SetLocal(2006, 3, 7, 10, 0, 0);
    EXPECT_TRUE(logger.LogTick(kFolder, L"if20", 9, 9, FALSE, 500));
    std::wstring record = ReadWideFile(kMarch);
    EXPECT_EQ(record.substr(0, 16), L"2006-3-7-9 *20* ");
    EXPECT_EQ(record.find(L"if20"), std::wstring::npos);
    // An empty name cannot be written as an entry: it gets no slot.
    UsageLogger other;
    other.LogTick(kFolder, L"", 1, 1, FALSE, 500);
    EXPECT_TRUE(other.Counters().empty());
}

TEST_F(UsageLoggerTest, FolderIsCreatedWhenMissingAndWriteFailsWhenItCannotBe)
{
    m_clock.SetLocal(2006, 3, 7, 9, 30, 0);
    UsageLogger logger;
    const std::wstring nested = L"\\Missing\\Logs";
    logger.LogTick(nested, L"a", 0, 0, FALSE, 500);
    m_clock.SetLocal(2006, 3, 7, 10, 0, 0);
    // One level only: the parent is missing too, so the record waits.
    EXPECT_FALSE(logger.LogTick(nested, L"a", 5, 0, FALSE, 500));
    m_clock.SetLocal(2006, 3, 7, 10, 0, 1);
    EXPECT_TRUE(logger.LogTick(L"\\Logs", L"a", 6, 0, FALSE, 500));
    EXPECT_EQ(ReadWideFile(L"\\Logs\\UsageData200603.txt"), L"2006-3-7-9 *1* \ta 6 0 \r\n");
}

TEST_F(UsageLoggerTest, StartInTheHourThatRepeatsWritesNoExtraRecord)
{
    testing_support::TimeZoneScope zone("Europe/Berlin");
    // 29 October 2006: 03:00 summer time is 02:00 winter time again. Start in the second 02:00.
    m_clock.Clock().SetUnixSeconds(platform::CalendarTime::FromFields(2006, 10, 29, 1, 30, 0).UnixSeconds() + 2 * 3600);
    ASSERT_EQ(platform::CalendarTime::Now().Hour(), 2);
    UsageLogger logger;
    EXPECT_EQ(logger.HourEnd() - platform::CalendarTime::Now(), 30 * 60);
    const std::wstring october = kFolder + L"\\UsageData200610.txt";
    logger.LogTick(kFolder, L"a", 0, 0, FALSE, 500);
    for (int minute = 0; minute < 90; ++minute) {
        m_clock.Clock().AdvanceSeconds(60);
        logger.LogTick(kFolder, L"a", static_cast<DWORD>(minute + 1), 0, FALSE, 500);
    }
    EXPECT_EQ(ReadWideFile(october), L"2006-10-29-2 *1* \ta 30 0 \r\n2006-10-29-3 *1* \ta 60 0 \r\n");
}

// ---- Counting across runs: the counters kept at each record and at the module's detach ----

namespace {

constexpr uint64_t kFourGb = 1ull << 32;
const std::wstring kState = L"\\Windows\\VelmoraCounters.dat";

class UsageLoggerRunsTest : public UsageLoggerTest {
protected:
    UsageLoggerRunsTest() { usage_test::MakeFolder(L"\\Windows"); }

    // One tick of the LAN adapter as the item feeds it: the machine's 64-bit counters, then
    // their low 32 bits as the interface table shows them.
    BOOL Feed(UsageLogger& logger, uint64_t up, uint64_t down, int link = 3)
    {
        logger.NoteMachineCounters(L"NE20001", up, down, link);
        BOOL written = logger.LogTick(kFolder, L"NE20001", static_cast<DWORD>(up), static_cast<DWORD>(down), FALSE, 500);
        m_clock.Clock().AdvanceSeconds(1);
        return written;
    }
};

} // namespace

TEST_F(UsageLoggerRunsTest, ARestartInTheSameBootCountsTheGapIntoTheHourItStartsIn)
{
    m_clock.SetLocal(2006, 3, 7, 14, 20, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 6 * kFourGb - 130, 9 * kFourGb + 1000);
        Feed(logger, 6 * kFourGb - 100, 9 * kFourGb + 1400);
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    }
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *1* \tne20001 30 400 \r\n");

    // Stopped from 14:20 to 15:40; meanwhile the sent counter's low 32 bits wrapped.
    m_clock.SetLocal(2006, 3, 7, 15, 40, 0);
    UsageLogger logger;
    logger.KeepCounters(kState, "boot-a");
    Feed(logger, 6 * kFourGb + 20, 9 * kFourGb + 1905);
    Feed(logger, 6 * kFourGb + 22, 9 * kFourGb + 1910);
    EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *1* \tne20001 30 400 \r\n"
                                    L"2006-3-7-15 *1* \tne20001 122 510 \r\n");
}

TEST_F(UsageLoggerRunsTest, AfterARebootOrForAnInterfaceMadeAgainNothingIsCounted)
{
    m_clock.SetLocal(2006, 3, 7, 14, 20, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 5000, 9000);
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    }
    // Nothing counted, so no record; the counters are kept all the same.
    EXPECT_FALSE(usage_test::FileExists(kMarch));
    for (auto [boot, up, down, link] : { std::tuple { "boot-b", 8000ull, 12000ull, 3 },
             std::tuple { "boot-a", 4999ull, 20000ull, 3 }, std::tuple { "boot-a", 20000ull, 8999ull, 3 },
             std::tuple { "boot-a", 8000ull, 12000ull, 4 } }) {
        // Each of these runs ends without its detach: the next one starts from the same state.
        UsageLogger logger;
        logger.KeepCounters(kState, boot);
        Feed(logger, up, down, link);
        Feed(logger, up + 3, down + 7, link);
        EXPECT_EQ(logger.Counters()[0].UploadTotal(), 3u) << boot << " " << up << " " << down << " " << link;
        EXPECT_EQ(logger.Counters()[0].DownloadTotal(), 7u) << boot << " " << up << " " << down << " " << link;
    }
}

TEST_F(UsageLoggerRunsTest, TheStateGoesBeforeTheRecordSoAFailedRecordIsNeverCountedTwice)
{
    m_clock.SetLocal(2006, 3, 7, 14, 50, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 1000, 2000);
        Feed(logger, 1100, 2300);
        // The hour's record fails after the state took the counters it holds; then the
        // device stops without its detach.
        m_files.Sim().FailWrites(kMarch, 1, ERROR_WRITE_FAULT);
        m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
        EXPECT_FALSE(Feed(logger, 1150, 2400));
        std::optional<UsageState> kept = UsageState::Load(kState);
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(kept->counters[L"ne20001"].up, 1150u);
        EXPECT_EQ(kept->counters[L"ne20001"].down, 2400u);
    }
    m_clock.SetLocal(2006, 3, 7, 15, 10, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 1160, 2440);
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    }
    // Only what came after the state: the failed hour's 150 and 400 are lost, not doubled.
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-15 *1* \tne20001 10 40 \r\n");
}

TEST_F(UsageLoggerRunsTest, AStateThatCannotBeWrittenIsDeletedRatherThanLeftBehind)
{
    m_clock.SetLocal(2006, 3, 7, 14, 50, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 1000, 2000);
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    }
    UsageLogger logger;
    logger.KeepCounters(kState, "boot-a");
    Feed(logger, 1000, 2000);
    Feed(logger, 1100, 2300);
    m_files.Sim().FailWrites(kState + L".new", 1, ERROR_WRITE_FAULT);
    m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
    EXPECT_TRUE(Feed(logger, 1150, 2400));
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *1* \tne20001 150 400 \r\n");
    // The old state's counters would count these 150 and 400 again at the next start.
    EXPECT_FALSE(usage_test::FileExists(kState));
}

TEST_F(UsageLoggerRunsTest, TheUnfinishedHourIsWrittenOnceAndTheReportAddsUpBothRecords)
{
    m_clock.SetLocal(2006, 3, 7, 14, 5, 0);
    {
        UsageLogger logger;
        logger.KeepCounters(kState, "boot-a");
        Feed(logger, 100, 200);
        Feed(logger, 130, 270);
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
        // A second detach call adds nothing.
        EXPECT_TRUE(logger.WriteUnfinishedHour(kFolder, FALSE, 500));
    }
    m_clock.SetLocal(2006, 3, 7, 14, 35, 0);
    UsageLogger logger;
    logger.KeepCounters(kState, "boot-a");
    Feed(logger, 150, 400);
    m_clock.SetLocal(2006, 3, 7, 15, 0, 0);
    EXPECT_TRUE(Feed(logger, 1150, 410));
    EXPECT_EQ(ReadWideFile(kMarch), L"2006-3-7-14 *1* \tne20001 30 70 \r\n2006-3-7-14 *1* \tne20001 1020 140 \r\n");

    UsageTable table = UsageTotals(logger, IntervalHourly, platform::CalendarTime::FromFields(2006, 3, 7, 0, 0, 0), L"", kFolder);
    std::vector<UsageReportRow> rows = UsageReportRows(table, IntervalHourly, platform::CalendarTime::FromFields(2006, 3, 7, 0, 0, 0), false, {});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].slot, 14);
    EXPECT_EQ(rows[0].sent, 1050u);
    EXPECT_EQ(rows[0].received, 210u);
}
