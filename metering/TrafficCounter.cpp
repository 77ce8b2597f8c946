#include "metering/TrafficCounter.h"

#include "metering/TrafficText.h"
#include "platform/text/Format.h"
#include "settings/Settings.h"

TrafficCounter::TrafficCounter()
    : m_resetTime(platform::CalendarTime::Now())
{
}

TrafficCounter::TrafficCounter(ULONG64 rawUp, ULONG64 rawDown)
    : m_lastRawUp(rawUp)
    , m_lastRawDown(rawDown)
    , m_resetTime(platform::CalendarTime::Now())
{
}

void TrafficCounter::Accumulate(ULONG64 rawUp, ULONG64 rawDown)
{
    // 64-bit counters do not wrap in any lifetime: one below its last value belongs to an
    // adapter made anew, and counting starts from the new value.
    if (rawUp < m_lastRawUp)
        m_lastRawUp = rawUp;
    if (rawDown < m_lastRawDown)
        m_lastRawDown = rawDown;
    m_upTotal += rawUp - m_lastRawUp;
    m_downTotal += rawDown - m_lastRawDown;
    m_lastRawUp = rawUp;
    m_lastRawDown = rawDown;
}

void TrafficCounter::Reset()
{
    m_upTotal = 0;
    m_downTotal = 0;
    m_resetTime = platform::CalendarTime::Now();
    m_alerted = FALSE;
}

void TrafficCounter::AddTraffic(uint64_t up, uint64_t down)
{
    m_upTotal += up;
    m_downTotal += down;
}

BOOL TrafficCounter::CheckThreshold(DWORD thresholdMb, DWORD type, BOOL resetAfter)
{
    if (m_alerted)
        return FALSE;
    ULONG64 total = 0;
    switch (type) {
    case kMeterNotifyUpload:
        total = UploadTotal();
        break;
    case kMeterNotifyDownload:
        total = DownloadTotal();
        break;
    case kMeterNotifyBoth:
        total = CombinedTotal();
        break;
    default:
        return FALSE;
    }
    const ULONG64 limitBytes = static_cast<ULONG64>(thresholdMb) << 20;
    if (limitBytes >= total)
        return FALSE;
    m_alerted = TRUE;
    if (resetAfter)
        Reset();
    return TRUE;
}

std::wstring TrafficCounter::FormatResetTime() const
{
    const platform::CalendarTime& t = m_resetTime;
    return Fmt(L"%d/%d/%d\n%02d:%02d:%02d", t.Month(), t.Day(), t.Year(), t.Hour(), t.Minute(), t.Second());
}

std::wstring TrafficCounter::FormatUpload() const
{
    return FormatBytes(UploadTotal(), ByteTextMode::Decimal);
}

std::wstring TrafficCounter::FormatDownload() const
{
    return FormatBytes(DownloadTotal(), ByteTextMode::Decimal);
}

std::wstring TrafficCounter::FormatTotal() const
{
    return FormatBytes(CombinedTotal(), ByteTextMode::Decimal);
}
