// Window timers and their due times on the platform clock's tick count.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ui/WinUser.h"

namespace platform::ui {

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT periodMs = 0;
    uint64_t dueMs = 0;
    uint64_t order = 0; // breaks ties between timers due at the same moment
    TIMERPROC proc = nullptr;
};

// When a timer set now first fires: one period on, or with a coalescing grain that divides
// the period, on the first grain from one period on (a sixteenth of a grain earlier counts).
uint64_t CoalescedDue(uint64_t nowMs, UINT periodMs, UINT coalescingMs);

class TimerTable {
public:
    // Starts or restarts a timer; returns its id (a fresh one for a timer without window).
    // With a coalescing grain, a timer whose period is a whole number of grains starts on a
    // grain (CoalescedDue), so that such timers wake the thread together; its later periods
    // keep that phase.
    UINT_PTR Set(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC proc, uint64_t nowMs, UINT coalescingMs = 0);
    bool Kill(HWND window, UINT_PTR id);
    void KillAll(HWND window);
    // The earliest due time of any timer.
    std::optional<uint64_t> NextDue() const;
    // The earliest timer due at or before now (for the window, any when null); when removing,
    // its next due time is one period on, or one period from now when it is that late.
    std::optional<Timer> TakeDue(uint64_t nowMs, HWND window, bool remove);
    size_t Count() const { return m_timers.size(); }

private:
    std::vector<Timer> m_timers;
    uint64_t m_nextOrder = 1;
    UINT_PTR m_nextSystemId = 0x7F00;
};

} // namespace platform::ui
