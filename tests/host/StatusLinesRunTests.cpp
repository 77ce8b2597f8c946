// The item's status lines as the headless device prints them: full view in order, compact view
// stepping at its scroll rate, the block shown when the adapter is not there, and the time
// connected as the clock moves.
#include <gtest/gtest.h>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using host_test::TickBlock;
using Lines = std::vector<std::string>;

namespace {

// The ticks (counted from 1) whose paints drew the status text area (on a small screen it
// ends left of the three tap icons, at 186), with the line they left.
std::vector<std::pair<size_t, std::string>> TextChanges(const std::vector<TickBlock>& ticks)
{
    std::vector<std::pair<size_t, std::string>> changes;
    for (size_t i = 0; i < ticks.size(); ++i)
        for (const std::string& paint : ticks[i].paints)
            if (paint.find("-186,") != std::string::npos) {
                changes.emplace_back(i + 1, ticks[i].lines.empty() ? std::string() : ticks[i].lines.front());
                break;
            }
    return changes;
}

} // namespace

TEST(StatusLinesRun, FullViewShowsTheInitialLinesInOrder)
{
    DeviceRun device;
    device.Settings({ { "FullViewEnabled", "1" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "2" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const TickBlock& tick = device.Output().ticks.at(1);
    EXPECT_EQ(tick.lines, (Lines { "NE2000 Compatible Ethernet Driver", "IP Address: 192.168.1.10", "Mask: 255.255.255.0",
                              "Gateway: 192.168.1.1", "Lease Expires: 3/8/06 14:05", "Meter Total: 0 B",
                              "DNS Server: 192.168.1.1" }));
    // Seven lines of 13 pixels.
    EXPECT_EQ(tick.height, 91);

    // The meter on two lines when it shows upload and download apart.
    device.Settings({ { "FullViewEnabled", "1" }, { "MeterShowsTotal", "0" } });
    run = device.Simulate(DeviceRun::Lan(), { "--ticks", "1" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Lines& lines = device.Output().ticks.at(0).lines;
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "Meter Upload: 0 B");
    EXPECT_EQ(lines[6], "Meter Download: 0 B");
    EXPECT_EQ(lines[7], "DNS Server: 192.168.1.1");
    EXPECT_EQ(device.Output().ticks.at(0).height, 104);
}

TEST(StatusLinesRun, CompactViewStepsAtTheScrollRate)
{
    const Lines cycle { "NE2000 Compatible Ethernet Driver", "IP Address: 192.168.1.10", "Mask: 255.255.255.0",
        "Gateway: 192.168.1.1", "Lease Expires: 3/8/06 14:05" };
    struct Case {
        const char* rate;
        size_t period; // ticks between two text repaints
    };
    for (const Case& rate : { Case { "5", 5 }, Case { "9", 1 }, Case { "1", 9 } }) {
        SCOPED_TRACE(rate.rate);
        DeviceRun device;
        device.Settings({ { "ScrollRate", rate.rate } });
        ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "40" });
        ASSERT_EQ(run.exitCode, 0) << run.err;
        auto changes = TextChanges(device.Output().ticks);
        ASSERT_GE(changes.size(), 4u) << run.out;
        for (size_t i = 1; i < changes.size(); ++i)
            EXPECT_EQ(changes[i].first - changes[i - 1].first, rate.period) << run.out;
        // One line at a time, each the next visible item.
        for (const TickBlock& tick : device.Output().ticks)
            EXPECT_EQ(tick.lines.size(), 1u);
        EXPECT_EQ(changes.front().first, rate.period);
        Lines shown;
        for (const auto& [tick, line] : changes)
            shown.push_back(line);
        // The first advancing paint moves on from the adapter's name, shown since the start.
        Lines expected(cycle.begin() + 1, cycle.end());
        shown.resize(std::min(shown.size(), expected.size()));
        EXPECT_EQ(shown, Lines(expected.begin(), expected.begin() + static_cast<long>(shown.size())));
    }
}

TEST(StatusLinesRun, CompactViewComesRoundToTheFirstLine)
{
    DeviceRun device;
    device.Settings({ { "ScrollRate", "9" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan(), { "--ticks", "15" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Lines shown;
    for (const TickBlock& tick : device.Output().ticks)
        shown.push_back(tick.lines.at(0));
    // The seven visible items in order, then the first again.
    EXPECT_EQ(Lines(shown.begin(), shown.begin() + 8),
        (Lines { "IP Address: 192.168.1.10", "Mask: 255.255.255.0", "Gateway: 192.168.1.1",
            "Lease Expires: 3/8/06 14:05", "Meter Total: 0 B", "DNS Server: 192.168.1.1",
            "NE2000 Compatible Ethernet Driver", "IP Address: 192.168.1.10" }));
}

TEST(StatusLinesRun, NotPresentBlockForEachChoiceAndPhoneState)
{
    const std::string loopbackOnly = "interface LOOPBACK type=loopback\n";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> settings;
        std::string scenario;
        Lines lines;
    };
    const std::vector<Case> cases {
        { "automatic", {}, loopbackOnly, { "No connected interfaces" } },
        { "manual", { { "InterfaceIndex", "2" }, { "InterfaceString", "NE20001" } }, loopbackOnly,
            { "Not connected:", "NE20001*" } },
        { "phone not registered", {}, loopbackOnly + "telephony on\nregistration 3\n", { "Not connected to voice network" } },
        { "phone attempting", {}, loopbackOnly + "telephony on\nregistration 4\n", { "Attempting voice connection" } },
        { "phone registered", {}, loopbackOnly + "telephony on\nregistration 6\noperator \"Blue Tel\" BLT\nsignal -70\n",
            { "Blue Tel", "Signal Strength: Good (72%)" } },
        { "phone registered without operator", {}, loopbackOnly + "telephony on\nregistration 5\noperator \"\"\nsignal -40\n",
            { "Connected to voice network", "Signal Strength: Excellent" } },
        { "phone query fails", {}, loopbackOnly + "telephony on\nregistration fail\n", { "No connected interfaces" } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        DeviceRun device;
        // The block is drawn anew every tick; the signal strength asked for at one paint is
        // the one the next paint shows.
        auto settings = test.settings;
        settings.emplace_back("ScrollRate", "9");
        device.Settings(settings);
        ProgramResult run = device.Simulate(test.scenario, { "--ticks", "2" });
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const TickBlock& tick = device.Output().ticks.at(1);
        EXPECT_EQ(tick.activity, 5);
        EXPECT_EQ(tick.lines, test.lines) << run.out;
    }
}

TEST(StatusLinesRun, TimeConnectedFollowsTheClock)
{
    DeviceRun device;
    // Only the Time Connected line, drawn anew every tick.
    device.Settings({ { "ScrollRate", "9" },
        { "ViewItems", "101*a*1*0*0*0,102*a*1*0*1*0,103*a*1*0*2*0,104*a*1*0*3*0,105*a*1*0*4*0,107*a*1*0*5*0,"
                       "108*a*1*0*6*0,109*a*1*0*7*0,110*a*1*1*8*0,111*a*1*0*9*0," } });
    // Connected at the first tick, 14:05:10; each clock change lands one second before a tick.
    ProgramResult run = device.Simulate(DeviceRun::Lan()
            + "at 4 clock 2006-03-07 15:07:14\n"
              "at 6 clock 2006-03-08 15:06:10\n"
              "at 8 clock 2006-03-09 21:38:29\n",
        { "--ticks", "9" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    ASSERT_EQ(ticks.size(), 9u);
    EXPECT_EQ(ticks[1].lines, Lines { "Time Connected: 00:00:01" });
    EXPECT_EQ(ticks[4].time, "15:07:15");
    EXPECT_EQ(ticks[4].lines, Lines { "Time Connected: 01:02:05" });
    EXPECT_EQ(ticks[6].lines, Lines { "Time Connected: 1 day 01:01" });
    EXPECT_EQ(ticks[8].lines, Lines { "Time Connected: 2 days 07:33" });
}
