// The last 164 one-second traffic samples of the tracked adapter, for the "Data Rate" status
// line and the data-rate monitor.
#pragma once

#include <array>
#include <string>

#include "platform/core/WinTypes.h"

// Bytes moved in one tick: up is sent, down is received.
struct RateSample {
    ULONG64 up = 0;
    ULONG64 down = 0;
};

// Rates over the last few ticks, in bits per second, with their texts.
struct RateAverage {
    ULONG64 upBps = 0;
    ULONG64 downBps = 0;
    std::wstring upText;
    std::wstring downText;
};

class RateHistory {
public:
    static constexpr DWORD SlotCount = 164;

    // Records one tick from the adapter's raw 64-bit octet counters.
    void AddSample(ULONG64 rawUp, ULONG64 rawDown);

    // The sample in a slot; a zero sample for a slot of SlotCount or more.
    RateSample SampleAt(DWORD slot) const;
    // The sample written `age` ticks ago (0 the newest); a zero sample where the ring does not
    // reach back that far.
    RateSample SampleBack(DWORD age) const;
    // Up and down rates over the last `count` samples.
    RateAverage AverageRecent(DWORD count) const;
    // Average bytes per sample of the `count` slots just before `slot` (not per second in bits).
    RateSample AverageBefore(DWORD slot, DWORD count) const;

    DWORD WriteSlot() const { return m_writeSlot; }
    BOOL Wrapped() const { return m_wrapped; }

private:
    std::array<RateSample, SlotCount> m_samples {};
    ULONG64 m_lastRawUp = 0;
    ULONG64 m_lastRawDown = 0;
    DWORD m_writeSlot = 0;
    BOOL m_wrapped = FALSE;
};
