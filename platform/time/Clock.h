// The platform clock: wall time (seconds and milliseconds since 1970, UTC) and a tick count.
// The real clock reads the machine; the virtual clock is set and advanced by tests and by the
// host's simulation mode, and everything that asks the platform for the time follows it.
#pragma once

#include <cstdint>
#include <mutex>

#include "platform/core/WinTypes.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since 1 January 1970 UTC.
    virtual int64_t UnixMs() const = 0;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual uint64_t MonotonicMs() const = 0;

    int64_t UnixSeconds() const;
};

class RealClock final : public Clock {
public:
    int64_t UnixMs() const override;
    uint64_t MonotonicMs() const override;
};

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(int64_t unixSeconds = 1141740309); // 7 March 2006 14:05:09 UTC

    int64_t UnixMs() const override;
    uint64_t MonotonicMs() const override;

    // Moves wall time only (the tick count keeps running), like a user setting the clock.
    void SetUnixSeconds(int64_t unixSeconds);
    void AdvanceMs(uint64_t ms);
    void AdvanceSeconds(uint64_t seconds) { AdvanceMs(seconds * 1000); }

private:
    mutable std::mutex m_mutex;
    int64_t m_unixMs;
    uint64_t m_monotonicMs = 0;
};

// The clock the platform answers from; the real clock unless one was installed. The caller
// keeps an installed clock alive until it installs another one or null (back to real).
Clock& CurrentClock();
void InstallClock(Clock* clock);

} // namespace platform

// GetTickCount: milliseconds since start, wrapping at 2^32 as on the device.
DWORD GetTickCount();
