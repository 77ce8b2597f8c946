#include <gtest/gtest.h>

#include "platform/time/CalendarTime.h"
#include "platform/time/Clock.h"
#include "support/TestSupport.h"

using platform::CalendarTime;
using testing_support::TimeZoneScope;
using testing_support::VirtualClockScope;

TEST(CalendarTime, BreakDownAndFieldsRoundTrip)
{
    TimeZoneScope zone("UTC");
    CalendarTime t = CalendarTime::FromFields(2006, 3, 7, 14, 5, 9);
    EXPECT_EQ(t.UnixSeconds(), 1141740309);
    EXPECT_EQ(t.Year(), 2006);
    EXPECT_EQ(t.Month(), 3);
    EXPECT_EQ(t.Day(), 7);
    EXPECT_EQ(t.Hour(), 14);
    EXPECT_EQ(t.Minute(), 5);
    EXPECT_EQ(t.Second(), 9);
    EXPECT_EQ(t.DayOfWeek(), 2); // a Tuesday
}

TEST(CalendarTime, ArithmeticAndComparison)
{
    TimeZoneScope zone("UTC");
    CalendarTime lastHourOfMarch = CalendarTime::FromFields(2006, 3, 31, 23, 0, 0);
    CalendarTime next = lastHourOfMarch + 3600;
    EXPECT_EQ(next.Month(), 4);
    EXPECT_EQ(next.Day(), 1);
    EXPECT_EQ(next.Hour(), 0);
    EXPECT_EQ(next - lastHourOfMarch, 3600);
    EXPECT_LT(lastHourOfMarch, next);
    EXPECT_EQ(next - 3600, lastHourOfMarch);
    // 30-day steps back from 31 March skip February, as the log scan relies on.
    CalendarTime back = CalendarTime::FromFields(2006, 3, 31, 12, 0, 0) - 2592000;
    EXPECT_EQ(back.Month(), 3);
    EXPECT_EQ(back.Day(), 1);
    EXPECT_EQ((back - 2592000).Month(), 1);
}

TEST(CalendarTime, FieldsCarryOverLikeMktime)
{
    TimeZoneScope zone("UTC");
    CalendarTime dayZero = CalendarTime::FromFields(2008, 3, 0, 0, 0, 0);
    EXPECT_EQ(dayZero.Month(), 2);
    EXPECT_EQ(dayZero.Day(), 29); // leap year
    CalendarTime thirteenth = CalendarTime::FromFields(2006, 13, 1, 0, 0, 0);
    EXPECT_EQ(thirteenth.Year(), 2007);
    EXPECT_EQ(thirteenth.Month(), 1);
}

TEST(CalendarTime, LocalTimeFollowsTheZone)
{
    TimeZoneScope zone("Europe/Berlin");
    // The hour after the spring change exists once; 02:30 on that day falls in the gap.
    CalendarTime before = CalendarTime::FromFields(2006, 3, 26, 1, 30, 0);
    CalendarTime after = before + 3600;
    EXPECT_EQ(after.Hour(), 3);
    EXPECT_EQ(after.Minute(), 30);
    CalendarTime summer = CalendarTime::FromFields(2006, 7, 1, 12, 0, 0);
    EXPECT_EQ(summer.UnixSeconds(), 1151748000); // 10:00 UTC
}

TEST(Clock, VirtualClockDrivesNowAndTickCount)
{
    TimeZoneScope zone("UTC");
    VirtualClockScope clock(1141740309);
    EXPECT_EQ(CalendarTime::Now().UnixSeconds(), 1141740309);
    DWORD ticks = GetTickCount();
    clock.Clock().AdvanceMs(1500);
    EXPECT_EQ(GetTickCount() - ticks, 1500u);
    EXPECT_EQ(CalendarTime::Now().UnixSeconds(), 1141740310);
    // Setting the wall clock does not move the tick count.
    clock.Clock().SetUnixSeconds(0);
    EXPECT_EQ(GetTickCount() - ticks, 1500u);
    EXPECT_EQ(CalendarTime::Now().Year(), 1970);
}
