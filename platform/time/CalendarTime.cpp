#include "platform/time/CalendarTime.h"

#include <ctime>

#include "platform/time/Clock.h"

namespace platform {

CalendarTime CalendarTime::Now()
{
    return FromUnixSeconds(CurrentClock().UnixSeconds());
}

CalendarTime CalendarTime::FromUnixSeconds(int64_t seconds)
{
    CalendarTime t;
    t.m_unix = seconds;
    time_t raw = static_cast<time_t>(seconds);
    struct tm fields {};
    if (localtime_r(&raw, &fields) == nullptr)
        return t;
    t.m_year = fields.tm_year + 1900;
    t.m_month = fields.tm_mon + 1;
    t.m_day = fields.tm_mday;
    t.m_hour = fields.tm_hour;
    t.m_minute = fields.tm_min;
    t.m_second = fields.tm_sec;
    t.m_dayOfWeek = fields.tm_wday;
    return t;
}

CalendarTime CalendarTime::FromFields(int year, int month, int day, int hour, int minute, int second)
{
    struct tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    time_t raw = mktime(&fields);
    return FromUnixSeconds(static_cast<int64_t>(raw));
}

} // namespace platform
