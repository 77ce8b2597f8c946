#include "usage/UsageReportRows.h"

#include "metering/TrafficText.h"
#include "platform/text/Format.h"
#include "usage/UsageReader.h"

int UsageSlotCount(DWORD interval, const platform::CalendarTime& date)
{
    switch (interval) {
    case IntervalHourly:
        return 24;
    case IntervalDaily:
        return static_cast<int>(DaysInMonth(static_cast<DWORD>(date.Month()), static_cast<DWORD>(date.Year())));
    default:
        return 12;
    }
}

std::wstring HourSlotLabel(int hour)
{
    int from = hour % 12;
    int to = (hour + 1) % 12;
    return Fmt(L"%d-%d %s", from == 0 ? 12 : from, to == 0 ? 12 : to, hour + 1 < 12 ? L"AM" : L"PM");
}

std::wstring UsageCellText(ULONG64 bytes)
{
    return bytes == 0 ? std::wstring(L"-") : FormatBytes(bytes, ByteTextMode::Integer);
}

std::vector<UsageReportRow> UsageReportRows(const UsageTable& table, DWORD interval, const platform::CalendarTime& date,
    bool showZeros, const UsageCalendarNames& names)
{
    std::vector<UsageReportRow> rows;
    const int slots = UsageSlotCount(interval, date);
    for (int slot = 0; slot < slots; ++slot) {
        UsageReportRow row;
        row.slot = slot;
        row.sent = table[static_cast<size_t>(slot) + 1];
        row.received = table[UsageTableReceived + 1 + static_cast<size_t>(slot)];
        if (!showZeros && row.sent == 0 && row.received == 0)
            continue;
        if (interval == IntervalHourly) {
            row.label = HourSlotLabel(slot);
        } else if (interval == IntervalDaily) {
            auto day = platform::CalendarTime::FromFields(date.Year(), date.Month(), slot + 1, 12, 0, 0);
            row.label = Fmt(L"%d (%s)", slot + 1, names.weekdayShort ? names.weekdayShort(day) : std::wstring());
        } else {
            auto month = platform::CalendarTime::FromFields(date.Year(), slot + 1, 1, 12, 0, 0);
            row.label = names.monthLong ? names.monthLong(month) : std::wstring();
        }
        rows.push_back(std::move(row));
    }
    return rows;
}
