#include "usage/UsageLogger.h"

#include <algorithm>

#include "platform/debug/DebugConsole.h"
#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageStorage.h"

namespace {

constexpr int64_t kHourSeconds = 3600;

// Minutes and seconds taken off, rather than the time built again from its fields: in the
// hour that repeats when daylight saving ends, the fields name two moments.
platform::CalendarTime StartOfHour(const platform::CalendarTime& t)
{
    return t - (static_cast<int64_t>(t.Minute()) * 60 + t.Second());
}

// Moves the file pointer to an absolute position (32-bit: month files stay far below 4 GB).
bool SeekTo(HANDLE file, DWORD position)
{
    LONG high = 0;
    DWORD low = SetFilePointer(file, static_cast<LONG>(position), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

// The system's own words for the errors a folder or file write meets.
const wchar_t* ErrorText(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return L"Access is denied.";
    case ERROR_FILE_NOT_FOUND:
        return L"The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
        return L"The system cannot find the path specified.";
    case ERROR_DIRECTORY:
        return L"The directory name is invalid.";
    case ERROR_DISK_FULL:
        return L"There is not enough space on the disk.";
    case ERROR_SHARING_VIOLATION:
        return L"The process cannot access the file because it is being used by another process.";
    case ERROR_WRITE_FAULT:
        return L"The system cannot write to the specified device.";
    default:
        return nullptr;
    }
}

} // namespace

std::wstring DescribeUsageWriteFault(const UsageWriteFault& fault)
{
    const wchar_t* text = ErrorText(fault.error);
    if (text != nullptr)
        return Fmt(L"cannot write to %s: %s", fault.folder, text);
    return Fmt(L"cannot write to %s: error %u", fault.folder, fault.error);
}

std::optional<UsageWriteFault> ProbeUsageLogFolder(const std::wstring& folder)
{
    DWORD attributes = GetFileAttributesW(folder.c_str());
    bool made = false;
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // The logger makes the last level of a missing folder.
        if (!CreateDirectoryW(folder.c_str(), nullptr))
            return UsageWriteFault { folder, GetLastError() };
        made = true;
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return UsageWriteFault { folder, ERROR_DIRECTORY };
    }
    std::wstring probe = folder + L"\\~velmora-write-check.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::optional<UsageWriteFault> fault;
    if (file == INVALID_HANDLE_VALUE) {
        fault = UsageWriteFault { folder, GetLastError() };
    } else {
        CloseHandle(file);
        DeleteFileW(probe.c_str());
    }
    if (made)
        RemoveDirectoryW(folder.c_str());
    return fault;
}

UsageLogger::UsageLogger()
    : m_hourStart(StartOfHour(platform::CalendarTime::Now()))
    , m_hourEnd(m_hourStart + kHourSeconds)
{
    m_counters.reserve(SlotCount);
}

BOOL UsageLogger::LogTick(const std::wstring& folder, const std::wstring& name, ULONG64 rawUp, ULONG64 rawDown,
    BOOL capEnabled, DWORD capLimitKb)
{
    std::wstring loggingName = WideToLower(name);
    TrafficCounter* counter = nullptr;
    for (TrafficCounter& slot : m_counters) {
        if (slot.Name() == loggingName) {
            counter = &slot;
            break;
        }
    }
    if (counter == nullptr && m_counters.size() < SlotCount && !loggingName.empty()) {
        // A new interface starts from its current counters: its first contribution is 0.
        // An empty name cannot be written as a record entry, so it gets no slot.
        counter = &m_counters.emplace_back(rawUp, rawDown);
        counter->SetName(loggingName);
        AddTrafficSinceLastRun(*counter);
    }
    if (counter != nullptr)
        counter->Accumulate(rawUp, rawDown);

    if (platform::CalendarTime::Now() < m_hourEnd)
        return TRUE;
    BOOL written = WriteHour(folder);
    if (capEnabled)
        ApplyStorageCap(folder, capLimitKb);
    return written;
}

BOOL UsageLogger::WriteHour(const std::wstring& folder)
{
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(folder.c_str(), nullptr);

    std::wstring path = MonthFileName(folder, m_hourStart.Year(), m_hourStart.Month());
    SaveKeptCounters();
    BOOL written = AppendRecord(path, FormatHourRecord(m_hourStart, m_counters));
    NoteWrite(folder, written, GetLastError());
    if (!written)
        return FALSE;

    m_hourStart = m_hourEnd;
    m_hourEnd = m_hourStart + kHourSeconds;
    platform::CalendarTime now = platform::CalendarTime::Now();
    if (now >= m_hourEnd) {
        // The device slept or the write was held up for more than an hour: the missed hours
        // get no record; their traffic is in the one just written.
        m_hourStart = StartOfHour(now);
        m_hourEnd = m_hourStart + kHourSeconds;
    }
    for (TrafficCounter& counter : m_counters)
        counter.Reset();
    return TRUE;
}

BOOL UsageLogger::AppendRecord(const std::wstring& path, const std::wstring& record)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;

    // A record cut short (a full disk) would leave half a line that the next record runs
    // into and the reader misreads: the file is cut back to its complete records, and the
    // record stays to be written again at the next tick.
    DWORD end = 0;
    if (m_damagedLength && m_damagedPath == path) {
        if (!SeekTo(file, *m_damagedLength) || !SetEndOfFile(file)) {
            CloseHandle(file);
            return FALSE;
        }
        end = *m_damagedLength;
        m_damagedLength.reset();
    } else {
        end = SetFilePointer(file, 0, nullptr, FILE_END);
        if (end == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
            CloseHandle(file);
            return FALSE;
        }
    }

    std::string bytes = EncodeUtf16Le(record);
    DWORD written = 0;
    BOOL complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size();
    if (!complete && written != 0) {
        if (!SeekTo(file, end) || !SetEndOfFile(file)) {
            m_damagedPath = path;
            m_damagedLength = end;
        }
    }
    CloseHandle(file);
    return complete;
}

void UsageLogger::KeepCounters(const std::wstring& statePath, const std::string& bootId)
{
    m_statePath = statePath;
    m_bootId = bootId;
    std::optional<UsageState> kept = UsageState::Load(statePath);
    m_lastRun = kept ? std::move(*kept) : UsageState {};
}

void UsageLogger::NoteMachineCounters(const std::wstring& name, uint64_t up, uint64_t down, int link)
{
    if (m_statePath.empty())
        return;
    std::wstring loggingName = WideToLower(name);
    auto slot = std::find_if(m_counters.begin(), m_counters.end(),
        [&](const TrafficCounter& counter) { return counter.Name() == loggingName; });
    // The names LogTick gives no slot are not counted, so not kept either.
    if (slot == m_counters.end() && (m_counters.size() >= SlotCount || loggingName.empty()))
        return;
    auto [noted, first] = m_machineCounters.try_emplace(loggingName);
    noted->second = { up, down, link };
    if (!first)
        return;
    UsageCounters since = m_lastRun.TrafficSince(m_bootId, loggingName, noted->second);
    if (since.up == 0 && since.down == 0)
        return;
    if (slot != m_counters.end())
        slot->AddTraffic(since.up, since.down);
    else
        m_sinceLastRun[loggingName] = since;
}

void UsageLogger::AddTrafficSinceLastRun(TrafficCounter& counter)
{
    auto since = m_sinceLastRun.find(counter.Name());
    if (since == m_sinceLastRun.end())
        return;
    counter.AddTraffic(since->second.up, since->second.down);
    m_sinceLastRun.erase(since);
}

void UsageLogger::SaveKeptCounters()
{
    if (m_statePath.empty())
        return;
    UsageState state;
    state.bootId = m_bootId;
    // Names of this boot that this run has not seen keep their counters for a later run.
    if (m_lastRun.bootId == m_bootId)
        state.counters = m_lastRun.counters;
    for (const auto& [name, counters] : m_machineCounters)
        state.counters[name] = counters;
    if (!state.Save(m_statePath))
        DeleteFileW(m_statePath.c_str());
}

BOOL UsageLogger::WriteUnfinishedHour(const std::wstring& folder, BOOL capEnabled, DWORD capLimitKb)
{
    if (m_counters.empty())
        return TRUE;
    SaveKeptCounters();
    bool counted = std::any_of(m_counters.begin(), m_counters.end(),
        [](const TrafficCounter& counter) { return counter.UploadTotal() != 0 || counter.DownloadTotal() != 0; });
    if (!counted)
        return TRUE;
    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = MonthFileName(folder, m_hourStart.Year(), m_hourStart.Month());
    BOOL written = AppendRecord(path, FormatHourRecord(m_hourStart, m_counters));
    NoteWrite(folder, written, GetLastError());
    if (written) {
        // Written once: a second call adds only what was counted after it.
        for (TrafficCounter& counter : m_counters)
            counter.Reset();
    }
    if (capEnabled)
        ApplyStorageCap(folder, capLimitKb);
    return written;
}

void UsageLogger::NoteWrite(const std::wstring& folder, BOOL written, DWORD error)
{
    if (written) {
        m_writeFault.reset();
        return;
    }
    // A record cut short by a full disk can leave no error behind.
    UsageWriteFault fault { folder, error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT };
    bool reported = m_writeFault && m_writeFault->folder == fault.folder;
    m_writeFault = fault;
    if (!reported)
        OutputDebugStringW(Fmt(L"UsageLogger: %s\n", DescribeUsageWriteFault(fault)).c_str());
}
