#include <gtest/gtest.h>

#include "metering/Activity.h"
#include "metering/Meter.h"
#include "metering/TrafficCounter.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

using testing_support::VirtualClockScope;

TEST(TrafficCounter, MeterFormCountsEverythingSinceTheCountersStarted)
{
    VirtualClockScope clock;
    TrafficCounter meter;
    meter.Accumulate(5000, 7000);
    EXPECT_EQ(meter.UploadTotal(), 5000u);
    EXPECT_EQ(meter.DownloadTotal(), 7000u);
    EXPECT_EQ(meter.CombinedTotal(), 12000u);
    EXPECT_EQ(meter.ResetTime().UnixSeconds(), 1141740309);
}

TEST(TrafficCounter, LoggerFormStartsFromTheGivenCounters)
{
    TrafficCounter counter(5000, 7000);
    counter.Accumulate(5000, 7000);
    EXPECT_EQ(counter.CombinedTotal(), 0u);
    counter.Accumulate(5100, 7300);
    EXPECT_EQ(counter.UploadTotal(), 100u);
    EXPECT_EQ(counter.DownloadTotal(), 300u);
}

TEST(TrafficCounter, BackwardsCounterAddsZeroThenCountsOn)
{
    TrafficCounter counter(3999999000u, 0);
    counter.Accumulate(4000000000u, 0);
    counter.Accumulate(10, 0);
    EXPECT_EQ(counter.UploadTotal(), 1000u);
    counter.Accumulate(15, 0);
    EXPECT_EQ(counter.UploadTotal(), 1005u);
    EXPECT_EQ(counter.LastRawUp(), 15u);
}

TEST(TrafficCounter, TotalsWrapModulo2To32)
{
    TrafficCounter counter(0, 0);
    counter.Accumulate(0xF0000000u, 0xF0000000u);
    counter.Accumulate(0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(counter.UploadTotal(), 0xFFFFFFFFu);
    EXPECT_EQ(counter.CombinedTotal(), 0xFFFFFFFEu);
    // The raw counter restarts; counting goes on past 2^32 of total.
    counter.Accumulate(0, 0);
    counter.Accumulate(2, 0);
    EXPECT_EQ(counter.UploadTotal(), 1u);
}

TEST(TrafficCounter, ResetKeepsTheLastRawValues)
{
    VirtualClockScope clock;
    TrafficCounter counter(100, 100);
    counter.Accumulate(300, 400);
    clock.Clock().AdvanceSeconds(60);
    counter.Reset();
    EXPECT_EQ(counter.CombinedTotal(), 0u);
    EXPECT_EQ(counter.ResetTime().UnixSeconds(), 1141740369);
    counter.Accumulate(350, 400);
    EXPECT_EQ(counter.UploadTotal(), 50u);
}

TEST(TrafficCounter, ThresholdNeedsTheTotalStrictlyAbove)
{
    TrafficCounter meter;
    meter.Accumulate(1048576, 0);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
    meter.Accumulate(1048577, 0);
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
    EXPECT_TRUE(meter.Alerted());
    // No second alert until a reset.
    meter.Accumulate(9000000, 0);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
    meter.Reset();
    EXPECT_FALSE(meter.Alerted());
    meter.Accumulate(11000000, 0);
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
}

TEST(TrafficCounter, ThresholdWithResetAfterClearsTotalsAndAlert)
{
    TrafficCounter meter;
    meter.Accumulate(600000, 500000);
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyBoth, TRUE));
    EXPECT_EQ(meter.CombinedTotal(), 0u);
    EXPECT_FALSE(meter.Alerted());
    meter.Accumulate(600000 + 1048577, 500000);
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyBoth, TRUE));
}

TEST(TrafficCounter, ThresholdComparesTheTotalOfItsType)
{
    TrafficCounter meter;
    meter.Accumulate(2 * 1048576, 10);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyDownload, FALSE));
    EXPECT_FALSE(meter.CheckThreshold(1, 200, FALSE));
    EXPECT_FALSE(meter.CheckThreshold(1, 204, FALSE));
    EXPECT_FALSE(meter.Alerted());
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyUpload, FALSE));
}

TEST(TrafficCounter, ThresholdOf4096MbWrapsToZero)
{
    TrafficCounter meter;
    EXPECT_FALSE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE)); // total 0 is not above 0
    meter.Accumulate(1, 0);
    EXPECT_TRUE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE));
    TrafficCounter other;
    other.Accumulate(1048576, 0);
    EXPECT_FALSE(other.CheckThreshold(4097, kMeterNotifyBoth, FALSE)); // limit 1 MB
}

TEST(TrafficCounter, Texts)
{
    VirtualClockScope clock;
    clock.SetLocal(2006, 3, 7, 14, 5, 9);
    TrafficCounter meter;
    EXPECT_EQ(meter.FormatResetTime(), L"3/7/2006\n14:05:09");
    meter.Accumulate(1536, 1048576);
    EXPECT_EQ(meter.FormatUpload(), L"1.5 KB");
    EXPECT_EQ(meter.FormatDownload(), L"1.0 MB");
    EXPECT_EQ(meter.FormatTotal(), L"1.0 MB");
}

TEST(Meter, TickAccumulatesOnlyWhenOnAndReadable)
{
    Meter meter;
    MeterOptions options;
    options.notify = 1;
    options.thresholdMb = 1;
    EXPECT_FALSE(meter.Tick(options, true, 1000, 1000));
    EXPECT_EQ(meter.CombinedTotal(), 2000u);
    EXPECT_FALSE(meter.Tick(options, false, 0, 0));
    options.enabled = 0;
    EXPECT_FALSE(meter.Tick(options, true, 900000, 900000));
    EXPECT_EQ(meter.CombinedTotal(), 2000u);
    // Back on: what was counted meanwhile comes in at once and passes the 1 MB limit.
    options.enabled = 1;
    EXPECT_TRUE(meter.Tick(options, true, 900000, 900000));
    EXPECT_EQ(meter.CombinedTotal(), 1800000u);
    options.notify = 0;
    meter.Reset();
    EXPECT_FALSE(meter.Tick(options, true, 9000000, 900000));
}

TEST(CompareActivity, StatesAndWhatIsRemembered)
{
    ActivityMemory memory;
    EXPECT_EQ(CompareActivity({ false, 1, 1 }, memory), static_cast<DWORD>(ActivityNoConnection));
    EXPECT_EQ(memory.lastSent, 0u);
    EXPECT_EQ(CompareActivity({ true, 0, 0 }, memory), static_cast<DWORD>(ActivityIdle));

    EXPECT_EQ(CompareActivity({ true, 0, 10 }, memory), static_cast<DWORD>(ActivityReceiving));
    EXPECT_EQ(memory.lastReceived, 10u);
    EXPECT_EQ(CompareActivity({ true, 5, 10 }, memory), static_cast<DWORD>(ActivitySending));
    EXPECT_EQ(memory.lastSent, 5u);
    EXPECT_EQ(CompareActivity({ true, 6, 11 }, memory), static_cast<DWORD>(ActivityBoth));
    EXPECT_EQ(memory.lastSent, 6u);
    EXPECT_EQ(memory.lastReceived, 11u);

    // A counter that went backwards counts as both directions.
    EXPECT_EQ(CompareActivity({ true, 2, 11 }, memory), static_cast<DWORD>(ActivityBoth));
    EXPECT_EQ(memory.lastSent, 2u);
    EXPECT_EQ(CompareActivity({ true, 2, 3 }, memory), static_cast<DWORD>(ActivityBoth));
    EXPECT_EQ(memory.lastReceived, 3u);
    EXPECT_EQ(CompareActivity({ true, 2, 3 }, memory), static_cast<DWORD>(ActivityIdle));
}
