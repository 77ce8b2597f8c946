// The item's activity state through the real program: what each change repaints, and the height
// that follows the loss of the adapter.
#include <gtest/gtest.h>

#include "DeviceRunSupport.h"

using host_test::DeviceRun;
using host_test::ProgramResult;
using Paints = std::vector<std::string>;

TEST(ItemActivityRun, SendingRepaintsTheIconStripOnlyAndLosingTheAdapterTheWholeItem)
{
    DeviceRun device;
    device.Settings({ { "FullViewEnabled", "1" } });
    ProgramResult run = device.Simulate(DeviceRun::Lan() + "at 3 rate NE20001 out=300\nat 6 remove NE20001\n",
        { "--ticks", "10" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    ASSERT_EQ(ticks.size(), 10u);
    EXPECT_EQ(ticks[2].activity, 1);
    EXPECT_TRUE(ticks[2].paints.empty());
    // 1 to 2: the activity icon's strip, the item's full height.
    EXPECT_EQ(ticks[3].activity, 2);
    EXPECT_EQ(ticks[3].paints, Paints { "2,0-18,91" });
    // 2 to 5: the whole item, and at the next refresh query the height of two lines.
    EXPECT_EQ(ticks[5].activity, 5);
    EXPECT_EQ(ticks[5].paints, Paints { "0,0-240,91" });
    EXPECT_EQ(ticks[5].lines, std::vector<std::string> { "No connected interfaces" });
    EXPECT_EQ(ticks[9].height, 26);
    EXPECT_EQ(ticks[9].activity, 5);
}

TEST(ItemActivityRun, OnlyTheLoopbackMeansNoConnectionUntilAnAdapterComes)
{
    DeviceRun device;
    ProgramResult run = device.Simulate("interface LOOPBACK type=loopback\n"
                                        "at 3 interface NE20001 type=ethernet\n"
                                        "at 3 address NE20001 10.0.0.5/8\n"
                                        "at 3 route default via 10.0.0.1 dev NE20001\n",
        { "--ticks", "6" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto& ticks = device.Output().ticks;
    EXPECT_EQ(ticks.at(1).activity, 5);
    EXPECT_EQ(ticks.at(1).lines, std::vector<std::string> { "No connected interfaces" });
    // The adapter appears at the third tick: the whole item is repainted as state 5 ends. It
    // came after the module named the adapters, so it shows under its raw name.
    EXPECT_EQ(ticks.at(2).activity, 1);
    EXPECT_EQ(ticks.at(2).paints, Paints { "0,0-240,26" });
    EXPECT_EQ(ticks.at(2).lines, std::vector<std::string> { "NE20001*" });
}
