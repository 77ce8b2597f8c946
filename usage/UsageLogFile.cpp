#include "usage/UsageLogFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

const wchar_t* const UsageFilePrefix = L"UsageData";

std::wstring MonthFileName(const std::wstring& folder, int year, int month)
{
    return Fmt(L"%s\\%s%d%02d.txt", folder, UsageFilePrefix, year, month);
}

std::wstring MonthFilePattern(const std::wstring& folder)
{
    return Fmt(L"%s\\%s*", folder, UsageFilePrefix);
}

bool ParseMonthFileName(std::wstring_view fileName, int& year, int& month)
{
    const std::wstring_view prefix = UsageFilePrefix;
    const std::wstring_view suffix = L".txt";
    if (fileName.size() < prefix.size() + suffix.size() + 5
        || WideToLower(fileName.substr(0, prefix.size())) != WideToLower(prefix)
        || WideToLower(fileName.substr(fileName.size() - suffix.size())) != suffix)
        return false;
    // The year as MonthFileName writes it (%d), then the month in two digits.
    std::wstring_view digits = fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    if (digits.size() > 8 || digits[0] == L'0')
        return false;
    int number = 0;
    for (wchar_t ch : digits) {
        if (ch < L'0' || ch > L'9')
            return false;
        number = number * 10 + (ch - L'0');
    }
    year = number / 100;
    month = number % 100;
    return month >= 1 && month <= 12;
}

std::wstring MonthFileCount(ULONG64 bytes)
{
    // Readers of files the device wrote take a negative total as its 32-bit value, so the
    // totals it could write are written as it wrote them.
    if (bytes <= 0xFFFFFFFFu)
        return Fmt(L"%d", static_cast<DWORD>(bytes));
    return std::to_wstring(bytes);
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
        AppendFmt(line, L"\t%s %s %s ", name, MonthFileCount(counter.UploadTotal()), MonthFileCount(counter.DownloadTotal()));
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
    // Read in one piece as far as the size goes, then on to the end in case it grew.
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    std::string bytes;
    if (size != INVALID_FILE_SIZE && sizeHigh == 0)
        bytes.resize(size);
    size_t have = 0;
    BOOL ok = TRUE;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(have + 65536);
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + have, static_cast<DWORD>(bytes.size() - have), &got, nullptr)) {
            ok = FALSE;
            break;
        }
        if (got == 0)
            break;
        have += got;
    }
    CloseHandle(file);
    if (!ok)
        return FALSE;
    text = DecodeUtf16Le(bytes.data(), have);
    return TRUE;
}

namespace {

std::wstring_view WithoutCarriageReturn(std::wstring_view line)
{
    if (!line.empty() && line.back() == L'\r')
        line.remove_suffix(1);
    return line;
}

bool IsHighSurrogate(uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

} // namespace

BOOL ReadMonthFileLines(const std::wstring& path, const std::function<void(std::wstring_view)>& onLine, size_t chunkBytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    chunkBytes = std::max<size_t>(chunkBytes & ~static_cast<size_t>(1), 4);
    std::string bytes(chunkBytes, '\0');
    size_t carried = 0; // bytes kept from the last piece: half a character or half a pair
    std::wstring pending;
    BOOL ok = TRUE;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + carried, static_cast<DWORD>(bytes.size() - carried), &got, nullptr)) {
            ok = FALSE;
            break;
        }
        if (got == 0)
            break;
        size_t have = carried + got;
        size_t whole = have & ~static_cast<size_t>(1);
        // A surrogate pair cut at the end of the piece is decoded with the next one.
        if (whole >= 2) {
            uint32_t last = static_cast<uint8_t>(bytes[whole - 2]) | (static_cast<uint32_t>(static_cast<uint8_t>(bytes[whole - 1])) << 8);
            if (IsHighSurrogate(last))
                whole -= 2;
        }
        // What is pending from the pieces before holds no line feed: only the new text is
        // searched, or a long line would be searched again for every piece.
        size_t searched = pending.size();
        pending += DecodeUtf16Le(bytes.data(), whole);
        carried = have - whole;
        std::memmove(bytes.data(), bytes.data() + whole, carried);

        size_t start = 0;
        for (size_t end = pending.find(L'\n', searched); end != std::wstring::npos; end = pending.find(L'\n', start)) {
            onLine(WithoutCarriageReturn(std::wstring_view(pending).substr(start, end - start)));
            start = end + 1;
        }
        pending.erase(0, start);
    }
    CloseHandle(file);
    if (!ok)
        return FALSE;
    // A high surrogate left at the very end stands alone; an odd last byte is no character.
    size_t searched = pending.size();
    pending += DecodeUtf16Le(bytes.data(), carried & ~static_cast<size_t>(1));
    size_t start = 0;
    for (size_t end = pending.find(L'\n', searched); end != std::wstring::npos; end = pending.find(L'\n', start)) {
        onLine(WithoutCarriageReturn(std::wstring_view(pending).substr(start, end - start)));
        start = end + 1;
    }
    if (start < pending.size())
        onLine(WithoutCarriageReturn(std::wstring_view(pending).substr(start)));
    return TRUE;
}

BOOL ReadMonthFileUnits(const std::wstring& path, std::u16string& buffer,
    const std::function<void(std::u16string_view)>& onLine, size_t chunkBytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    chunkBytes = std::clamp<size_t>(chunkBytes, 1, 1u << 30);
    // The buffer holds haveBytes bytes: the units of the line not yet handed over from
    // lineStart on, and perhaps half a unit after them.
    size_t haveBytes = 0;
    size_t lineStart = 0;
    size_t scanned = 0; // units searched for a line feed
    auto units = [&buffer] { return std::u16string_view(buffer.data(), buffer.size()); };
    BOOL ok = TRUE;
    for (;;) {
        if (lineStart > 0) {
            haveBytes -= 2 * lineStart;
            std::memmove(buffer.data(), buffer.data() + lineStart, haveBytes);
            scanned -= lineStart;
            lineStart = 0;
        }
        size_t wanted = (haveBytes + chunkBytes + 1) / 2;
        if (buffer.size() < wanted)
            buffer.resize(wanted);
        DWORD got = 0;
        auto* bytes = reinterpret_cast<char*>(buffer.data());
        if (!ReadFile(file, bytes + haveBytes, static_cast<DWORD>(chunkBytes), &got, nullptr)) {
            ok = FALSE;
            break;
        }
        if (got == 0)
            break;
        size_t complete = haveBytes / 2; // a unit half read before is completed now
        haveBytes += got;
        size_t whole = haveBytes / 2;
        if constexpr (std::endian::native == std::endian::big) {
            for (size_t i = complete; i < whole; ++i)
                buffer[i] = static_cast<char16_t>((buffer[i] >> 8) | (buffer[i] << 8));
        }
        for (size_t end = FindLineFeed(units().substr(0, whole), scanned); end != std::u16string_view::npos;
             end = FindLineFeed(units().substr(0, whole), lineStart)) {
            std::u16string_view line = units().substr(lineStart, end - lineStart);
            if (!line.empty() && line.back() == u'\r')
                line.remove_suffix(1);
            onLine(line);
            lineStart = end + 1;
        }
        scanned = whole;
    }
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) {
        SetLastError(error);
        return FALSE;
    }
    size_t whole = haveBytes / 2;
    if (lineStart < whole) {
        std::u16string_view line = units().substr(lineStart, whole - lineStart);
        if (line.back() == u'\r')
            line.remove_suffix(1);
        onLine(line);
    }
    return TRUE;
}

size_t FindLineFeed(std::u16string_view units, size_t from)
{
    // The C library's byte search is far quicker than a loop over units: a 0x0A byte is a
    // line feed when the unit holding it is one, in either byte order.
    const auto* bytes = reinterpret_cast<const unsigned char*>(units.data());
    size_t size = units.size() * 2;
    for (size_t at = from * 2; at < size;) {
        const void* found = std::memchr(bytes + at, '\n', size - at);
        if (found == nullptr)
            break;
        size_t byte = static_cast<size_t>(static_cast<const unsigned char*>(found) - bytes);
        if (units[byte / 2] == u'\n')
            return byte / 2;
        at = byte + 1;
    }
    return std::u16string_view::npos;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        lines.push_back(WithoutCarriageReturn(text.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}
