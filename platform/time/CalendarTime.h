// A point in local calendar time with one-second resolution: break-down into fields,
// construction from fields, second arithmetic and comparison. Local time is the process's
// time zone (TZ), as on the device its configured zone.
#pragma once

#include <compare>
#include <cstdint>

namespace platform {

class CalendarTime {
public:
    // 1 January 1970 00:00:00 UTC.
    CalendarTime() = default;

    // Now, by the platform clock.
    static CalendarTime Now();
    static CalendarTime FromUnixSeconds(int64_t seconds);
    // Local time from fields; out-of-range fields carry over as the C library's mktime does
    // (day 0 is the last day of the previous month, hour 24 the next day). A time that falls
    // in a daylight-saving gap is moved forward by the gap.
    static CalendarTime FromFields(int year, int month, int day, int hour, int minute, int second);

    int64_t UnixSeconds() const { return m_unix; }
    int Year() const { return m_year; }
    int Month() const { return m_month; }   // 1 to 12
    int Day() const { return m_day; }       // 1 to 31
    int Hour() const { return m_hour; }     // 0 to 23
    int Minute() const { return m_minute; }
    int Second() const { return m_second; }
    int DayOfWeek() const { return m_dayOfWeek; } // 0 Sunday to 6 Saturday

    CalendarTime operator+(int64_t seconds) const { return FromUnixSeconds(m_unix + seconds); }
    CalendarTime operator-(int64_t seconds) const { return FromUnixSeconds(m_unix - seconds); }
    CalendarTime& operator+=(int64_t seconds) { return *this = *this + seconds; }
    CalendarTime& operator-=(int64_t seconds) { return *this = *this - seconds; }
    // Whole seconds from other to this.
    int64_t operator-(const CalendarTime& other) const { return m_unix - other.m_unix; }

    bool operator==(const CalendarTime& other) const { return m_unix == other.m_unix; }
    std::strong_ordering operator<=>(const CalendarTime& other) const { return m_unix <=> other.m_unix; }

private:
    int64_t m_unix = 0;
    int m_year = 1970;
    int m_month = 1;
    int m_day = 1;
    int m_hour = 0;
    int m_minute = 0;
    int m_second = 0;
    int m_dayOfWeek = 4;
};

} // namespace platform
