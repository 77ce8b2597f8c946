#include "metering/RateHistory.h"

#include "metering/TrafficText.h"

void RateHistory::AddSample(ULONG64 rawUp, ULONG64 rawDown)
{
    if (++m_writeSlot == SlotCount) {
        m_writeSlot = 0;
        m_wrapped = TRUE;
    }
    // A counter below its last value belongs to an interface made anew: this tick counts 0.
    if (rawUp < m_lastRawUp)
        m_lastRawUp = rawUp;
    if (rawDown < m_lastRawDown)
        m_lastRawDown = rawDown;
    m_samples[m_writeSlot] = RateSample { rawUp - m_lastRawUp, rawDown - m_lastRawDown };
    m_lastRawUp = rawUp;
    m_lastRawDown = rawDown;
}

RateSample RateHistory::SampleAt(DWORD slot) const
{
    if (slot >= SlotCount)
        return {};
    return m_samples[slot];
}

RateSample RateHistory::SampleBack(DWORD age) const
{
    if (age <= m_writeSlot)
        return m_samples[m_writeSlot - age];
    // The ring holds SlotCount samples: an older age would land on a newer sample again.
    if (m_wrapped && age < SlotCount)
        return m_samples[m_writeSlot + SlotCount - age];
    return {};
}

RateAverage RateHistory::AverageRecent(DWORD count) const
{
    RateAverage average;
    if (count != 0) {
        ULONG64 upSum = 0;
        ULONG64 downSum = 0;
        for (DWORD age = 0; age < count; ++age) {
            RateSample sample = SampleBack(age);
            upSum += sample.up;
            downSum += sample.down;
        }
        // In 64 bits: five seconds at 10 Gbit/s are 5e10 bits.
        average.upBps = upSum * 8u / count;
        average.downBps = downSum * 8u / count;
    }
    average.upText = FormatRate(average.upBps);
    average.downText = FormatRate(average.downBps);
    return average;
}

RateSample RateHistory::AverageBefore(DWORD slot, DWORD count) const
{
    if (count == 0)
        return {};
    // Start `count` slots back, wrapping below 0 to the top of the ring.
    int64_t start = static_cast<int64_t>(slot) - static_cast<int64_t>(count % SlotCount);
    if (start < 0)
        start += SlotCount;
    ULONG64 upSum = 0;
    ULONG64 downSum = 0;
    DWORD at = static_cast<DWORD>(start);
    for (DWORD i = 0; i < count; ++i) {
        RateSample sample = SampleAt(at);
        upSum += sample.up;
        downSum += sample.down;
        at = at + 1 >= SlotCount ? 0 : at + 1;
    }
    return RateSample { upSum / count, downSum / count };
}
