// The Usage tab's export and settings dialogs driven by a script through the program, over a
// simulated month of logs: the exported file is the export subcommand's for the same range, and
// the logs moved to another folder report as they did before.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "DeviceRunSupport.h"
#include "UsageScriptLogs.h"
#include "platform/core/DataFolder.h"
#include "platform/text/Utf16.h"
#include "support/TestSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using host_test::WriteMonthOfLogs;

namespace {

// The device's clock in April, so that what it logs itself while the script runs goes to a
// month that no comparison reads.
const std::string kClock = "clock 2026-04-02 09:15:40\n";

ProgramResult RunTool(const DeviceRun& device, std::vector<std::string> args)
{
    args.insert(args.begin(), { "--data", device.Data().string(), "usage" });
    return host_test::RunVelmora(args);
}

// The reports a move must not change: March day by day, and an hour-by-hour day of each month.
std::string Reports(const DeviceRun& device)
{
    std::string text;
    for (const auto& [interval, date] : { std::pair { "daily", "2026-03-01" }, std::pair { "hourly", "2026-03-20" },
             std::pair { "hourly", "2026-02-14" } }) {
        ProgramResult report = RunTool(device, { "report", "--interval", interval, "--date", date });
        EXPECT_EQ(report.exitCode, 0) << interval << " " << date << ": " << report.err;
        text += report.out;
    }
    return text;
}

bool Has(const std::string& text, const std::string& piece)
{
    return text.find(piece) != std::string::npos;
}

} // namespace

// Across the month boundary, hour by hour: the pickers keep the time of day the dialog opened
// with, which the subcommand is given.
TEST(UsageDialogScript, TheExportDialogsFileIsTheExportSubcommandsForTheSameRange)
{
    DeviceRun device;
    WriteMonthOfLogs(device);
    const std::string script = "options\ntab \"Usage\"\nclick 1103\n"
                               "pick 1122 \"2026-02-13\"\npick 1102 \"2026-03-04\"\npick 1120 \"Hourly\"\n"
                               "choose \"\\My Documents\\usage.csv\"\nclick 1127\nread 1121\nclick 1\nclick ok\n";
    ProgramResult run = device.Simulate(DeviceRun::Lan() + kClock, {}, script);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "control 1121 reads \"\\My Documents\\usage.csv\"")) << run.out;
    const std::string fromDialog = testing_support::ReadWholeFile(device.DeviceFile("My Documents/usage.csv"));
    ASSERT_FALSE(fromDialog.empty()) << run.out;

    const std::filesystem::path out = device.Data() / "usage.csv";
    ProgramResult command = RunTool(device, { "export", "--interval", "hourly", "--from", "2026-02-13T09:15:40", "--to",
                                                "2026-03-04T09:15:40", "--out", out.string() });
    ASSERT_EQ(command.exitCode, 0) << command.err;
    EXPECT_EQ(fromDialog, testing_support::ReadWholeFile(out));
    // Hour by hour the first and the last day are whole: 20 days of 24 hours and the header,
    // the last row the 4th's last hour.
    EXPECT_EQ(std::count(fromDialog.begin(), fromDialog.end(), '\n'), 1 + 20 * 24);
    EXPECT_TRUE(Has(fromDialog, "\r\n2026,2,14,9,5000,60000,\r\n")) << fromDialog.substr(0, 400);
    EXPECT_TRUE(fromDialog.ends_with("\r\n2026,3,4,23,484000,2368000,\r\n")) << fromDialog.substr(fromDialog.size() - 400);
}

// A move into a folder made on the way, then on into a folder that holds a March file of its
// own: that month stays behind, told by name, and the other one moves.
TEST(UsageDialogScript, TheSettingsDialogMovesTheLogsAndKeepsAMonthTheNewFolderHolds)
{
    DeviceRun device;
    WriteMonthOfLogs(device);
    const std::string before = Reports(device);
    ASSERT_TRUE(Has(before, "2026")) << before;

    ProgramResult moved = device.Simulate(DeviceRun::Lan() + kClock, {},
        "options\ntab \"Usage\"\nclick 1102\ntype 1113 \"\\My Documents\\Logs\\2026\"\n"
        "answer yes\nanswer yes\nclick 1\nclick ok\n");
    ASSERT_EQ(moved.exitCode, 0) << moved.out << moved.err;
    EXPECT_TRUE(Has(moved.out, "\"The specified directory does not exist. Would you like to create the directory?\" answered yes"))
        << moved.out;
    EXPECT_TRUE(Has(moved.out, "\"Would you like to move the old log files to the new directory?\" answered yes")) << moved.out;
    const std::filesystem::path first = device.DeviceFile("My Documents/Logs/2026");
    EXPECT_TRUE(std::filesystem::exists(first / "UsageData202603.txt"));
    EXPECT_TRUE(std::filesystem::exists(first / "UsageData202602.txt"));
    EXPECT_FALSE(std::filesystem::exists(device.DeviceFile("Program Files/Velmora/UsageData202603.txt")));
    EXPECT_FALSE(std::filesystem::exists(device.DeviceFile("velmoratemp")));
    std::string hive = testing_support::ReadWholeFile(platform::HivePath(device.Data()));
    EXPECT_TRUE(Has(hive, "\"UsageLogPath\"=\"\\\\My Documents\\\\Logs\\\\2026\"")) << hive;
    EXPECT_EQ(Reports(device), before);

    const std::filesystem::path second = device.DeviceFile("Storage/Usage");
    std::filesystem::create_directories(second);
    const std::string theirs = EncodeUtf16Le(L"2026-3-5-7 *1* \tne20001 11 22 \r\n");
    std::ofstream(second / "UsageData202603.txt", std::ios::binary) << theirs;
    ProgramResult kept = device.Simulate(DeviceRun::Lan() + kClock, {},
        "options\ntab \"Usage\"\nclick 1102\ntype 1113 \"\\Storage\\Usage\"\nanswer yes\nanswer ok\nclick 1\nclick ok\n");
    ASSERT_EQ(kept.exitCode, 0) << kept.out << kept.err;
    EXPECT_TRUE(Has(kept.out, "\"These month files were not moved: UsageData202603.txt\" answered ok")) << kept.out;
    EXPECT_FALSE(Has(kept.out, "does not exist")) << kept.out;
    EXPECT_EQ(testing_support::ReadWholeFile(second / "UsageData202603.txt"), theirs);
    EXPECT_TRUE(std::filesystem::exists(first / "UsageData202603.txt"));
    EXPECT_TRUE(std::filesystem::exists(second / "UsageData202602.txt"));
    EXPECT_FALSE(std::filesystem::exists(first / "UsageData202602.txt"));
    EXPECT_FALSE(std::filesystem::exists(device.DeviceFile("velmoratemp")));
}
