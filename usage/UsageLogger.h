// The hourly usage log writer: per-interface byte totals of the current hour, appended to
// the month's file as one record line once the hour has passed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "metering/TrafficCounter.h"
#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

class UsageLogger {
public:
    // Interfaces logged in one module lifetime. Names seen after the slots are full are not
    // counted: the files keep one column per slot, in order, for the module's whole life.
    static constexpr size_t SlotCount = 20;

    // Counting starts at the beginning of the current hour.
    UsageLogger();

    // One interface's counters at one tick. Writes the hour's record (and applies the
    // storage cap when it is on) once the hour has passed. 1, or WriteHour's result when it
    // ran.
    BOOL LogTick(const std::wstring& folder, const std::wstring& name, ULONG64 rawUp, ULONG64 rawDown,
        BOOL capEnabled, DWORD capLimitKb);

    // Appends the hour's record to its month file and starts the next hour. FALSE, with
    // nothing changed, when the record could not be written; the next tick tries again and
    // the record then covers the longer period.
    BOOL WriteHour(const std::wstring& folder);

    // The counters in slot order (at most SlotCount).
    const std::vector<TrafficCounter>& Counters() const { return m_counters; }
    platform::CalendarTime HourStart() const { return m_hourStart; }
    platform::CalendarTime HourEnd() const { return m_hourEnd; }

private:
    // Appends one record to the month file; TRUE when all of it is there.
    BOOL AppendRecord(const std::wstring& path, const std::wstring& record);

    platform::CalendarTime m_hourStart;
    platform::CalendarTime m_hourEnd;
    std::vector<TrafficCounter> m_counters;
    // After a write that failed part way and could not be undone: the file and the length
    // its complete records end at, cut back to before the next try.
    std::wstring m_damagedPath;
    std::optional<DWORD> m_damagedLength;
};
