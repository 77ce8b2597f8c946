#include <gtest/gtest.h>

#include "metering/RateHistory.h"

namespace {

testing::AssertionResult Is(RateSample sample, ULONG64 up, ULONG64 down)
{
    if (sample.up == up && sample.down == down)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << sample.up << ", " << sample.down << ")";
}

} // namespace

TEST(RateHistory, DeltasFromSlotOneAndCountersGoingBack)
{
    RateHistory history;
    history.AddSample(100, 50);
    EXPECT_TRUE(Is(history.SampleAt(1), 100, 50));
    EXPECT_TRUE(Is(history.SampleAt(0), 0, 0));
    history.AddSample(150, 40); // received went back: 0 this tick, counted on from 40
    EXPECT_TRUE(Is(history.SampleAt(2), 50, 0));
    history.AddSample(10, 45); // sent went back: the interface was made anew
    EXPECT_TRUE(Is(history.SampleBack(0), 0, 5));
    history.AddSample(15, 45);
    EXPECT_TRUE(Is(history.SampleBack(0), 5, 0));
    EXPECT_TRUE(Is(history.SampleAt(164), 0, 0));
    EXPECT_TRUE(Is(history.SampleBack(5), 0, 0)); // the ring does not reach back yet
}

TEST(RateHistory, RingWrapsAfter164SamplesAndReadsBackAcrossTheSeam)
{
    RateHistory history;
    DWORD up = 0;
    for (DWORD i = 1; i <= 163; ++i)
        history.AddSample(up += i, 0);
    EXPECT_FALSE(history.Wrapped());
    EXPECT_TRUE(Is(history.SampleBack(162), 1, 0));
    EXPECT_TRUE(Is(history.SampleBack(163), 0, 0));

    history.AddSample(up += 164, 0);
    EXPECT_EQ(history.WriteSlot(), 0u);
    EXPECT_TRUE(history.Wrapped());
    EXPECT_TRUE(Is(history.SampleBack(3), 161, 0)); // slot 161
    EXPECT_TRUE(Is(history.SampleBack(163), 1, 0)); // the oldest, slot 1
    // Age 164 would be slot 0 again, the newest sample: out of reach.
    EXPECT_TRUE(Is(history.SampleBack(164), 0, 0));

    history.AddSample(up += 165, 0);
    EXPECT_TRUE(Is(history.SampleBack(2), 163, 0));
    // Slots 0 and 1 now hold 164 and 165, slots 2 to 163 hold 2 to 163.
    EXPECT_TRUE(Is(history.AverageBefore(1, 5), (160u + 161 + 162 + 163 + 164) / 5, 0));
    EXPECT_TRUE(Is(history.AverageBefore(10, 5), (5u + 6 + 7 + 8 + 9) / 5, 0));
    EXPECT_TRUE(Is(history.AverageBefore(10, 0), 0, 0));
}

TEST(RateHistory, AverageRecentInBitsPerSecondWithTexts)
{
    RateHistory history;
    for (DWORD i = 1; i <= 6; ++i)
        history.AddSample(1000 * i, 500 * i);
    RateAverage five = history.AverageRecent(5);
    EXPECT_EQ(five.upBps, 8000u);
    EXPECT_EQ(five.downBps, 4000u);
    EXPECT_EQ(five.upText, L"7.8 kbps");
    EXPECT_EQ(five.downText, L"3.9 kbps");

    // Missing samples count as zero.
    RateHistory young;
    young.AddSample(1000, 600000000u);
    EXPECT_EQ(young.AverageRecent(5).upBps, 1600u);
    EXPECT_EQ(young.AverageRecent(1).downBps, 4800000000u);
    EXPECT_EQ(young.AverageRecent(0).upText, L"0.0 kbps");
}

TEST(RateHistory, TenGigabitsAcrossTheCounters32BitEdge)
{
    // 10 Gbit/s received and 7 Gbit/s sent, the counters starting just below 2^32: the 32-bit
    // halves wrap within the first second, the 64-bit counters do not.
    const ULONG64 down = 1250000000u;
    const ULONG64 up = 875000000u;
    RateHistory history;
    ULONG64 rawUp = 0xFFFFFF00u;
    ULONG64 rawDown = 0xFFFFFFF0u;
    history.AddSample(rawUp, rawDown);
    for (int second = 0; second < 5; ++second)
        history.AddSample(rawUp += up, rawDown += down);
    EXPECT_TRUE(Is(history.SampleBack(4), up, down));
    RateAverage rate = history.AverageRecent(5);
    EXPECT_EQ(rate.downBps, 10000000000u);
    EXPECT_EQ(rate.upBps, 7000000000u);
    EXPECT_EQ(rate.downText, L"9.3 Gbps");
    EXPECT_EQ(rate.upText, L"6.5 Gbps");
    EXPECT_TRUE(Is(history.AverageBefore(history.WriteSlot() + 1, 5), up, down));
}
