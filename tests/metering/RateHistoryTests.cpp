#include <gtest/gtest.h>

#include "metering/RateHistory.h"

namespace {

void ExpectSample(RateSample sample, DWORD up, DWORD down)
{
    EXPECT_EQ(sample.up, up);
    EXPECT_EQ(sample.down, down);
}

} // namespace

TEST(RateHistory, FirstSamplesLandFromSlotOneWithDeltas)
{
    RateHistory history;
    history.AddSample(100, 50);
    ExpectSample(history.SampleAt(1), 100, 50);
    ExpectSample(history.SampleAt(0), 0, 0);
    history.AddSample(150, 40); // the received counter went back: 0 this tick
    ExpectSample(history.SampleAt(2), 50, 0);
    history.AddSample(150, 45);
    ExpectSample(history.SampleAt(3), 0, 5); // counted on from the lower value
    ExpectSample(history.SampleAt(164), 0, 0);
    ExpectSample(history.SampleAt(0xFFFFFFFFu), 0, 0);
}

TEST(RateHistory, CounterWrapPast32BitsCountsZeroThenContinues)
{
    RateHistory history;
    history.AddSample(4000000000u, 0xFFFFFFF0u);
    history.AddSample(10, 0xFFFFFFFFu);
    ExpectSample(history.SampleBack(0), 0, 15);
    history.AddSample(15, 3);
    ExpectSample(history.SampleBack(0), 5, 0);
}

TEST(RateHistory, RingWrapsAfter164SamplesAndReadsBackAcrossTheSeam)
{
    RateHistory history;
    DWORD up = 0;
    for (DWORD i = 1; i <= 163; ++i) {
        up += i;
        history.AddSample(up, 0);
    }
    EXPECT_EQ(history.WriteSlot(), 163u);
    EXPECT_FALSE(history.Wrapped());
    // Not yet wrapped: the ring reaches back to slot 1 only.
    ExpectSample(history.SampleBack(162), 1, 0);
    ExpectSample(history.SampleBack(163), 0, 0);
    ExpectSample(history.SampleBack(200), 0, 0);

    up += 164;
    history.AddSample(up, 0);
    EXPECT_EQ(history.WriteSlot(), 0u);
    EXPECT_TRUE(history.Wrapped());
    ExpectSample(history.SampleBack(0), 164, 0);
    ExpectSample(history.SampleBack(3), 161, 0); // slot 161
    ExpectSample(history.SampleBack(163), 1, 0); // the oldest sample, slot 1
    // Age 164 would be slot 0 again, the newest sample: the ring does not reach that far.
    ExpectSample(history.SampleBack(164), 0, 0);
    ExpectSample(history.SampleBack(0xFFFFFFFFu), 0, 0);

    up += 165;
    history.AddSample(up, 0);
    EXPECT_EQ(history.WriteSlot(), 1u);
    ExpectSample(history.SampleBack(1), 164, 0);
    ExpectSample(history.SampleBack(2), 163, 0);
}

TEST(RateHistory, FreshHistoryReadsZeroBeyondItsSamples)
{
    RateHistory history;
    history.AddSample(10, 10);
    history.AddSample(20, 20);
    ExpectSample(history.SampleBack(5), 0, 0);
    ExpectSample(history.SampleBack(1), 10, 10);
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

    RateAverage one = history.AverageRecent(1);
    EXPECT_EQ(one.upBps, 8000u);

    // Fewer samples than asked for: the missing ones count as zero.
    RateHistory young;
    young.AddSample(1000, 0);
    EXPECT_EQ(young.AverageRecent(5).upBps, 1600u);
    EXPECT_EQ(young.AverageRecent(0).upBps, 0u);
    EXPECT_EQ(young.AverageRecent(0).upText, L"0.0 kbps");
}

TEST(RateHistory, AverageRecentMultipliesIn32Bits)
{
    RateHistory history;
    // 600000000 bytes in one tick: times 8 wraps past 2^32, as on the device.
    history.AddSample(600000000u, 0);
    EXPECT_EQ(history.AverageRecent(1).upBps, static_cast<DWORD>(600000000u * 8u));
}

TEST(RateHistory, AverageBeforeWrapsBelowSlotZero)
{
    RateHistory history;
    DWORD up = 0;
    for (DWORD i = 1; i <= 170; ++i) {
        up += i;
        history.AddSample(up, 2 * up);
    }
    // Slots now: 0..6 hold 164..170, 7..163 hold 7..163.
    RateSample before2 = history.AverageBefore(2, 5); // slots 161, 162, 163, 0, 1
    EXPECT_EQ(before2.up, (161u + 162 + 163 + 164 + 165) / 5);
    EXPECT_EQ(before2.down, 2u * (161 + 162 + 163 + 164 + 165) / 5);
    RateSample before10 = history.AverageBefore(10, 5); // slots 5 to 9
    EXPECT_EQ(before10.up, (169u + 170 + 7 + 8 + 9) / 5);
    EXPECT_EQ(history.AverageBefore(10, 0).up, 0u);
}
