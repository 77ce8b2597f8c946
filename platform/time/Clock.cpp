#include "platform/time/Clock.h"

#include <atomic>
#include <chrono>

namespace platform {

int64_t Clock::UnixSeconds() const
{
    int64_t ms = UnixMs();
    // Floor, so that times before 1970 still fall in the right second.
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

int64_t RealClock::UnixMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

uint64_t RealClock::MonotonicMs() const
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

VirtualClock::VirtualClock(int64_t unixSeconds)
    : m_unixMs(unixSeconds * 1000)
{
}

int64_t VirtualClock::UnixMs() const
{
    std::lock_guard lock(m_mutex);
    return m_unixMs;
}

uint64_t VirtualClock::MonotonicMs() const
{
    std::lock_guard lock(m_mutex);
    return m_monotonicMs;
}

void VirtualClock::SetUnixSeconds(int64_t unixSeconds)
{
    std::lock_guard lock(m_mutex);
    m_unixMs = unixSeconds * 1000;
}

void VirtualClock::AdvanceMs(uint64_t ms)
{
    std::lock_guard lock(m_mutex);
    m_unixMs += static_cast<int64_t>(ms);
    m_monotonicMs += ms;
}

namespace {
RealClock g_realClock;
std::atomic<Clock*> g_installedClock { nullptr };
}

Clock& CurrentClock()
{
    Clock* installed = g_installedClock.load();
    return installed != nullptr ? *installed : g_realClock;
}

void InstallClock(Clock* clock)
{
    g_installedClock.store(clock);
}

} // namespace platform

DWORD GetTickCount()
{
    return static_cast<DWORD>(platform::CurrentClock().MonotonicMs());
}
