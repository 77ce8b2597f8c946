#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageExport.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"

using platform::CalendarTime;
using testing_support::TimeZoneScope;
using testing_support::VirtualClockScope;
using usage_test::DeviceFiles;

namespace {

const std::wstring kFolder = L"\\Logs";
const std::wstring kOut = L"\\export.csv";

void PutMonth(int year, int month, const std::wstring& text)
{
    usage_test::WriteWideFile(MonthFileName(kFolder, year, month), text);
}

std::wstring NoDisplayName(const std::wstring&)
{
    return {};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return lines;
}

// The export's rows, without the header.
std::vector<std::string> Rows(const CalendarTime& start, const CalendarTime& end, DWORD interval)
{
    UsageLogger logger;
    EXPECT_TRUE(ExportUsage(logger, start, end, interval, kOut, kFolder, NoDisplayName));
    std::vector<std::string> lines = Lines(usage_test::ReadBytes(kOut));
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

std::string RowStart(const std::string& row, int fields)
{
    size_t at = 0;
    for (int i = 0; i < fields; ++i)
        at = row.find(',', at) + 1;
    return row.substr(0, at);
}

class UsageExportTest : public ::testing::Test {
protected:
    UsageExportTest()
    {
        m_clock.SetLocal(2009, 6, 1, 12, 0, 0);
        // One interface seen in every month the tests use.
        for (int year = 2005; year <= 2008; ++year) {
            for (int month = 1; month <= 12; ++month)
                PutMonth(year, month, L"2000-1-1-0 *1* \tne20001 0 0 \r\n");
        }
    }

    DeviceFiles m_files;
    VirtualClockScope m_clock;
};

} // namespace

TEST_F(UsageExportTest, FileHoldsTheRowsByteForByteWithDisplayNames)
{
    PutMonth(2006, 3, L"2006-3-7-14 *2* \tne20001 100 200 \tppp:2 5 6 \r\n2006-3-7-15 *2* \tne20001 -1294967296 0 \tppp:2 0 0 \r\n");
    UsageLogger logger;
    auto display = [](const std::wstring& key) { return key == L"ppp:2" ? std::wstring(L"Office") : std::wstring(); };
    EXPECT_TRUE(ExportUsage(logger, CalendarTime::FromFields(2006, 3, 6, 9, 0, 0), CalendarTime::FromFields(2006, 3, 8, 9, 0, 0),
        ExportDaily, kOut, kFolder, display));
    EXPECT_EQ(usage_test::ReadBytes(kOut), "Year,Month,Day,ne20001-Tx Bytes, ne20001-Rx Bytes,Office-Tx Bytes, Office-Rx Bytes,\r\n"
                                           "2006,3,6,0,0,0,0,\r\n"
                                           "2006,3,7,3000000100,200,5,6,\r\n"
                                           "2006,3,8,0,0,0,0,\r\n");

    EXPECT_TRUE(ExportUsage(logger, CalendarTime::FromFields(2006, 3, 7, 9, 0, 0), CalendarTime::FromFields(2006, 3, 7, 9, 0, 0),
        ExportHourly, kOut, kFolder, display));
    std::vector<std::string> lines = Lines(usage_test::ReadBytes(kOut));
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "Year,Month,Day,Hour,ne20001-Tx Bytes, ne20001-Rx Bytes,Office-Tx Bytes, Office-Rx Bytes,");
    EXPECT_EQ(lines[1], "2006,3,7,0,0,0,0,0,");
    EXPECT_EQ(lines[15], "2006,3,7,14,100,200,5,6,");
    EXPECT_EQ(lines[16], "2006,3,7,15,3000000000,0,0,0,"); // "-1294967296" in the file
    EXPECT_EQ(lines[24], "2006,3,7,23,0,0,0,0,");

    EXPECT_TRUE(ExportUsage(logger, CalendarTime::FromFields(2006, 2, 7, 9, 0, 0), CalendarTime::FromFields(2006, 3, 7, 9, 0, 0),
        ExportMonthly, kOut, kFolder, display));
    EXPECT_EQ(usage_test::ReadBytes(kOut), "Year,Month,ne20001-Tx Bytes, ne20001-Rx Bytes,Office-Tx Bytes, Office-Rx Bytes,\r\n"
                                           "2006,2,0,0,0,0,\r\n"
                                           "2006,3,3000000100,200,5,6,\r\n");
}

TEST_F(UsageExportTest, CountsPast32BitsAreTheirTrueValues)
{
    // 2^31 - 1 and 2^31 either side of the old sign edge, and sums that pass 2^32.
    PutMonth(2006, 3, L"2006-3-7-14 *2* \tne20001 2147483647 -2147483648 \tppp:2 5368709120 -1 \r\n"
                      L"2006-3-8-0 *2* \tne20001 -1 4294967296 \tppp:2 0 7 \r\n");
    EXPECT_EQ(Rows(CalendarTime::FromFields(2006, 3, 7, 0, 0, 0), CalendarTime::FromFields(2006, 3, 8, 0, 0, 0), ExportDaily),
        (std::vector<std::string> { "2006,3,7,2147483647,2147483648,5368709120,4294967295,",
            "2006,3,8,4294967295,4294967296,0,7," }));
    EXPECT_EQ(Rows(CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), ExportMonthly),
        (std::vector<std::string> { "2006,3,6442450942,6442450944,5368709120,4294967302," }));
}

TEST_F(UsageExportTest, DailyAndMonthlyRangesAcrossMonthEndsLeapYearsAndYears)
{
    std::vector<std::string> rows = Rows(CalendarTime::FromFields(2006, 3, 15, 0, 0, 0),
        CalendarTime::FromFields(2006, 4, 10, 0, 0, 0), ExportDaily);
    ASSERT_EQ(rows.size(), 27u);
    EXPECT_EQ(RowStart(rows.front(), 3), "2006,3,15,");
    EXPECT_EQ(RowStart(rows[16], 3), "2006,3,31,");
    EXPECT_EQ(RowStart(rows[17], 3), "2006,4,1,");
    EXPECT_EQ(RowStart(rows.back(), 3), "2006,4,10,");

    rows = Rows(CalendarTime::FromFields(2008, 2, 20, 0, 0, 0), CalendarTime::FromFields(2008, 3, 2, 0, 0, 0), ExportDaily);
    EXPECT_EQ(RowStart(rows[9], 3), "2008,2,29,");
    EXPECT_EQ(RowStart(rows[10], 3), "2008,3,1,");
    rows = Rows(CalendarTime::FromFields(2006, 2, 20, 0, 0, 0), CalendarTime::FromFields(2006, 3, 2, 0, 0, 0), ExportDaily);
    EXPECT_EQ(RowStart(rows[8], 3), "2006,2,28,");
    EXPECT_EQ(RowStart(rows[9], 3), "2006,3,1,");

    // One row per day from 15 March 2005 to 10 March 2006, in order, none twice.
    rows = Rows(CalendarTime::FromFields(2005, 3, 15, 8, 0, 0), CalendarTime::FromFields(2006, 3, 10, 7, 0, 0), ExportDaily);
    ASSERT_EQ(rows.size(), 361u);
    CalendarTime day = CalendarTime::FromFields(2005, 3, 15, 12, 0, 0);
    for (const std::string& row : rows) {
        std::ostringstream expected;
        expected << day.Year() << ',' << day.Month() << ',' << day.Day() << ',';
        ASSERT_EQ(RowStart(row, 3), expected.str());
        day = CalendarTime::FromFields(day.Year(), day.Month(), day.Day() + 1, 12, 0, 0);
    }

    rows = Rows(CalendarTime::FromFields(2005, 11, 20, 0, 0, 0),
        CalendarTime::FromFields(2006, 2, 3, 0, 0, 0), ExportMonthly);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(RowStart(rows[0], 2), "2005,11,");
    EXPECT_EQ(RowStart(rows[1], 2), "2005,12,");
    EXPECT_EQ(RowStart(rows[2], 2), "2006,1,");
    EXPECT_EQ(RowStart(rows[3], 2), "2006,2,");
    rows = Rows(CalendarTime::FromFields(2006, 5, 2, 0, 0, 0), CalendarTime::FromFields(2006, 5, 30, 0, 0, 0), ExportMonthly);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(RowStart(rows[0], 2), "2006,5,");
}

TEST_F(UsageExportTest, HourlyKeepsTheStartsTimeOfDay)
{
    // Same day, the end's time not earlier than the start's: 24 rows of that day.
    std::vector<std::string> rows = Rows(CalendarTime::FromFields(2006, 3, 7, 10, 0, 0),
        CalendarTime::FromFields(2006, 3, 7, 10, 0, 0), ExportHourly);
    ASSERT_EQ(rows.size(), 24u);
    EXPECT_EQ(RowStart(rows[23], 4), "2006,3,7,23,");
    // The end day is left out when its time of day is earlier than the start's.
    rows = Rows(CalendarTime::FromFields(2006, 3, 7, 10, 0, 0), CalendarTime::FromFields(2006, 3, 8, 9, 59, 59), ExportHourly);
    EXPECT_EQ(rows.size(), 24u);
    rows = Rows(CalendarTime::FromFields(2006, 3, 7, 10, 0, 0), CalendarTime::FromFields(2006, 3, 8, 10, 0, 0), ExportHourly);
    EXPECT_EQ(rows.size(), 48u);
    // Across a year's end.
    rows = Rows(CalendarTime::FromFields(2006, 12, 31, 0, 0, 0), CalendarTime::FromFields(2007, 1, 1, 0, 0, 0), ExportHourly);
    ASSERT_EQ(rows.size(), 48u);
    EXPECT_EQ(RowStart(rows[24], 4), "2007,1,1,0,");
}

TEST_F(UsageExportTest, HourlyListsEachDayOnceAcrossDaylightSavingChanges)
{
    TimeZoneScope zone("Europe/Berlin");
    // 29 October 2006 has 25 hours, 26 March 2006 has 23.
    std::vector<std::string> rows = Rows(CalendarTime::FromFields(2006, 10, 28, 0, 0, 0),
        CalendarTime::FromFields(2006, 10, 31, 0, 0, 0), ExportHourly);
    ASSERT_EQ(rows.size(), 4u * 24u);
    EXPECT_EQ(RowStart(rows[24], 3), "2006,10,29,");
    EXPECT_EQ(RowStart(rows[48], 3), "2006,10,30,");
    rows = Rows(CalendarTime::FromFields(2006, 3, 25, 23, 30, 0), CalendarTime::FromFields(2006, 3, 27, 23, 30, 0), ExportHourly);
    ASSERT_EQ(rows.size(), 3u * 24u);
    EXPECT_EQ(RowStart(rows[24], 3), "2006,3,26,");
    EXPECT_EQ(RowStart(rows[48], 3), "2006,3,27,");
}

TEST_F(UsageExportTest, FailuresLeaveNoRowsAndSayWhy)
{
    UsageLogger logger;
    DirectMonthSource direct;
    // No interface in the range: the file is there, empty.
    CalendarTime start = CalendarTime::FromFields(2004, 3, 1, 0, 0, 0);
    EXPECT_EQ(ExportUsageFile(logger, start, start, ExportDaily, kOut, kFolder, NoDisplayName, direct),
        ExportOutcome::NoInterfaces);
    EXPECT_TRUE(usage_test::FileExists(kOut));
    EXPECT_EQ(usage_test::ReadBytes(kOut), "");
    EXPECT_FALSE(ExportUsage(logger, start, start, ExportDaily, kOut, kFolder, NoDisplayName));

    CalendarTime inLogs = CalendarTime::FromFields(2006, 3, 1, 0, 0, 0);
    EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, ExportDaily, L"\\No\\Such\\export.csv", kFolder, NoDisplayName, direct),
        ExportOutcome::CannotCreate);
    usage_test::HeldOpen inUse(kOut);
    EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, ExportDaily, kOut, kFolder, NoDisplayName, direct),
        ExportOutcome::CannotCreate);
    EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, 503, L"\\other.csv", kFolder, NoDisplayName, direct),
        ExportOutcome::BadInterval);
    EXPECT_FALSE(usage_test::FileExists(L"\\other.csv"));
}

TEST_F(UsageExportTest, AnExportThatFailsLeavesTheFileThatWasThere)
{
    UsageLogger logger;
    DirectMonthSource direct;
    CalendarTime inLogs = CalendarTime::FromFields(2006, 3, 1, 0, 0, 0);
    usage_test::WriteWideFile(kOut, L"before");
    const std::string before = usage_test::ReadBytes(kOut);

    // The card fills up after the first few rows.
    m_files.Sim().FailWrites(platform::TemporaryDeviceFileFor(kOut), 1, ERROR_DISK_FULL);
    EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, ExportDaily, kOut, kFolder, NoDisplayName, direct),
        ExportOutcome::WriteFailed);
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(usage_test::ReadBytes(kOut), before);
    EXPECT_FALSE(usage_test::FileExists(platform::TemporaryDeviceFileFor(kOut)));

    // The new file is whole but cannot take the old one's place.
    {
        usage_test::HeldOpen inUse(kOut);
        EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, ExportDaily, kOut, kFolder, NoDisplayName, direct),
            ExportOutcome::CannotCreate);
    }
    EXPECT_EQ(usage_test::ReadBytes(kOut), before);
    EXPECT_FALSE(usage_test::FileExists(platform::TemporaryDeviceFileFor(kOut)));

    EXPECT_EQ(ExportUsageFile(logger, inLogs, inLogs, ExportDaily, kOut, kFolder, NoDisplayName, direct),
        ExportOutcome::Written);
    EXPECT_EQ(Lines(usage_test::ReadBytes(kOut)).size(), 2u);
    EXPECT_FALSE(usage_test::FileExists(platform::TemporaryDeviceFileFor(kOut)));
}

TEST_F(UsageExportTest, NamesOutsideEightBitsAndTheLiveCounts)
{
    PutMonth(2006, 3, L"2006-3-7-14 *2* \tne20001 0 0 \tppp:3 1 2 \r\n");
    m_clock.SetLocal(2006, 3, 7, 14, 0, 0);
    UsageLogger logger;
    logger.LogTick(kFolder, L"NE20001", 0, 0, FALSE, 500);
    logger.LogTick(kFolder, L"NE20001", 70, 80, FALSE, 500);
    std::wstring longName(40, L'n');
    auto display = [&](const std::wstring& key) {
        return key == L"ppp:3" ? std::wstring(L"Офис café") : key == L"ne20001" ? longName : std::wstring();
    };
    CalendarTime day = CalendarTime::FromFields(2006, 3, 7, 0, 0, 0);
    EXPECT_TRUE(ExportUsage(logger, day, day, ExportDaily, kOut, kFolder, display));
    std::vector<std::string> lines = Lines(usage_test::ReadBytes(kOut));
    EXPECT_EQ(lines.front(), "Year,Month,Day," + std::string(40, 'n') + "-Tx Bytes, " + std::string(40, 'n') + "-Rx Bytes,"
            + "???? caf\xE9-Tx Bytes, ???? caf\xE9-Rx Bytes,");
    EXPECT_EQ(lines.back(), "2006,3,7,70,80,1,2,"); // the hour not yet written is counted
}

TEST_F(UsageExportTest, HeadingsWithCommasQuotesOrLineBreaksAreQuotedAndTheRestStaysAsItWas)
{
    // "a,b" and 'q"x' as logged (a name ends at a space, so the file holds no line feed in
    // one), a display name with CR LF; ne20001 keeps its plain headings.
    PutMonth(2006, 3, L"2006-3-7-14 *4* \ta,b 1 2 \tne20001 3 4 \tq\"x 5 6 \tppp:1 7 8 \r\n");
    UsageLogger logger;
    auto display = [](const std::wstring& key) { return key == L"ppp:1" ? std::wstring(L"Office\r\nWork") : std::wstring(); };
    CalendarTime day = CalendarTime::FromFields(2006, 3, 7, 0, 0, 0);
    EXPECT_TRUE(ExportUsage(logger, day, day, ExportDaily, kOut, kFolder, display));
    EXPECT_EQ(usage_test::ReadBytes(kOut),
        "Year,Month,Day,\"a,b-Tx Bytes\",\" a,b-Rx Bytes\",ne20001-Tx Bytes, ne20001-Rx Bytes,"
        "\"q\"\"x-Tx Bytes\",\" q\"\"x-Rx Bytes\",\"Office\r\nWork-Tx Bytes\",\" Office\r\nWork-Rx Bytes\",\r\n"
        "2006,3,7,1,2,3,4,5,6,7,8,\r\n");

    EXPECT_EQ(CsvField("plain name-Tx Bytes"), "plain name-Tx Bytes");
    EXPECT_EQ(CsvField(""), "");
    EXPECT_EQ(CsvField("\""), "\"\"\"\"");
    EXPECT_EQ(CsvField("cr\ronly"), "\"cr\ronly\"");
    EXPECT_EQ(CsvField("lf\n"), "\"lf\n\"");
    EXPECT_EQ(CsvField("\"a\",\"b\""), "\"\"\"a\"\",\"\"b\"\"\"");
}

// The export through the cache against the export as the reader's own calls make it, each
// month file read again for every interface and step, over random logs and ranges.
TEST_F(UsageExportTest, CachedExportIsByteIdenticalToTheDirectOne)
{
    std::mt19937 random(20060307);
    const std::vector<std::wstring> names = { L"ne20001", L"usb+sync+cable", L"ppp:1", L"ppp:12", L"dummy", L"wlan1" };
    for (int year = 2005; year <= 2006; ++year) {
        for (int month = 1; month <= 12; ++month) {
            if (random() % 5 == 0) {
                DeleteFileW(MonthFileName(kFolder, year, month).c_str());
                continue;
            }
            std::wstring text;
            for (int line = 0; line < 60; ++line) {
                int day = static_cast<int>(random() % 33); // 0 and 32 have no bucket
                int hour = static_cast<int>(random() % 25);
                int count = static_cast<int>(random() % 4);
                text += std::to_wstring(year) + L"-" + std::to_wstring(month) + L"-" + std::to_wstring(day) + L"-"
                    + std::to_wstring(hour) + L" *" + std::to_wstring(count + (random() % 7 == 0 ? 1 : 0)) + L"* ";
                for (int entry = 0; entry < count; ++entry) {
                    text += L"\t" + names[random() % names.size()] + L" " + std::to_wstring(static_cast<int32_t>(random()))
                        + L" " + std::to_wstring(random() % 100000) + L" ";
                }
                if (random() % 11 == 0)
                    text += L"garbage-line";
                text += L"\r\n";
            }
            usage_test::WriteWideFile(MonthFileName(kFolder, year, month), text);
        }
    }
    m_clock.SetLocal(2006, 7, 9, 15, 20, 0);
    UsageLogger logger;
    logger.LogTick(kFolder, L"NE20001", 0, 0, FALSE, 500);
    logger.LogTick(kFolder, L"NE20001", 12345, 678, FALSE, 500);
    auto display = [](const std::wstring& key) { return key == L"ppp:1" ? std::wstring(L"Work") : std::wstring(); };

    int written = 0;
    for (int run = 0; run < 12; ++run) {
        CalendarTime start = CalendarTime::FromFields(2005, 1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28),
            static_cast<int>(random() % 24), 0, 0);
        CalendarTime end = start + static_cast<int64_t>(random() % (400u * 86400u));
        for (DWORD interval : { ExportMonthly, ExportDaily, ExportHourly }) {
            if (interval == ExportHourly && end - start > 70 * 86400)
                end = start + static_cast<int64_t>(random() % (70u * 86400u));
            DirectMonthSource direct;
            MonthFileCache cache;
            ExportOutcome outcome = ExportUsageFile(logger, start, end, interval, L"\\direct.csv", kFolder, display, direct);
            EXPECT_EQ(ExportUsageFile(logger, start, end, interval, L"\\cached.csv", kFolder, display, cache), outcome);
            written += outcome == ExportOutcome::Written ? 1 : 0;
            ASSERT_EQ(usage_test::ReadBytes(L"\\cached.csv"), usage_test::ReadBytes(L"\\direct.csv"))
                << "run " << run << " interval " << interval;
        }
    }
    EXPECT_GT(written, 30);
}

// The text a caller writes itself against the file, over a range that passes the file's
// flush size several times.
TEST_F(UsageExportTest, TextIsTheFileByteForByte)
{
    PutMonth(2007, 11, L"2007-11-30-23 *1* \tppp:1 4294967295 7 \r\n");
    UsageLogger logger;
    DirectMonthSource direct;
    CalendarTime start = CalendarTime::FromFields(2006, 1, 1, 5, 0, 0);
    CalendarTime end = CalendarTime::FromFields(2007, 12, 31, 4, 0, 0);
    auto display = [](const std::wstring& key) { return key == L"ppp:1" ? std::wstring(L"Office") : std::wstring(); };
    std::string text = "left over";
    ASSERT_EQ(ExportUsageText(logger, start, end, ExportHourly, kFolder, display, direct, text), ExportOutcome::Written);
    ASSERT_EQ(ExportUsageFile(logger, start, end, ExportHourly, kOut, kFolder, display, direct), ExportOutcome::Written);
    EXPECT_GT(text.size(), 4u << 16);
    EXPECT_EQ(text, usage_test::ReadBytes(kOut));

    CalendarTime empty = CalendarTime::FromFields(2004, 3, 1, 0, 0, 0);
    EXPECT_EQ(ExportUsageText(logger, empty, empty, ExportDaily, kFolder, display, direct, text), ExportOutcome::NoInterfaces);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ExportUsageText(logger, start, end, 503, kFolder, display, direct, text), ExportOutcome::BadInterval);
}
