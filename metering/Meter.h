// The traffic meter: the module's one meter-form TrafficCounter, run once a tick from the
// tracked adapter's counters.
#pragma once

#include "metering/TrafficCounter.h"
#include "settings/Settings.h"

// The meter settings the tick passes in (MeterEnabled, MeterNotify, MeterNotifyThreshold,
// MeterNotifyType, MeterNotifyReset).
struct MeterOptions {
    DWORD enabled = 1;
    DWORD notify = 0;
    DWORD thresholdMb = 0;
    DWORD type = kMeterNotifyBoth;
    DWORD resetAfter = 0;
};

class Meter : public TrafficCounter {
public:
    // One tick: accumulates when the meter is on and both counters could be read, then checks
    // the threshold when alerts are on. TRUE when the alert is to be raised now. While the
    // meter is off its last raw values stay, so re-enabling it adds what was counted meanwhile.
    BOOL Tick(const MeterOptions& options, bool countersRead, ULONG64 rawUp, ULONG64 rawDown);
};
