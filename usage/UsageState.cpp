#include "usage/UsageState.h"

#include <charconv>
#include <cstdint>

#include "platform/files/Files.h"
#include "platform/files/WholeFile.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "usage/UsageLogFile.h"

const wchar_t* const UsageState::DefaultPath = L"\\Windows\\VelmoraCounters.dat";

namespace {

constexpr std::wstring_view kBootWord = L"boot ";
// The state never grows beyond a few lines; anything larger is not one.
constexpr DWORD kMaxStateBytes = 64 * 1024;

std::optional<uint64_t> ParseCount(std::wstring_view text)
{
    std::string digits = WideToUtf8(text);
    uint64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return value;
}

// "UP DOWN LINK NAME": the name is the rest of the line and may hold blanks.
bool ParseEntry(std::wstring_view line, std::wstring& name, UsageCounters& counters)
{
    std::optional<uint64_t> numbers[3];
    size_t start = 0;
    for (std::optional<uint64_t>& number : numbers) {
        size_t end = line.find(L' ', start);
        if (end == std::wstring_view::npos)
            return false;
        number = ParseCount(line.substr(start, end - start));
        if (!number)
            return false;
        start = end + 1;
    }
    if (start >= line.size() || *numbers[2] > INT32_MAX)
        return false;
    counters = { *numbers[0], *numbers[1], static_cast<int>(*numbers[2]) };
    name = line.substr(start);
    return true;
}

} // namespace

UsageCounters UsageState::TrafficSince(const std::string& currentBootId, const std::wstring& name, UsageCounters now) const
{
    if (bootId.empty() || bootId != currentBootId)
        return {};
    auto kept = counters.find(name);
    if (kept == counters.end() || now.link != kept->second.link || now.up < kept->second.up
        || now.down < kept->second.down)
        return {};
    return { now.up - kept->second.up, now.down - kept->second.down };
}

std::wstring UsageState::Format() const
{
    std::wstring text(kBootWord);
    text += Utf8ToWide(bootId);
    text += L"\r\n";
    for (const auto& [name, entry] : counters) {
        // A name that would break its line cannot be read back: it is not kept.
        if (name.empty() || name.find_first_of(L"\r\n") != std::wstring::npos)
            continue;
        text += std::to_wstring(entry.up) + L" " + std::to_wstring(entry.down) + L" " + std::to_wstring(entry.link) + L" "
            + name + L"\r\n";
    }
    return text;
}

std::optional<UsageState> UsageState::Parse(std::wstring_view text)
{
    std::vector<std::wstring_view> lines = SplitLines(text);
    if (lines.empty() || lines.front().substr(0, kBootWord.size()) != kBootWord)
        return std::nullopt;
    UsageState state;
    state.bootId = WideToUtf8(lines.front().substr(kBootWord.size()));
    for (size_t i = 1; i < lines.size(); ++i) {
        std::wstring name;
        UsageCounters entry;
        if (ParseEntry(lines[i], name, entry))
            state.counters[name] = entry;
    }
    return state;
}

std::optional<UsageState> UsageState::Load(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes(kMaxStateBytes, '\0');
    DWORD read = 0;
    BOOL ok = ReadFile(file, bytes.data(), kMaxStateBytes, &read, nullptr);
    CloseHandle(file);
    if (!ok || read == kMaxStateBytes)
        return std::nullopt;
    bytes.resize(read);
    return Parse(DecodeUtf16Le(bytes));
}

BOOL UsageState::Save(const std::wstring& path) const
{
    return platform::ReplaceDeviceFile(path, EncodeUtf16Le(Format()));
}
