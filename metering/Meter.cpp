#include "metering/Meter.h"

BOOL Meter::Tick(const MeterOptions& options, bool countersRead, ULONG64 rawUp, ULONG64 rawDown)
{
    if (options.enabled == 0 || !countersRead)
        return FALSE;
    Accumulate(rawUp, rawDown);
    if (options.notify == 0)
        return FALSE;
    return CheckThreshold(options.thresholdMb, options.type, options.resetAfter != 0);
}
