#include "usage/UsageLogFile.h"

#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"

const wchar_t* const UsageFilePrefix = L"UsageData";

std::wstring MonthFileName(const std::wstring& folder, int year, int month)
{
    return Fmt(L"%s\\%s%d%02d.txt", folder, UsageFilePrefix, year, month);
}

std::wstring MonthFilePattern(const std::wstring& folder)
{
    return Fmt(L"%s\\%s*", folder, UsageFilePrefix);
}

std::wstring FormatHourRecord(const platform::CalendarTime& hourStart, const std::vector<TrafficCounter>& counters)
{
    std::wstring line = Fmt(L"%d-%d-%d-%d *%d* ", hourStart.Year(), hourStart.Month(), hourStart.Day(),
        hourStart.Hour(), static_cast<DWORD>(counters.size()));
    for (const TrafficCounter& counter : counters) {
        std::wstring name = counter.Name();
        for (wchar_t& ch : name) {
            if (ch == L' ')
                ch = L'+';
        }
        AppendFmt(line, L"\t%s %d %d ", name, counter.UploadTotal(), counter.DownloadTotal());
    }
    line += L"\r\n";
    return line;
}

BOOL ReadMonthFileText(const std::wstring& path, std::wstring& text)
{
    text.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    std::string bytes;
    char buffer[65536];
    BOOL ok = TRUE;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = FALSE;
            break;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok)
        return FALSE;
    text = DecodeUtf16Le(bytes);
    return TRUE;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
