// The hourly usage log writer: per-interface byte totals of the current hour, appended to
// the month's file as one record line once the hour has passed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "metering/TrafficCounter.h"
#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"
#include "usage/UsageState.h"

// Why the hour's records cannot be written: the log folder and the system's error code.
struct UsageWriteFault {
    std::wstring folder;
    DWORD error = 0;
};

// "cannot write to FOLDER: REASON", as the debug console and the diagnostic report say it.
std::wstring DescribeUsageWriteFault(const UsageWriteFault& fault);

// What the logger would meet writing into folder now, found by making (and removing) a
// file there: nullopt when it could write. For a reader in another process than the
// logger's, such as a diagnostic tool.
std::optional<UsageWriteFault> ProbeUsageLogFolder(const std::wstring& folder);

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

    // ---- Traffic while the module was not running ----
    // From now on the machine's counters are kept in the state file at statePath, and the
    // state that the last run of this boot kept there is read. Until then nothing is kept.
    void KeepCounters(const std::wstring& statePath, const std::string& bootId);
    // The machine's 64-bit counters behind the interface that LogTick is given next under the
    // same name, and the machine's own index of it (0 where it has none). The first reading of
    // a name in the module's life adds the traffic since the counters kept for it
    // (UsageState::TrafficSince) to the current hour.
    void NoteMachineCounters(const std::wstring& name, uint64_t up, uint64_t down, int link = 0);
    // For the module's detach: the kept counters, then the unfinished hour's record when any
    // counter has counted (a later record of the same hour adds to it). FALSE when the record
    // could not be written; its traffic is then lost, never counted twice.
    BOOL WriteUnfinishedHour(const std::wstring& folder, BOOL capEnabled, DWORD capLimitKb);

    // Set from a record that could not be written to the next one that is. The first
    // failure of each such spell is reported on the debug console, not every tick that tries
    // again: the device runs unattended for days.
    const std::optional<UsageWriteFault>& WriteFault() const { return m_writeFault; }

    // The counters in slot order (at most SlotCount).
    const std::vector<TrafficCounter>& Counters() const { return m_counters; }
    platform::CalendarTime HourStart() const { return m_hourStart; }
    platform::CalendarTime HourEnd() const { return m_hourEnd; }

private:
    // Appends one record to the month file; TRUE when all of it is there.
    BOOL AppendRecord(const std::wstring& path, const std::wstring& record);
    // Writes the state file before a record that holds the traffic up to the counters in it:
    // a stop between the two loses that traffic at worst, and never counts it twice. A state
    // that cannot be written is deleted, so that nothing is counted from its old counters.
    void SaveKeptCounters();
    // Adds what the first reading of the counter's name found since the last run.
    void AddTrafficSinceLastRun(TrafficCounter& counter);
    // Keeps a write's outcome in m_writeFault, reporting the start of a spell of failures.
    void NoteWrite(const std::wstring& folder, BOOL written, DWORD error);

    platform::CalendarTime m_hourStart;
    platform::CalendarTime m_hourEnd;
    std::vector<TrafficCounter> m_counters;
    // After a write that failed part way and could not be undone: the file and the length
    // its complete records end at, cut back to before the next try.
    std::wstring m_damagedPath;
    std::optional<DWORD> m_damagedLength;
    std::optional<UsageWriteFault> m_writeFault;

    // Counting across runs (empty path: not kept).
    std::wstring m_statePath;
    std::string m_bootId;
    UsageState m_lastRun;
    // The machine's counters by logging name as last noted, and the traffic since the last
    // run of names not given a slot yet.
    std::map<std::wstring, UsageCounters> m_machineCounters;
    std::map<std::wstring, UsageCounters> m_sinceLastRun;
};
