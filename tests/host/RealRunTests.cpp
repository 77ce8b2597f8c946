// The device on this machine's own network, in real time, as `make run` starts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "HostOutput.h"
#include "ProgramRun.h"
#include "support/TestSupport.h"

using host_test::ProgramResult;
using host_test::RunVelmora;

TEST(RealRun, HeadlessPrintsTheLinesOfTheDefaultRouteAdapterEveryTick)
{
    testing_support::ScratchFolder data;
    ProgramResult run = RunVelmora({ "--data", data.Path().string(), "--headless", "--ticks", "2" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("first frame painted "), std::string::npos) << run.out;
    host_test::HostOutput output = host_test::ParseHostOutput(run.out);
    ASSERT_EQ(output.ticks.size(), 2u) << run.out;
    for (const host_test::TickBlock& tick : output.ticks) {
        EXPECT_GE(tick.activity, 1);
        EXPECT_LE(tick.activity, 5);
        // An adapter's name, or the not-present text on a machine without a network.
        EXPECT_FALSE(tick.lines.empty()) << run.out;
    }
    // The machine's interfaces were named under HKLM\Comm for the item's friendly names.
    EXPECT_TRUE(std::filesystem::exists(data.Path() / "registry.reg"));
}

// As the service runs it: the start line, then nothing while the device ticks.
TEST(RealRun, QuietPrintsOnlyTheStartLine)
{
    testing_support::ScratchFolder data;
    ProgramResult run = RunVelmora({ "--data", data.Path().string(), "--headless", "--quiet", "--ticks", "2" });
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("device 240 x 320 at 96 dpi, generation 2005, data in " + data.Path().string() + "\n", 0), 0u)
        << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
}
