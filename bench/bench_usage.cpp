// Usage log figures: the report's monthly totals over a year of 20-interface logs, the parse
// of that year alone (in place, and decoded as the reader did before), the hourly CSV export
// of that year, and one logger tick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/text/Utf16.h"
#include "platform/time/CalendarTime.h"
#include "platform/time/Clock.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageExport.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"

namespace {

using platform::CalendarTime;

const std::wstring kFolder = L"\\Program Files\\Velmora";
constexpr int kInterfaces = 20;
constexpr int kYear = 2006;

std::wstring InterfaceName(int i)
{
    return i == 0 ? std::wstring(L"usb sync cable") : i < 5 ? L"ppp:" + std::to_wstring(i) : L"ne2000" + std::to_wstring(i);
}

// A device root with a year of hourly records for 20 interfaces, made once per process.
class YearOfLogs {
public:
    YearOfLogs()
    {
        m_root = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(::getpid()));
        platform::InstallFileSystem(platform::LinuxFileSystem::Create(m_root));
        platform::InstallClock(&m_clock);
        m_clock.SetUnixSeconds(CalendarTime::FromFields(kYear + 1, 2, 1, 12, 0, 0).UnixSeconds());
        CreateDirectoryW(L"\\Program Files", nullptr);
        CreateDirectoryW(kFolder.c_str(), nullptr);
        std::mt19937 random(2006);
        std::vector<TrafficCounter> counters(kInterfaces, TrafficCounter(0, 0));
        for (int i = 0; i < kInterfaces; ++i)
            counters[i].SetName(InterfaceName(i));
        for (int month = 1; month <= 12; ++month) {
            std::string bytes;
            for (int day = 1; day <= static_cast<int>(DaysInMonth(month, kYear)); ++day) {
                for (int hour = 0; hour < 24; ++hour) {
                    for (TrafficCounter& counter : counters) {
                        counter.Reset();
                        counter.Accumulate(random() % 50000000, random() % 200000000);
                        counter.Accumulate(0, 0); // back to 0 for the next hour's deltas
                    }
                    AppendUtf16Le(bytes, FormatHourRecord(CalendarTime::FromFields(kYear, month, day, hour, 0, 0), counters));
                }
            }
            std::wstring path = MonthFileName(kFolder, kYear, month);
            HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(file);
            m_bytes += bytes.size();
        }
    }
    ~YearOfLogs()
    {
        platform::InstallClock(nullptr);
        platform::UninstallFileSystem();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    size_t Bytes() const { return m_bytes; }

private:
    std::filesystem::path m_root;
    platform::VirtualClock m_clock;
    size_t m_bytes = 0;
};

YearOfLogs& Logs()
{
    static YearOfLogs logs;
    return logs;
}

void BM_UsageTotalsMonthlyAllInterfaces(benchmark::State& state)
{
    Logs();
    UsageLogger logger;
    CalendarTime date = CalendarTime::FromFields(kYear, 6, 1, 0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(UsageTotals(logger, IntervalMonthly, date, L"", kFolder));
    state.counters["log MB"] = static_cast<double>(Logs().Bytes()) / 1048576.0;
}
BENCHMARK(BM_UsageTotalsMonthlyAllInterfaces)->Unit(benchmark::kMillisecond);

void BM_UsageTotalsMonthlyOneInterface(benchmark::State& state)
{
    Logs();
    UsageLogger logger;
    CalendarTime date = CalendarTime::FromFields(kYear, 6, 1, 0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(UsageTotals(logger, IntervalMonthly, date, L"ne200019", kFolder));
}
BENCHMARK(BM_UsageTotalsMonthlyOneInterface)->Unit(benchmark::kMillisecond);

// The month files' bytes, read once, for the parse alone.
const std::vector<std::string>& YearBytes()
{
    static std::vector<std::string> months = [] {
        Logs();
        std::vector<std::string> read;
        for (int month = 1; month <= 12; ++month) {
            std::string bytes;
            HANDLE file = CreateFileW(MonthFileName(kFolder, kYear, month).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                FILE_ATTRIBUTE_NORMAL, nullptr);
            char piece[65536];
            DWORD got = 0;
            while (ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0)
                bytes.append(piece, got);
            CloseHandle(file);
            read.push_back(std::move(bytes));
        }
        return read;
    }();
    return months;
}

// Lines and sums of all interfaces over the code units where they lie, as the reader does.
void BM_ParseYearInPlace(benchmark::State& state)
{
    std::vector<std::u16string> months;
    for (const std::string& bytes : YearBytes()) {
        std::u16string units(bytes.size() / 2, u'\0');
        std::memcpy(units.data(), bytes.data(), units.size() * 2);
        months.push_back(std::move(units));
    }
    for (auto _ : state) {
        UsageTable table {};
        for (const std::u16string& units : months) {
            std::u16string_view text = units;
            for (size_t start = 0, end = 0; start < text.size(); start = end + 1) {
                end = std::min(FindLineFeed(text, start), text.size());
                std::u16string_view line = text.substr(start, end - start);
                if (!line.empty() && line.back() == u'\r')
                    line.remove_suffix(1);
                Utf16LineHeader header = SplitUsageHeader(line);
                AddLineToTable(IntervalMonthly, 6, 0, header, SumAllEntries(header.rest), table);
            }
        }
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Logs().Bytes()));
}
BENCHMARK(BM_ParseYearInPlace)->Unit(benchmark::kMillisecond);

// The same decoded into characters and split into lines first, as the reader did before.
void BM_ParseYearDecoded(benchmark::State& state)
{
    for (auto _ : state) {
        UsageTable table {};
        for (const std::string& bytes : YearBytes()) {
            std::wstring text = DecodeUtf16Le(bytes);
            for (std::wstring_view line : SplitLines(text)) {
                UsageLineHeader header = SplitUsageHeader(line);
                AddLineToTable(IntervalMonthly, 6, 0, header, SumAllEntries(header.rest), table);
            }
        }
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Logs().Bytes()));
}
BENCHMARK(BM_ParseYearDecoded)->Unit(benchmark::kMillisecond);

void RunExport(benchmark::State& state, int lastMonth, bool cached)
{
    Logs();
    UsageLogger logger;
    CalendarTime start = CalendarTime::FromFields(kYear, 1, 1, 0, 0, 0);
    CalendarTime end = CalendarTime::FromFields(kYear, lastMonth, static_cast<int>(DaysInMonth(lastMonth, kYear)), 0, 0, 0);
    auto noNames = [](const std::wstring&) { return std::wstring(); };
    for (auto _ : state) {
        BOOL ok;
        if (cached) {
            MonthFileCache cache;
            ok = ExportUsage(logger, start, end, ExportHourly, L"\\export.csv", kFolder, noNames, cache);
        } else {
            DirectMonthSource direct;
            ok = ExportUsage(logger, start, end, ExportHourly, L"\\export.csv", kFolder, noNames, direct);
        }
        if (!ok)
            state.SkipWithError("export failed");
    }
}

void BM_ExportHourlyYear(benchmark::State& state)
{
    RunExport(state, 12, true);
}
BENCHMARK(BM_ExportHourlyYear)->Unit(benchmark::kMillisecond);

// The export as the reader's own calls make it, every month file read again for each
// interface and day, for comparison: once, it takes seconds.
void BM_ExportHourlyYearReadingFilesPerCall(benchmark::State& state)
{
    RunExport(state, 12, false);
}
BENCHMARK(BM_ExportHourlyYearReadingFilesPerCall)->Unit(benchmark::kMillisecond)->Iterations(1);

// One tick of one interface while the hour runs (the last of 20 slots: the longest search).
void BM_LogTick(benchmark::State& state)
{
    Logs();
    UsageLogger logger;
    for (int i = 0; i < kInterfaces; ++i)
        logger.LogTick(kFolder, InterfaceName(i), 0, 0, FALSE, 500);
    const std::wstring last = L"NE200019";
    DWORD raw = 0;
    for (auto _ : state) {
        raw += 1500;
        benchmark::DoNotOptimize(logger.LogTick(kFolder, last, raw, raw, TRUE, 500));
    }
}
BENCHMARK(BM_LogTick)->Unit(benchmark::kNanosecond);

} // namespace
