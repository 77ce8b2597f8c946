#include "host/modes/SimulatedDevice.h"

#include <cstdio>

#include "platform/files/WholeFile.h"
#include "platform/net/NetBackend.h"
#include "platform/phone/PhoneBackend.h"
#include "platform/registry/Registry.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "platform/time/CalendarTime.h"

namespace host {

namespace {

constexpr const char* kUnknown = "unknown command";

LONG PutString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<uint8_t> data = Utf16LeWithTerminator(value);
    result = RegSetValueExW(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    return result;
}

} // namespace

std::optional<int64_t> ParseLocalTime(const std::string& text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &year, &month, &day, &separator, &hour, &minute,
            &second, &consumed)
            != 7
        || static_cast<size_t>(consumed) != text.size() || (separator != ' ' && separator != 'T'))
        return std::nullopt;
    if (year < 1970 || year > 2099 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59
        || second > 59)
        return std::nullopt;
    return platform::CalendarTime::FromFields(year, month, day, hour, minute, second).UnixSeconds();
}

std::string SimulatedDevice::CheckClockCommand(const platform::ScenarioCommand& command)
{
    if (command.verb != "clock")
        return kUnknown;
    std::string when;
    for (const std::string& arg : command.args)
        when += (when.empty() ? "" : " ") + arg;
    if (!command.options.empty() || !ParseLocalTime(when))
        return "\"clock\" takes a local time as YYYY-MM-DD HH:MM:SS";
    return {};
}

SimulatedDevice::SimulatedDevice() = default;

SimulatedDevice::~SimulatedDevice()
{
    if (!m_started)
        return;
    platform::InstallPhoneBackend(nullptr);
    platform::InstallSocketBackend(nullptr);
    platform::InstallNetBackend(nullptr);
    platform::InstallClock(nullptr);
}

std::string SimulatedDevice::Load(const std::filesystem::path& scenario)
{
    std::string text;
    if (platform::ReadWholeFile(scenario, text) != 0)
        return scenario.string() + ": cannot be read";
    return LoadText(text, scenario.string());
}

std::string SimulatedDevice::LoadText(const std::string& text, const std::string& source)
{
    platform::ScenarioParseResult parsed = platform::ParseScenario(text);
    if (!parsed.error.empty())
        return source + ":" + std::to_string(parsed.errorLine) + ": " + parsed.error;
    for (const platform::ScenarioCommand& command : parsed.commands) {
        std::string problem = CheckClockCommand(command);
        if (problem == kUnknown)
            problem = platform::SimNetwork::CheckCommand(command);
        if (problem == kUnknown)
            problem = platform::SimSockets::CheckCommand(command);
        if (problem == kUnknown)
            problem = platform::SimModem::CheckCommand(command);
        if (!problem.empty())
            return source + ":" + std::to_string(command.line) + ": " + problem;
        m_lastCommandMs = std::max(m_lastCommandMs, command.atMs);
    }
    m_commands = std::move(parsed.commands);
    return {};
}

void SimulatedDevice::Start()
{
    platform::InstallClock(&m_clock);
    platform::InstallNetBackend(&m_network);
    platform::InstallSocketBackend(&m_sockets);
    platform::InstallPhoneBackend(&m_modem);
    m_started = true;
    m_modem.SetTelephony(false);

    uint64_t now = m_clock.MonotonicMs();
    std::vector<platform::ScenarioCommand> others;
    for (const platform::ScenarioCommand& command : m_commands) {
        if (command.verb != "clock") {
            others.push_back(command);
            continue;
        }
        std::string when;
        for (const std::string& arg : command.args)
            when += (when.empty() ? "" : " ") + arg;
        m_clockChanges.push_back(ClockChange { now + static_cast<uint64_t>(command.atMs), *ParseLocalTime(when) });
    }
    // The start time first, so that what happens at the start happens at that time.
    ApplyClockChanges();
    m_network.Schedule(others);
    m_sockets.Schedule(others);
    m_modem.Schedule(others);
}

int64_t SimulatedDevice::NextClockChangeInMs() const
{
    if (m_clockChanges.empty())
        return -1;
    uint64_t now = m_clock.MonotonicMs();
    uint64_t due = m_clockChanges.front().dueMs;
    return due > now ? static_cast<int64_t>(due - now) : 0;
}

void SimulatedDevice::ApplyClockChanges()
{
    uint64_t now = m_clock.MonotonicMs();
    while (!m_clockChanges.empty() && m_clockChanges.front().dueMs <= now) {
        m_clock.SetUnixSeconds(m_clockChanges.front().unixSeconds);
        m_clockChanges.erase(m_clockChanges.begin());
    }
}

void SeedSimulatedAdapterKeys(platform::SimNetwork& network)
{
    platform::NetSnapshot snapshot;
    if (network.Query(platform::kNetLinks, snapshot) != NO_ERROR)
        return;
    for (const platform::NetInterface& entry : snapshot.interfaces) {
        const std::wstring& name = entry.name;
        if (entry.isLoopback || name.size() < 2 || name.back() != L'1' || name.find(L"ppp") != std::wstring::npos)
            continue;
        std::wstring driverKey = L"Comm\\" + name.substr(0, name.size() - 1);
        std::wstring display = Utf8ToWide(entry.description);
        PutString(HKEY_LOCAL_MACHINE, driverKey, L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, driverKey, L"ImagePath", L"sim");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + name, L"DisplayName", display);
    }
}

} // namespace host
