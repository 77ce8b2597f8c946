#include <gtest/gtest.h>

#include "metering/RateHistory.h"

namespace {

testing::AssertionResult Is(RateSample sample, DWORD up, DWORD down)
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
    history.AddSample(10, 45); // sent wrapped past 2^32
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

    // Missing samples count as zero; the multiplication is 32-bit, as on the device.
    RateHistory young;
    young.AddSample(1000, 600000000u);
    EXPECT_EQ(young.AverageRecent(5).upBps, 1600u);
    EXPECT_EQ(young.AverageRecent(1).downBps, static_cast<DWORD>(600000000u * 8u));
    EXPECT_EQ(young.AverageRecent(0).upText, L"0.0 kbps");
}
