#include "platform/ui/wm/TimerTable.h"

#include <algorithm>

namespace platform::ui {

namespace {

// The platform raises shorter periods to its minimum.
constexpr UINT kMinimumPeriodMs = 10;

} // namespace


uint64_t CoalescedDue(uint64_t nowMs, UINT periodMs, UINT coalescingMs)
{
    uint64_t due = nowMs + periodMs;
    if (coalescingMs == 0 || periodMs % coalescingMs != 0)
        return due;
    // The next grain, so that a first period is never much shorter than asked (a rate taken
    // over it would read high); a timer restarted just after a grain, as a handler may do,
    // stays on the grain one period on rather than losing a whole grain.
    uint64_t tolerance = coalescingMs / 16;
    uint64_t earliest = due - tolerance;
    return (earliest + coalescingMs - 1) / coalescingMs * coalescingMs;
}

UINT_PTR TimerTable::Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC proc, uint64_t nowMs, UINT coalescingMs)
{
    if (periodMs < kMinimumPeriodMs)
        periodMs = kMinimumPeriodMs;
    if (window == nullptr)
        id = m_nextSystemId++;
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
    Timer timer { window, id, periodMs, CoalescedDue(nowMs, periodMs, coalescingMs), m_nextOrder++, proc };
    if (it != m_timers.end())
        *it = timer;
    else
        m_timers.push_back(timer);
    return id;
}

bool TimerTable::Kill(HWND window, UINT_PTR id)
{
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.window == window && t.id == id; });
    if (it == m_timers.end())
        return false;
    m_timers.erase(it);
    return true;
}

void TimerTable::KillAll(HWND window)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.window == window; }),
        m_timers.end());
}

std::optional<uint64_t> TimerTable::NextDue() const
{
    std::optional<uint64_t> next;
    for (const Timer& t : m_timers) {
        if (!next || t.dueMs < *next)
            next = t.dueMs;
    }
    return next;
}

std::optional<Timer> TimerTable::TakeDue(uint64_t nowMs, HWND window, bool remove)
{
    Timer* best = nullptr;
    for (Timer& t : m_timers) {
        if (t.dueMs > nowMs || (window != nullptr && t.window != window))
            continue;
        if (best == nullptr || t.dueMs < best->dueMs || (t.dueMs == best->dueMs && t.order < best->order))
            best = &t;
    }
    if (best == nullptr)
        return std::nullopt;
    Timer fired = *best;
    if (remove) {
        best->dueMs += best->periodMs;
        if (best->dueMs <= nowMs)
            best->dueMs = nowMs + best->periodMs;
    }
    return fired;
}

} // namespace platform::ui
