// The platform's SYSTEMTIME record (a date and time broken into fields, as the date picker and
// the time calls give it), the calls that read the clock into it, and its conversion from and
// to calendar time.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1 to 12
    WORD wDayOfWeek; // 0 Sunday to 6 Saturday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// Now by the platform clock, in local time and in UTC.
void GetLocalTime(LPSYSTEMTIME time);
void GetSystemTime(LPSYSTEMTIME time);

namespace platform {

// The fields of a local calendar time, with its day of the week.
SYSTEMTIME SystemTimeFromCalendar(const CalendarTime& time);
// A real date and time of day: month 1 to 12, the month's own days, hours, minutes, seconds and
// milliseconds in range, a year the platform can hold (1601 to 30827). The day of the week is
// not checked, as the platform does not.
bool IsValidSystemTime(const SYSTEMTIME& time);
// The local calendar time of valid fields (milliseconds dropped); false for invalid fields.
bool CalendarFromSystemTime(const SYSTEMTIME& time, CalendarTime& result);

} // namespace platform
