// Running up and down byte totals since a reset time, fed from an adapter's raw 64-bit octet
// counters. The traffic meter is one of these; the usage logger keeps one per interface.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/WinTypes.h"
#include "platform/time/CalendarTime.h"

class TrafficCounter {
public:
    // Meter form: the first accumulation adds the adapter's whole counters so far.
    TrafficCounter();
    // Logger form: counting starts from the given counter values.
    TrafficCounter(ULONG64 rawUp, ULONG64 rawDown);

    // Adds the deltas since the last call; a counter that went backwards (the interface was
    // made anew) adds 0 this time.
    void Accumulate(ULONG64 rawUp, ULONG64 rawDown);
    // Totals and the alert to 0, reset time to now; the last raw values stay, so no traffic
    // falls between the old and the new totals.
    void Reset();
    // Traffic that the raw counters did not show this counter (it passed while no one was
    // counting) added to the totals.
    void AddTraffic(uint64_t up, uint64_t down);

    ULONG64 UploadTotal() const { return m_upTotal; }
    ULONG64 DownloadTotal() const { return m_downTotal; }
    ULONG64 CombinedTotal() const { return m_upTotal + m_downTotal; }

    // TRUE when the alert is to be raised now: the total that the type (a MeterNotifyType
    // code) names is strictly above the threshold (MB, 2^20 bytes each) and no alert fired
    // since the last reset.
    BOOL CheckThreshold(DWORD thresholdMb, DWORD type, BOOL resetAfter);

    // "month/day/year\nhh:mm:ss" in local time.
    std::wstring FormatResetTime() const;
    std::wstring FormatUpload() const;
    std::wstring FormatDownload() const;
    std::wstring FormatTotal() const;

    platform::CalendarTime ResetTime() const { return m_resetTime; }
    BOOL Alerted() const { return m_alerted; }
    ULONG64 LastRawUp() const { return m_lastRawUp; }
    ULONG64 LastRawDown() const { return m_lastRawDown; }

    // The logging name the usage logger files this counter under (empty for the meter).
    const std::wstring& Name() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }

private:
    ULONG64 m_upTotal = 0;
    ULONG64 m_downTotal = 0;
    ULONG64 m_lastRawUp = 0;
    ULONG64 m_lastRawDown = 0;
    platform::CalendarTime m_resetTime;
    BOOL m_alerted = FALSE;
    std::wstring m_name;
};
