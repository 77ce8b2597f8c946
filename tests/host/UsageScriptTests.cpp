// The Usage tab driven by a script through the program, as a user would, over a simulated
// month of logs: the modes cycled, a day picked, the table shown and the chart again.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "DeviceRunSupport.h"
#include "platform/text/Utf16.h"
#include "support/TestSupport.h"

using host_test::DeviceRun;

namespace {

// Twenty days of March 2026 and a day of February at the default UsageLogPath: every hour of
// a day with a different amount, more received than sent.
void WriteMonthOfLogs(const DeviceRun& device)
{
    std::wstring march;
    for (int day = 1; day <= 20; ++day)
        for (int hour = 0; hour < 24; ++hour)
            march += L"2026-3-" + std::to_wstring(day) + L"-" + std::to_wstring(hour) + L" *1* \tne20001 "
                + std::to_wstring((hour + 1) * 20000 + day * 1000) + L" " + std::to_wstring((hour + 3) * 90000 + day * 7000)
                + L" \r\n";
    std::filesystem::path logs = device.DeviceFile("Program Files/Velmora");
    std::filesystem::create_directories(logs);
    std::ofstream(logs / "UsageData202603.txt", std::ios::binary) << EncodeUtf16Le(march);
    std::ofstream(logs / "UsageData202602.txt", std::ios::binary) << EncodeUtf16Le(L"2026-2-14-9 *1* \tne20001 5000 60000 \r\n");
}

} // namespace

TEST(UsageScript, TheUsageTabCyclesModesPicksADayAndSwitchesViews)
{
    DeviceRun device;
    WriteMonthOfLogs(device);
    std::filesystem::path shots = device.Data() / "shots";
    std::filesystem::create_directories(shots);
    auto shot = [&shots](const char* name) { return "screenshot \"" + (shots / name).string() + ".png\"\n"; };
    std::string script = "options\ntab \"Usage\"\n" + shot("hourly") + "click 1105\n" + shot("daily") + "click 1105\n"
        + shot("monthly") + "click 1105\n" + shot("hourly-again") + "pick 1101 \"2026-03-02\"\n" + shot("second")
        + "click 1108\n" + shot("table") + "click 1109\n" + shot("chart-again") + "click ok\n";
    host_test::ProgramResult run = device.Simulate(DeviceRun::Lan() + "clock 2026-03-20 18:30:00\n", {}, script);
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;

    auto bytes = [&shots](const char* name) { return testing_support::ReadWholeFile(shots / (std::string(name) + ".png")); };
    ASSERT_FALSE(bytes("hourly").empty());
    EXPECT_NE(bytes("hourly"), bytes("daily"));
    EXPECT_NE(bytes("daily"), bytes("monthly"));
    EXPECT_EQ(bytes("hourly"), bytes("hourly-again")); // three presses: round to hourly
    EXPECT_NE(bytes("second"), bytes("hourly"));        // another day's hours
    EXPECT_NE(bytes("table"), bytes("second"));
    EXPECT_EQ(bytes("chart-again"), bytes("second"));

    // A day the picker does not take is the script's error, told with its line.
    host_test::ProgramResult bad = device.Simulate(DeviceRun::Lan(), {}, "options\ntab \"Usage\"\npick 1101 \"March\"\nclick ok\n");
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("line 3"), std::string::npos) << bad.err;
}
