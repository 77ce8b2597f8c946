// The rows of the usage report's table: one per hour, day or month of the period, with the
// slot label as the table writes it and the sent and received byte counts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"
#include "usage/UsageTable.h"

struct UsageReportRow {
    int slot = 0; // hour 0 to 23, or day or month - 1
    std::wstring label;
    ULONG64 sent = 0;
    ULONG64 received = 0;
    ULONG64 Total() const { return sent + received; }
};

// The names the labels need, as GetDateFormatW gives them for "ddd" and "MMMM".
struct UsageCalendarNames {
    std::function<std::wstring(const platform::CalendarTime&)> weekdayShort;
    std::function<std::wstring(const platform::CalendarTime&)> monthLong;
};

// Slots of the period: 24 hours, the days of the date's month, or 12 months.
int UsageSlotCount(DWORD interval, const platform::CalendarTime& date);

// Every slot when showZeros is set, otherwise only slots that carried traffic.
std::vector<UsageReportRow> UsageReportRows(const UsageTable& table, DWORD interval, const platform::CalendarTime& date,
    bool showZeros, const UsageCalendarNames& names);

// "12-1 AM" for hour 0, "2-3 PM" for hour 14; hours 11 and 23 both read "11-12 PM".
std::wstring HourSlotLabel(int hour);

// A table cell: the count in whole units ("1 KB"), or "-" for nothing.
std::wstring UsageCellText(ULONG64 bytes);
