#include <gtest/gtest.h>

#include "metering/Activity.h"
#include "metering/Meter.h"
#include "metering/TrafficCounter.h"
#include "settings/Settings.h"
#include "netinfo/InterfaceTable.h"
#include "support/SimNetworkScope.h"
#include "support/TestSupport.h"

using testing_support::VirtualClockScope;

TEST(TrafficCounter, FormsWrapAndReset)
{
    VirtualClockScope clock;
    clock.SetLocal(2006, 3, 7, 14, 5, 9);
    TrafficCounter meter; // counts everything since the counters started
    meter.Accumulate(5000, 7000);
    EXPECT_EQ(meter.CombinedTotal(), 12000u);
    EXPECT_EQ(meter.FormatResetTime(), L"3/7/2006\n14:05:09");

    TrafficCounter logged(3999999000u, 0); // counts from the given values
    logged.Accumulate(4000000000u, 0xF0000000u);
    logged.Accumulate(10, 0xFFFFFFFFu); // sent went back: 0 this tick
    logged.Accumulate(15, 0xFFFFFFFFu);
    EXPECT_EQ(logged.UploadTotal(), 1005u);
    EXPECT_EQ(logged.DownloadTotal(), 0xFFFFFFFFu);
    logged.Accumulate(15, 2); // the raw counter restarted
    logged.Accumulate(15, 4);
    EXPECT_EQ(logged.DownloadTotal(), 1u); // the total wrapped past 2^32
    EXPECT_EQ(logged.CombinedTotal(), 1006u);

    clock.Clock().AdvanceSeconds(60);
    logged.Reset();
    EXPECT_EQ(logged.CombinedTotal(), 0u);
    EXPECT_EQ(logged.ResetTime().Minute(), 6);
    logged.Accumulate(20, 4); // the last raw values stayed: nothing lost
    EXPECT_EQ(logged.UploadTotal(), 5u);
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

TEST(TrafficCounter, ThresholdOf4096MbWrapsToZero)
{
    TrafficCounter meter;
    EXPECT_FALSE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE)); // 0 is not above 0
    meter.Accumulate(1048576, 0);
    EXPECT_FALSE(meter.CheckThreshold(4097, kMeterNotifyBoth, FALSE)); // a limit of 1 MB
    EXPECT_TRUE(meter.CheckThreshold(4096, kMeterNotifyBoth, FALSE));
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
}

TEST(CompareActivity, ReadsTheTrackedAdapterFromTheInterfaceTable)
{
    testing_support::SimNetworkScope network;
    DWORD index = network.AddLan(L"eth0", "192.168.1.20", "192.168.1.1");
    network.Network().SetCounters(L"eth0", 5000, 0);
    InterfaceTable table;
    table.Refresh();
    EXPECT_EQ(CompareActivity(table, index), DWORD { ActivityReceiving });
    EXPECT_EQ(table.m_dwLastReceivedOctets, 5000u);
    EXPECT_EQ(CompareActivity(table, index), DWORD { ActivityIdle });
    EXPECT_EQ(CompareActivity(table, index + 40), DWORD { ActivityNoConnection });
    EXPECT_EQ(table.m_dwLastReceivedOctets, 5000u);
}
