#include <gtest/gtest.h>

#include "metering/Activity.h"
#include "metering/Meter.h"
#include "metering/TrafficCounter.h"
#include "settings/Settings.h"
#include "netinfo/InterfaceTable.h"
#include "support/SimNetworkScope.h"
#include "support/TestSupport.h"

using testing_support::VirtualClockScope;

TEST(TrafficCounter, FormsCountPast32BitsAndReset)
{
    VirtualClockScope clock;
    clock.SetLocal(2006, 3, 7, 14, 5, 9);
    TrafficCounter meter; // counts everything since the counters started
    meter.Accumulate(5000, 7000);
    EXPECT_EQ(meter.CombinedTotal(), 12000u);
    EXPECT_EQ(meter.FormatResetTime(), L"3/7/2006\n14:05:09");

    // Counts from the given values; 64-bit counters run on past 2^32 and every byte counts.
    TrafficCounter logged(0xFFFFF000u, 0xFFFFFF9Cu);
    logged.Accumulate(0x100000A00ull, 0x100000063ull);
    EXPECT_EQ(logged.UploadTotal(), 0x1A00u);
    EXPECT_EQ(logged.DownloadTotal(), 199u);
    logged.Accumulate(10, 0x100000070ull); // sent went back: the interface was made anew, 0 this tick
    logged.Accumulate(15, 0x100000070ull);
    EXPECT_EQ(logged.UploadTotal(), 0x1A05u);
    EXPECT_EQ(logged.DownloadTotal(), 212u);
    // Totals run past 2^32 too: 5 GiB down in one step.
    logged.Accumulate(15, 0x100000070ull + 5 * (1ull << 30));
    EXPECT_EQ(logged.DownloadTotal(), 212u + 5 * (1ull << 30));
    EXPECT_EQ(logged.CombinedTotal(), 0x1A05u + 212u + 5 * (1ull << 30));
    EXPECT_EQ(logged.FormatDownload(), L"5.0 GB");

    clock.Clock().AdvanceSeconds(60);
    logged.Reset();
    EXPECT_EQ(logged.CombinedTotal(), 0u);
    EXPECT_EQ(logged.ResetTime().Minute(), 6);
    logged.Accumulate(20, 0x100000070ull + 5 * (1ull << 30) + 4); // the last raw values stayed: nothing lost
    EXPECT_EQ(logged.UploadTotal(), 5u);
    EXPECT_EQ(logged.DownloadTotal(), 4u);
}

TEST(TrafficCounter, ThresholdNeedsTheTotalStrictlyAboveAndAlertsOnce)
{
    TrafficCounter meter;
    meter.Accumulate(1048576, 0);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
    meter.Accumulate(1048577, 0);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyDownload, FALSE));
    EXPECT_FALSE(meter.CheckThreshold(1, 200, FALSE));
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyBoth, FALSE));
    EXPECT_TRUE(meter.Alerted());
    meter.Accumulate(9000000, 0);
    EXPECT_FALSE(meter.CheckThreshold(1, kMeterNotifyUpload, FALSE)); // until a reset
    meter.Reset();
    meter.Accumulate(11000000, 0);
    // With reset-after the totals and the alert are cleared, so it can alert again.
    EXPECT_TRUE(meter.CheckThreshold(1, kMeterNotifyUpload, TRUE));
    EXPECT_EQ(meter.CombinedTotal(), 0u);
    EXPECT_FALSE(meter.Alerted());
}

TEST(TrafficCounter, ThresholdsOf4096MbAndAboveAreWholeLimits)
{
    TrafficCounter meter;
    meter.Accumulate(1048576, 0);
    // 4096 MB is 2^32 bytes, not a limit of 0: one megabyte raises no alert.
    EXPECT_FALSE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE));
    meter.Accumulate(1ull << 32, 7);
    EXPECT_FALSE(meter.CheckThreshold(4096, kMeterNotifyUpload, FALSE)); // exactly 2^32: not above
    EXPECT_TRUE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE));

    // The largest setting is a limit just under 2^52 bytes.
    TrafficCounter large;
    large.Accumulate(5000ull << 20, 1);
    EXPECT_FALSE(large.CheckThreshold(5000, kMeterNotifyUpload, FALSE));
    EXPECT_FALSE(large.CheckThreshold(0xFFFFFFFFu, kMeterNotifyBoth, FALSE));
    EXPECT_TRUE(large.CheckThreshold(5000, kMeterNotifyBoth, FALSE));
}

TEST(Meter, TickAccumulatesOnlyWhenOnAndReadable)
{
    Meter meter;
    MeterOptions options;
    options.notify = 1;
    options.thresholdMb = 1;
    EXPECT_FALSE(meter.Tick(options, true, 1000, 1000));
    EXPECT_FALSE(meter.Tick(options, false, 0, 0));
    options.enabled = 0;
    EXPECT_FALSE(meter.Tick(options, true, 900000, 900000));
    EXPECT_EQ(meter.CombinedTotal(), 2000u);
    // Back on: what was counted meanwhile comes in at once and passes the 1 MB limit.
    options.enabled = 1;
    EXPECT_TRUE(meter.Tick(options, true, 900000, 900000));
    EXPECT_EQ(meter.CombinedTotal(), 1800000u);
}

TEST(CompareActivity, StatesAndWhatIsRemembered)
{
    ActivityMemory memory;
    EXPECT_EQ(CompareActivity({ false, 1, 1 }, memory), DWORD { ActivityNoConnection });
    EXPECT_EQ(CompareActivity({ true, 0, 0 }, memory), DWORD { ActivityIdle });
    EXPECT_EQ(CompareActivity({ true, 0, 10 }, memory), DWORD { ActivityReceiving });
    EXPECT_EQ(CompareActivity({ true, 5, 10 }, memory), DWORD { ActivitySending });
    EXPECT_EQ(memory.lastSent, 5u);
    EXPECT_EQ(CompareActivity({ true, 6, 11 }, memory), DWORD { ActivityBoth });
    // A counter that went backwards counts as both directions and is remembered.
    EXPECT_EQ(CompareActivity({ true, 2, 11 }, memory), DWORD { ActivityBoth });
    EXPECT_EQ(CompareActivity({ true, 2, 3 }, memory), DWORD { ActivityBoth });
    EXPECT_EQ(CompareActivity({ true, 2, 3 }, memory), DWORD { ActivityIdle });
    // 2^32 bytes later the low halves are the same again; the traffic still shows.
    EXPECT_EQ(CompareActivity({ true, 2 + (1ull << 32), 3 }, memory), DWORD { ActivitySending });
    EXPECT_EQ(memory.lastSent, 2 + (1ull << 32));
}

TEST(CompareActivity, ReadsTheTrackedAdapterFromTheInterfaceTable)
{
    testing_support::SimNetworkScope network;
    DWORD index = network.AddLan(L"eth0", "192.168.1.20", "192.168.1.1");
    network.Network().SetCounters(L"eth0", 5000, 0);
    InterfaceTable table;
    table.Refresh();
    EXPECT_EQ(CompareActivity(table, index), DWORD { ActivityReceiving });
    EXPECT_EQ(table.m_lastReceivedOctets, 5000u);
    EXPECT_EQ(CompareActivity(table, index), DWORD { ActivityIdle });
    EXPECT_EQ(CompareActivity(table, index + 40), DWORD { ActivityNoConnection });
    EXPECT_EQ(table.m_lastReceivedOctets, 5000u);
}
