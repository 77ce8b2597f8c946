#include "platform/time/SystemTime.h"

#include <ctime>

#include "platform/time/Clock.h"

namespace platform {

namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month)
{
    static const int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

} // namespace

SYSTEMTIME SystemTimeFromCalendar(const CalendarTime& time)
{
    SYSTEMTIME fields {};
    fields.wYear = static_cast<WORD>(time.Year());
    fields.wMonth = static_cast<WORD>(time.Month());
    fields.wDayOfWeek = static_cast<WORD>(time.DayOfWeek());
    fields.wDay = static_cast<WORD>(time.Day());
    fields.wHour = static_cast<WORD>(time.Hour());
    fields.wMinute = static_cast<WORD>(time.Minute());
    fields.wSecond = static_cast<WORD>(time.Second());
    return fields;
}

bool IsValidSystemTime(const SYSTEMTIME& time)
{
    if (time.wYear < 1601 || time.wYear > 30827 || time.wMonth < 1 || time.wMonth > 12)
        return false;
    if (time.wDay < 1 || time.wDay > DaysIn(time.wYear, time.wMonth))
        return false;
    return time.wHour < 24 && time.wMinute < 60 && time.wSecond < 60 && time.wMilliseconds < 1000;
}

bool CalendarFromSystemTime(const SYSTEMTIME& time, CalendarTime& result)
{
    if (!IsValidSystemTime(time))
        return false;
    result = CalendarTime::FromFields(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond);
    return true;
}

} // namespace platform

void GetLocalTime(LPSYSTEMTIME time)
{
    if (time == nullptr)
        return;
    int64_t ms = platform::CurrentClock().UnixMs();
    *time = platform::SystemTimeFromCalendar(platform::CalendarTime::FromUnixSeconds(ms / 1000));
    time->wMilliseconds = static_cast<WORD>(ms % 1000);
}

void GetSystemTime(LPSYSTEMTIME time)
{
    if (time == nullptr)
        return;
    int64_t ms = platform::CurrentClock().UnixMs();
    time_t raw = static_cast<time_t>(ms / 1000);
    struct tm fields {};
    gmtime_r(&raw, &fields);
    *time = SYSTEMTIME { static_cast<WORD>(fields.tm_year + 1900), static_cast<WORD>(fields.tm_mon + 1),
        static_cast<WORD>(fields.tm_wday), static_cast<WORD>(fields.tm_mday), static_cast<WORD>(fields.tm_hour),
        static_cast<WORD>(fields.tm_min), static_cast<WORD>(fields.tm_sec), static_cast<WORD>(ms % 1000) };
}
