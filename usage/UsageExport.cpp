#include "usage/UsageExport.h"

#include <vector>

#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageReader.h"

namespace {

constexpr size_t kFlushBytes = 1 << 16;

// The open export file with its pending text; the text goes out in large pieces, to the
// file or, for a caller that writes the file itself, to a text.
class ExportFile {
public:
    explicit ExportFile(HANDLE file)
        : m_file(file)
    {
    }
    explicit ExportFile(std::string& text)
        : m_text(&text)
    {
    }
    ~ExportFile() { Close(); }
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    void Append(const std::string& text)
    {
        m_pending += text;
        if (m_pending.size() >= kFlushBytes)
            Flush();
    }
    template <typename... Numbers>
    void AppendNumbers(Numbers... numbers)
    {
        // Each as its true value: a spreadsheet reads a negative count as a negative amount.
        ((m_pending += std::to_string(numbers), m_pending += ','), ...);
        if (m_pending.size() >= kFlushBytes)
            Flush();
    }
    bool Flush()
    {
        if (m_text != nullptr) {
            *m_text += m_pending;
        } else if (!m_pending.empty() && m_ok) {
            DWORD written = 0;
            m_ok = WriteFile(m_file, m_pending.data(), static_cast<DWORD>(m_pending.size()), &written, nullptr)
                && written == m_pending.size();
            if (!m_ok)
                m_error = GetLastError() != NO_ERROR ? GetLastError() : ERROR_WRITE_FAULT;
        }
        m_pending.clear();
        return m_ok;
    }
    // Writes what is pending and closes; false, with the write's error as the last error,
    // when any of the text could not be written.
    bool Close()
    {
        Flush();
        if (m_file == INVALID_HANDLE_VALUE)
            return m_ok;
        // On the disk before it takes the old file's place, as every replaced file is.
        if (m_ok && !FlushFileBuffers(m_file)) {
            m_ok = false;
            m_error = GetLastError();
        }
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        if (!m_ok)
            SetLastError(m_error);
        return m_ok;
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::string* m_text = nullptr;
    std::string m_pending;
    bool m_ok = true;
    DWORD m_error = NO_ERROR;
};

// 0 for a code that is no export interval.
DWORD ReaderInterval(DWORD exportInterval)
{
    switch (exportInterval) {
    case ExportMonthly:
        return IntervalMonthly;
    case ExportDaily:
        return IntervalDaily;
    case ExportHourly:
        return IntervalHourly;
    default:
        return 0;
    }
}

} // namespace

std::string ExportText(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text)
        out.push_back(static_cast<uint32_t>(ch) <= 0xFF ? static_cast<char>(static_cast<unsigned char>(ch)) : '?');
    return out;
}

std::string CsvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    quoted += '"';
    return quoted;
}

BOOL ExportUsage(const UsageLogger& logger, const platform::CalendarTime& start, const platform::CalendarTime& end,
    DWORD exportInterval, const std::wstring& path, const std::wstring& folder, const UsageDisplayName& displayName)
{
    MonthFileCache cache;
    return ExportUsage(logger, start, end, exportInterval, path, folder, displayName, cache);
}

BOOL ExportUsage(const UsageLogger& logger, const platform::CalendarTime& start, const platform::CalendarTime& end,
    DWORD exportInterval, const std::wstring& path, const std::wstring& folder, const UsageDisplayName& displayName,
    MonthSource& source)
{
    return ExportUsageFile(logger, start, end, exportInterval, path, folder, displayName, source) == ExportOutcome::Written;
}

namespace {

// The header and the rows; NoInterfaces before anything is appended.
ExportOutcome AppendExport(ExportFile& file, const UsageLogger& logger, const platform::CalendarTime& start,
    const platform::CalendarTime& end, DWORD interval, const std::wstring& folder, const UsageDisplayName& displayName,
    MonthSource& source)
{
    NameList names;
    CollectNames(folder, start, end, names, source);
    if (names.empty())
        return ExportOutcome::NoInterfaces;

    switch (interval) {
    case IntervalMonthly:
        file.Append("Year,Month,");
        break;
    case IntervalDaily:
        file.Append("Year,Month,Day,");
        break;
    default:
        file.Append("Year,Month,Day,Hour,");
        break;
    }
    for (const std::wstring& name : names) {
        std::wstring shown = displayName ? displayName(name) : std::wstring();
        std::string text = ExportText(shown.empty() ? name : shown);
        // The received column's heading starts with a space, which a quoted field keeps
        // inside its quotes.
        file.Append(CsvField(text + "-Tx Bytes") + "," + CsvField(" " + text + "-Rx Bytes") + ",");
    }
    file.Append("\r\n");

    // The totals of one step, for every interface at once.
    std::vector<UsageTable> tables(names.size());
    platform::CalendarTime t = start;
    int dayStep = 0;
    while (t <= end) {
        for (size_t i = 0; i < names.size(); ++i)
            tables[i] = UsageTotals(logger, interval, t, names[i], folder, source);

        if (interval == IntervalMonthly) {
            int lastMonth = t.Year() == end.Year() ? end.Month() : 12;
            for (int m = t.Month(); m <= lastMonth; ++m) {
                file.AppendNumbers(t.Year(), m);
                for (const UsageTable& table : tables)
                    file.AppendNumbers(table[m], table[UsageTableReceived + m]);
                file.Append("\r\n");
            }
            t = platform::CalendarTime::FromFields(t.Year() + 1, 1, 1, 0, 0, 0);
        } else if (interval == IntervalDaily) {
            bool lastMonth = t.Year() == end.Year() && t.Month() == end.Month();
            int lastDay = lastMonth ? end.Day() : static_cast<int>(DaysInMonth(t.Month(), t.Year()));
            for (int d = t.Day(); d <= lastDay; ++d) {
                file.AppendNumbers(t.Year(), t.Month(), d);
                for (const UsageTable& table : tables)
                    file.AppendNumbers(table[d], table[UsageTableReceived + d]);
                file.Append("\r\n");
            }
            t = platform::CalendarTime::FromFields(t.Year(), t.Month() + 1, 1, 0, 0, 0);
        } else {
            for (int h = 0; h < 24; ++h) {
                file.AppendNumbers(t.Year(), t.Month(), t.Day(), h);
                for (const UsageTable& table : tables)
                    file.AppendNumbers(table[h + 1], table[UsageTableReceived + 1 + h]);
                file.Append("\r\n");
            }
            // The next calendar day at the start's time of day. Adding 86400 seconds would
            // list a day twice when it has 25 hours and skip one after a 23-hour day.
            ++dayStep;
            t = platform::CalendarTime::FromFields(start.Year(), start.Month(), start.Day() + dayStep, start.Hour(),
                start.Minute(), start.Second());
        }
    }
    return ExportOutcome::Written;
}

} // namespace

ExportOutcome ExportUsageFile(const UsageLogger& logger, const platform::CalendarTime& start,
    const platform::CalendarTime& end, DWORD exportInterval, const std::wstring& path, const std::wstring& folder,
    const UsageDisplayName& displayName, MonthSource& source)
{
    const DWORD interval = ReaderInterval(exportInterval);
    if (interval == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ExportOutcome::BadInterval;
    }
    // Written beside the target and moved over it once whole: a full card or a pulled card
    // leaves the export made before, never half of a new one.
    const std::wstring written = platform::TemporaryDeviceFileFor(path);
    HANDLE handle = CreateFileW(written.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ExportOutcome::CannotCreate;
    ExportOutcome outcome;
    DWORD error = NO_ERROR;
    {
        ExportFile file(handle);
        outcome = AppendExport(file, logger, start, end, interval, folder, displayName, source);
        if (!file.Close()) {
            outcome = ExportOutcome::WriteFailed;
            error = GetLastError();
        }
    }
    if (outcome != ExportOutcome::WriteFailed && !MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        outcome = ExportOutcome::CannotCreate;
        error = GetLastError();
    }
    if (error != NO_ERROR) {
        DeleteFileW(written.c_str());
        SetLastError(error);
    }
    return outcome;
}

ExportOutcome ExportUsageText(const UsageLogger& logger, const platform::CalendarTime& start,
    const platform::CalendarTime& end, DWORD exportInterval, const std::wstring& folder,
    const UsageDisplayName& displayName, MonthSource& source, std::string& text)
{
    text.clear();
    const DWORD interval = ReaderInterval(exportInterval);
    if (interval == 0)
        return ExportOutcome::BadInterval;
    ExportFile file(text);
    ExportOutcome outcome = AppendExport(file, logger, start, end, interval, folder, displayName, source);
    file.Close();
    return outcome;
}
