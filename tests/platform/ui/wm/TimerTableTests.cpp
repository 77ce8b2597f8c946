#include <gtest/gtest.h>

#include "platform/ui/wm/TimerTable.h"

using platform::ui::CoalescedDue;
using platform::ui::TimerTable;

namespace {

HWND FakeWindow(uintptr_t n)
{
    return reinterpret_cast<HWND>(n);
}

} // namespace

TEST(TimerCoalescing, StartsOnTheNextGrainNeverMuchBeforeOnePeriod)
{
    // Without a grain, or with one that does not divide the period, the timer keeps its phase.
    EXPECT_EQ(CoalescedDue(123'456, 1000, 0), 124'456u);
    EXPECT_EQ(CoalescedDue(123'456, 150, 1000), 123'606u);
    EXPECT_EQ(CoalescedDue(123'456, 2500, 1000), 125'956u);
    // Mid-grain: the first grain after one period.
    EXPECT_EQ(CoalescedDue(123'456, 1000, 1000), 125'000u);
    EXPECT_EQ(CoalescedDue(123'999, 2000, 1000), 126'000u);
    // Just after a grain (a handler restarting its timer): one period on, a little early.
    EXPECT_EQ(CoalescedDue(124'003, 1000, 1000), 125'000u);
    EXPECT_EQ(CoalescedDue(124'062, 1000, 1000), 125'000u);
    EXPECT_EQ(CoalescedDue(124'063, 1000, 1000), 126'000u);
    // On a grain.
    EXPECT_EQ(CoalescedDue(124'000, 3000, 1000), 127'000u);
}

TEST(TimerCoalescing, TimersOfWholeSecondsSetApartFireTogetherThenKeepTheirPeriods)
{
    TimerTable timers;
    timers.Set(FakeWindow(1), 7, 1000, nullptr, 10'210, 1000); // the item's tick
    timers.Set(FakeWindow(2), 1, 1000, nullptr, 10'655, 1000); // the clock
    timers.Set(FakeWindow(3), 2, 2000, nullptr, 10'930, 1000); // the Today refresh
    timers.Set(FakeWindow(4), 3, 150, nullptr, 10'930, 1000);  // a dialog's short timer
    int wakes = 0;
    int fired[5] = {};
    uint64_t now = 10'930;
    while (now < 20'000) {
        uint64_t next = *timers.NextDue();
        now = next;
        ++wakes;
        while (auto timer = timers.TakeDue(now, nullptr, true))
            ++fired[reinterpret_cast<uintptr_t>(timer->window)];
        if (now > 12'000)
            timers.Kill(FakeWindow(4), 3);
    }
    // 12 s: the three whole-second timers share every grain from 12 s on.
    EXPECT_EQ(fired[1], 9);
    EXPECT_EQ(fired[2], 9);
    EXPECT_EQ(fired[3], 4); // 13, 15, 17, 19 s
    EXPECT_LE(wakes, 9 + 8);
}
