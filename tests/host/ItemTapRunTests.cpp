// Taps on the item through the real program: the icon row's slots, the view switch, the pin and
// the status text.
#include <gtest/gtest.h>

#include <algorithm>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using Lines = std::vector<std::string>;

namespace {

size_t Count(const std::vector<std::string>& events, const std::string& event)
{
    return static_cast<size_t>(std::count(events.begin(), events.end(), event));
}

const char* const kMeterOpened = "dialog 503 \"\" opened";
const char* const kMeterClosed = "dialog 503 \"\" closed";
const char* const kDhcpOpened = "dialog 120 \"\" opened";
const char* const kDhcpClosed = "dialog 120 \"\" closed";
const char* const kOptionsOpened = "dialog 500 \"\" opened";
const char* const kOptionsClosed = "dialog 500 \"\" closed";

} // namespace

TEST(ItemTapRun, EachSlotOfTheIconRow)
{
    DeviceRun device;
    // The row spans 186 to 240 with slots 17 pixels apart: meter, DHCP, options, then nothing.
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {},
        "wait 1\n"
        "tap item 190 5\n"
        "click 1\n"
        "tap item 207 5\n"
        "click 1\n"
        "tap item 238 5\n"
        "wait 1\n"
        "tap item 225 5\n"
        "wait 2\n"
        "click ok\n"
        "wait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const auto& events = device.Output().events;
    EXPECT_EQ(events, (std::vector<std::string> { kMeterOpened, kMeterClosed, kDhcpOpened, kDhcpClosed, kOptionsOpened,
                          kOptionsClosed }))
        << run.out;
    // The item's timer runs on under the dialog.
    EXPECT_EQ(device.Output().ticks.size(), 5u);
}

TEST(ItemTapRun, SlotsCountOnlyTheEnabledIcons)
{
    DeviceRun device;
    device.Settings({ { "MeterIconEnabled", "0" } });
    // Two icons: the row starts at 204; 10 pixels in is the DHCP icon, 20 the options icon.
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "wait 1\ntap item 214 5\nclick 1\ntap item 224 5\nclick ok\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(Count(device.Output().events, kDhcpOpened), 1u) << run.out;
    EXPECT_EQ(Count(device.Output().events, kOptionsOpened), 1u) << run.out;
}

TEST(ItemTapRun, TheViewSwitchTurnsFullViewOn)
{
    DeviceRun device;
    device.Settings({ { "ViewSelectEnabled", "1" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "wait 2\ntap item 230 20\nwait 3\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[1].height, 26);
    EXPECT_EQ(ticks[4].height, 91);
    EXPECT_EQ(ticks[4].lines.size(), 7u);
    EXPECT_TRUE(device.Output().events.empty());
}

TEST(ItemTapRun, ThePinHoldsTheLine)
{
    DeviceRun device;
    device.Settings({ { "PinEnabled", "1" }, { "ScrollRate", "9" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan(), {}, "wait 2.5\ntap item 22 6\nwait 4\ntap item 22 6\nwait 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_NE(ticks[0].lines, ticks[1].lines);
    // Pressed after tick 2: the line of tick 2 stays.
    for (size_t i = 2; i < 6; ++i)
        EXPECT_EQ(ticks[i].lines, ticks[1].lines) << i;
    // Released: the lines move on again.
    EXPECT_NE(ticks[7].lines, ticks[6].lines);
}

TEST(ItemTapRun, ATapOnTheTextShowsTheNextLineInCompactViewOnly)
{
    DeviceRun compact;
    compact.Settings({ { "ScrollRate", "1" } });
    ProgramResult run = compact.Simulate(DeviceRun::Lan(), {}, "wait 2\ntap item 100 8\nwait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(compact.Output().ticks.size(), 3u);
    EXPECT_EQ(compact.Output().ticks[1].lines, Lines { "NE2000 Compatible Ethernet Driver" });
    EXPECT_EQ(compact.Output().ticks[2].lines, Lines { "IP Address: 192.168.1.10" });

    DeviceRun full;
    full.Settings({ { "FullViewEnabled", "1" } });
    run = full.Simulate(DeviceRun::Lan(), {}, "wait 2\ntap item 100 8\nwait 1\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(full.Output().ticks[2].paints.empty()) << run.out;
}
