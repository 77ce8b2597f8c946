// Thirty days of logging in virtual time: random traffic on several interfaces, the device
// asleep for hours now and then, and hourly writes that fail because a report holds the month
// file open or the storage is full. Every byte the interfaces counted must end up in the
// files or in the logger's counts of the unfinished hour, exactly, and the files must hold
// whole records only.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "UsageTestFiles.h"
#include "platform/text/WideString.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"

using platform::CalendarTime;
using testing_support::VirtualClockScope;

namespace {

const std::wstring kFolder = L"\\Program Files\\Velmora";

struct Interface {
    std::wstring name;
    DWORD rawUp = 0;
    DWORD rawDown = 0;
    uint64_t injectedUp = 0;
    uint64_t injectedDown = 0;
    bool seen = false;
};

// Every record of every month file, per interface, summed in 64 bits.
struct FileTotals {
    std::map<std::wstring, uint64_t> up;
    std::map<std::wstring, uint64_t> down;
    int records = 0;
};

FileTotals ReadAllRecords(int fromYear, int fromMonth, int months)
{
    FileTotals totals;
    int year = fromYear;
    int month = fromMonth;
    CalendarTime previous;
    for (int i = 0; i < months; ++i) {
        std::wstring text = usage_test::ReadWideFile(MonthFileName(kFolder, year, month));
        for (std::wstring_view line : SplitLines(text)) {
            // Whole records only: header, entries, each line ended where it should be.
            EXPECT_EQ(line.substr(0, std::to_wstring(year).size()), std::to_wstring(year)) << std::wstring(line);
            UsageLineHeader header = SplitUsageHeader(line);
            CalendarTime labelled = CalendarTime::FromFields(year, month, header.day, header.hour, 0, 0);
            EXPECT_GT(labelled, previous) << "hours go forward, each once";
            previous = labelled;
            ++totals.records;
            std::wstring_view rest = header.rest;
            int32_t count = usage_line_detail::TakeEntryCount(rest);
            for (int32_t e = 0; e < count; ++e) {
                usage_line_detail::SkipLeading(rest, L"\t ");
                std::wstring name = NameFromFile(usage_line_detail::SplitOff(rest, L' '));
                totals.up[name] += static_cast<DWORD>(WtoL(usage_line_detail::SplitOff(rest, L' ')));
                totals.down[name] += static_cast<DWORD>(WtoL(usage_line_detail::SplitOff(rest, L' ')));
            }
            EXPECT_TRUE(rest.empty()) << std::wstring(line);
        }
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return totals;
}

} // namespace

TEST(UsageThirtyDayRun, EveryInjectedByteIsInTheFilesOrTheLiveCounts)
{
    usage_test::DeviceFiles files;
    usage_test::MakeFolder(L"\\Program Files");
    VirtualClockScope clock;
    clock.SetLocal(2006, 3, 14, 9, 17, 43);
    const CalendarTime end = CalendarTime::FromFields(2006, 4, 13, 21, 0, 0);
    std::mt19937 random(4);

    std::vector<Interface> interfaces = { { L"NE20001" }, { L"USB Sync Cable" }, { L"ppp:1" }, { L"WLAN1" } };
    interfaces[2].rawUp = 0xFFFF0000u; // goes back to a small value early on, as a counter of an interface made anew
    UsageLogger logger;
    std::unique_ptr<usage_test::HeldOpen> reader;
    CalendarTime readerUntil;
    bool diskFull = false;
    CalendarTime diskFullUntil;
    int failedWrites = 0;
    int failedWhileFull = 0;

    while (CalendarTime::Now() < end) {
        // Interfaces come and go: WLAN1 only shows up after a week.
        bool wlanPresent = CalendarTime::Now() > CalendarTime::FromFields(2006, 3, 21, 0, 0, 0);
        for (Interface& link : interfaces) {
            if (&link == &interfaces[3] && !wlanPresent)
                continue;
            DWORD up = random() % 4 == 0 ? 0 : random() % 200000;
            DWORD down = random() % 3 == 0 ? 0 : random() % 900000;
            DWORD newUp = link.rawUp + up;
            DWORD newDown = link.rawDown + down;
            // The first sight of an interface counts from its counters as they are, and a
            // tick at which a counter goes back (the interface made anew) counts nothing.
            if (link.seen && newUp >= link.rawUp)
                link.injectedUp += up;
            if (link.seen && newDown >= link.rawDown)
                link.injectedDown += down;
            link.seen = true;
            link.rawUp = newUp;
            link.rawDown = newDown;
            if (!logger.LogTick(kFolder, link.name, link.rawUp, link.rawDown, FALSE, 500)) {
                ++failedWrites;
                failedWhileFull += diskFull ? 1 : 0;
            }
        }

        // A report window reading the month file now and then, for up to 90 minutes.
        if (reader && CalendarTime::Now() >= readerUntil)
            reader.reset();
        if (!reader && random() % 200 == 0) {
            CalendarTime now = CalendarTime::Now();
            std::wstring month = MonthFileName(kFolder, logger.HourStart().Year(), logger.HourStart().Month());
            if (usage_test::FileExists(month)) {
                reader = std::make_unique<usage_test::HeldOpen>(month);
                readerUntil = now + static_cast<int64_t>(random() % 5400);
            }
        }

        // Now and then the storage fills up, so that a record fits in part or not at all,
        // for up to three hours.
        if (diskFull && CalendarTime::Now() >= diskFullUntil) {
            files.Sim().SetCapacity(platform::SimFileSystem::kDefaultCapacityBytes);
            diskFull = false;
        }
        if (!diskFull && random() % 250 == 0) {
            files.Sim().SetCapacity(files.Sim().UsedBytes() + random() % 300);
            diskFull = true;
            diskFullUntil = CalendarTime::Now() + static_cast<int64_t>(random() % 10800);
        }

        // Mostly a tick a second around the hour, otherwise coarse steps, and now and then
        // the device sleeps for hours.
        int64_t step;
        int minute = CalendarTime::Now().Minute();
        if (random() % 500 == 0)
            step = 3600 + random() % (9 * 3600);
        else if (minute >= 58 || minute < 2)
            step = 1 + random() % 20;
        else
            step = 1 + random() % 600;
        clock.Clock().AdvanceSeconds(static_cast<uint64_t>(step));
    }
    reader.reset();
    files.Sim().SetCapacity(platform::SimFileSystem::kDefaultCapacityBytes);

    FileTotals inFiles = ReadAllRecords(2006, 3, 2);
    EXPECT_GT(inFiles.records, 500);
    EXPECT_GT(failedWrites - failedWhileFull, 0) << "the reader held the file at some hour's end";
    EXPECT_GT(failedWhileFull, 0) << "the storage was full at some hour's end";
    for (const Interface& link : interfaces) {
        std::wstring name = WideToLower(link.name);
        uint64_t liveUp = 0;
        uint64_t liveDown = 0;
        for (const TrafficCounter& counter : logger.Counters()) {
            if (counter.Name() == name) {
                liveUp = counter.UploadTotal();
                liveDown = counter.DownloadTotal();
            }
        }
        EXPECT_EQ(inFiles.up[name] + liveUp, link.injectedUp) << link.name;
        EXPECT_EQ(inFiles.down[name] + liveDown, link.injectedDown) << link.name;
    }

    // The reader agrees, in its 32-bit sums.
    UsageTable year = UsageTotals(logger, IntervalMonthly, end, L"", kFolder);
    uint64_t allUp = 0;
    for (const Interface& link : interfaces)
        allUp += link.injectedUp;
    EXPECT_EQ(static_cast<DWORD>(year[3] + year[4]), static_cast<DWORD>(allUp));
}
