// Usage logging from the first start: the hour's record in the month file of the device root,
// the unfinished hour's record when the run stops, and the traffic between two runs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DeviceRunSupport.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

using host_test::DeviceRun;
using host_test::ProgramResult;

namespace {

std::string MonthText(const DeviceRun& device)
{
    std::ifstream file(device.DeviceFile("Program Files/Velmora/UsageData200603.txt"), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return WideToUtf8(DecodeUtf16Le(bytes.str()));
}

// The report's slot for 14:00 on 7 March 2006, as `velmora usage report --json` gives it.
std::string ReportedTwoPm(const DeviceRun& device)
{
    ProgramResult report = host_test::RunVelmora(
        { "usage", "report", "--interval", "hourly", "--date", "2006-03-07", "--json", "--data", device.Data().string() });
    size_t slot = report.out.find("{\"slot\":14,");
    if (report.exitCode != 0 || slot == std::string::npos)
        return "no report: " + report.out + report.err;
    return report.out.substr(slot, report.out.find('}', slot) + 1 - slot);
}

} // namespace

TEST(UsageRun, TheHoursRecordIsWrittenWhenTheHourHasPassed)
{
    DeviceRun device;
    ProgramResult run = device.Simulate("clock 2006-03-07 14:59:50\n" + DeviceRun::Lan()
            + "rate NE20001 in=1200 out=300\n",
        { "--ticks", "15" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::filesystem::path month = device.DeviceFile("Program Files/Velmora/UsageData200603.txt");
    ASSERT_TRUE(std::filesystem::exists(month));
    std::ifstream file(month, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string text = WideToUtf8(DecodeUtf16Le(bytes.str()));
    // The first tick (14:59:51) takes the counters' starting point; nine seconds of hour 14
    // follow before the record is due, and five of hour 15 before the run stops.
    EXPECT_EQ(text, "2006-3-7-14 *1* \tne20001 2700 10800 \r\n2006-3-7-15 *1* \tne20001 1500 6000 \r\n");
}

TEST(UsageRun, AStopAfterThirtyMinutesLeavesTheUnfinishedHoursRecord)
{
    DeviceRun device;
    ProgramResult run = device.Simulate(DeviceRun::Lan() + "rate NE20001 in=1200 out=300\n", { "--ticks", "1800" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The first tick (14:05:10) takes the counters' starting point; 1799 seconds follow.
    EXPECT_EQ(MonthText(device), "2006-3-7-14 *1* \tne20001 539700 2158800 \r\n");
}

TEST(UsageRun, ARestartCountsTheTrafficBetweenTheRunsUnlessTheMachineRebooted)
{
    DeviceRun device;
    ProgramResult first = device.Simulate(DeviceRun::Lan() + "counters NE20001 in=8589934000 out=4294963946\n"
            + "rate NE20001 in=1200 out=300\n",
        { "--ticks", "11" });
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(MonthText(device), "2006-3-7-14 *1* \tne20001 3000 12000 \r\n");
    // The first run ended at 14:05:20 with the counters at 8589947200 and 4294967246; the
    // device was off till 14:40 while the machine went on (the sent counter's low 32 bits
    // wrapped meanwhile).
    ProgramResult second = device.Simulate("clock 2006-03-07 14:40:00\n" + DeviceRun::Lan()
            + "counters NE20001 in=8589957200 out=4294967346\n",
        { "--ticks", "3" });
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(MonthText(device), "2006-3-7-14 *1* \tne20001 3000 12000 \r\n2006-3-7-14 *1* \tne20001 100 10000 \r\n");
    EXPECT_EQ(ReportedTwoPm(device), "{\"slot\":14,\"label\":\"2-3 PM\",\"sent\":3100,\"received\":22000,\"total\":25100}");

    // After a reboot the same and higher counters count nothing.
    ProgramResult third = device.Simulate("clock 2006-03-07 14:50:00\nreboot\n" + DeviceRun::Lan()
            + "counters NE20001 in=9000000000 out=5000000000\n",
        { "--ticks", "3" });
    ASSERT_EQ(third.exitCode, 0) << third.err;
    EXPECT_EQ(MonthText(device), "2006-3-7-14 *1* \tne20001 3000 12000 \r\n2006-3-7-14 *1* \tne20001 100 10000 \r\n");
}

namespace {

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

} // namespace

TEST(UsageRun, AnHourAtTenGigabitsIsLoggedReportedAndExportedToTheByte)
{
    // 10 Gbit/s received and just under 8 sent, from 14:00:00 on, on counters that start just
    // below 2^32: at these rates the 32-bit halves wrap every three or four seconds.
    const uint64_t in = 1250000000;
    const uint64_t out = 1000000007;
    DeviceRun device;
    ProgramResult run = device.Simulate("clock 2006-03-07 13:59:50\n" + DeviceRun::Lan()
            + "counters NE20001 in=4294967000 out=4294967200\n"
              "at 10 rate NE20001 in="
            + std::to_string(in) + " out=" + std::to_string(out) + "\n",
        { "--ticks", "3610" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(device.Output().ticks.back().time, "15:00:00");

    const uint64_t sent = 3600 * out;
    const uint64_t received = 3600 * in;
    std::string month = WideToUtf8(DecodeUtf16Le(ReadBytes(device.DeviceFile("Program Files/Velmora/UsageData200603.txt"))));
    EXPECT_EQ(month, "2006-3-7-13 *1* \tne20001 0 0 \r\n2006-3-7-14 *1* \tne20001 " + std::to_string(sent) + " "
            + std::to_string(received) + " \r\n");

    ProgramResult json = host_test::RunVelmora(
        { "usage", "report", "--interval", "hourly", "--date", "2006-03-07", "--json", "--data", device.Data().string() });
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("{\"slot\":14,\"label\":\"2-3 PM\",\"sent\":" + std::to_string(sent) + ",\"received\":"
                  + std::to_string(received) + ",\"total\":" + std::to_string(sent + received) + "}"),
        std::string::npos)
        << json.out;
    ProgramResult table = host_test::RunVelmora(
        { "usage", "report", "--interval", "monthly", "--date", "2006-03-07", "--data", device.Data().string() });
    ASSERT_EQ(table.exitCode, 0) << table.err;
    EXPECT_NE(table.out.find("March" + std::string(11, ' ') + "3352 GB    4190 GB    7543 GB\n"), std::string::npos) << table.out;

    std::filesystem::path csv = device.Data() / "hour.csv";
    ProgramResult exported = host_test::RunVelmora({ "usage", "export", "--interval", "hourly", "--from", "2006-03-07",
        "--to", "2006-03-07", "--out", csv.string(), "--data", device.Data().string() });
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(ReadBytes(csv).find("\r\n2006,3,7,14," + std::to_string(sent) + "," + std::to_string(received) + ",\r\n"),
        std::string::npos)
        << ReadBytes(csv);
}

TEST(UsageRun, ALogFolderThatCannotBeWrittenIsReportedOnceOnStandardError)
{
    DeviceRun device;
    // The log folder under a file: it can never be made.
    device.Settings({ { "UsageLogPath", "\\\\My Documents\\\\notes.txt\\\\logs" } }); // .reg escapes
    std::filesystem::create_directories(device.DeviceFile("My Documents"));
    std::ofstream(device.DeviceFile("My Documents/notes.txt")) << "notes";
    // Two hours pass; every tick from the first hour's end on tries again, and the stop too.
    ProgramResult run = device.Simulate("clock 2006-03-07 14:59:50\n" + DeviceRun::Lan() + "rate NE20001 in=1200 out=300\n"
            + "at 20 clock 2006-03-07 16:59:55\n",
        { "--ticks", "30" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string report
        = "UsageLogger: cannot write to \\My Documents\\notes.txt\\logs: The system cannot find the path specified.\n";
    size_t at = run.err.find(report);
    ASSERT_NE(at, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find(report, at + 1), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("UsageLogger"), std::string::npos);
}
