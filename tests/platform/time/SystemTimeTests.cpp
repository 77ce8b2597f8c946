#include <gtest/gtest.h>

#include "platform/time/SystemTime.h"
#include "support/TestSupport.h"

using platform::CalendarFromSystemTime;
using platform::IsValidSystemTime;

TEST(SystemTimeTest, OnlyRealDatesAndTimesAreValid)
{
    SYSTEMTIME time { 2008, 2, 0, 29, 23, 59, 59, 999 };
    EXPECT_TRUE(IsValidSystemTime(time));
    time.wYear = 2006;
    EXPECT_FALSE(IsValidSystemTime(time)); // not a leap year
    time = SYSTEMTIME { 2000, 2, 0, 29, 0, 0, 0, 0 };
    EXPECT_TRUE(IsValidSystemTime(time));
    time = SYSTEMTIME { 1900, 2, 0, 29, 0, 0, 0, 0 };
    EXPECT_FALSE(IsValidSystemTime(time));
    for (SYSTEMTIME bad : { SYSTEMTIME { 2006, 13, 0, 1, 0, 0, 0, 0 }, SYSTEMTIME { 2006, 4, 0, 31, 0, 0, 0, 0 },
             SYSTEMTIME { 2006, 4, 0, 1, 24, 0, 0, 0 }, SYSTEMTIME { 1600, 1, 0, 1, 0, 0, 0, 0 },
             SYSTEMTIME { 2006, 0, 0, 1, 0, 0, 0, 0 } })
        EXPECT_FALSE(IsValidSystemTime(bad));
}

TEST(SystemTimeTest, TheClockAndCalendarTimeAgree)
{
    testing_support::VirtualClockScope clock;
    clock.SetLocal(2006, 3, 7, 14, 5, 9);
    clock.Clock().AdvanceMs(250);
    SYSTEMTIME now {};
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2006);
    EXPECT_EQ(now.wMonth, 3);
    EXPECT_EQ(now.wDay, 7);
    EXPECT_EQ(now.wDayOfWeek, 2);
    EXPECT_EQ(now.wHour, 14);
    EXPECT_EQ(now.wSecond, 9);
    EXPECT_EQ(now.wMilliseconds, 250);
    platform::CalendarTime back;
    ASSERT_TRUE(CalendarFromSystemTime(now, back));
    EXPECT_EQ(back, platform::CalendarTime::FromFields(2006, 3, 7, 14, 5, 9));
    SYSTEMTIME utc {};
    GetSystemTime(&utc);
    EXPECT_EQ(utc.wHour, 14); // the tests run in UTC
}
