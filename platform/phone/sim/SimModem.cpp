#include "platform/phone/sim/SimModem.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/module/ModuleLoader.h"
#include "platform/phone/Tapi.h"
#include "platform/text/WideString.h"
#include "platform/time/Clock.h"

namespace platform {

namespace {

// The modem whose radio library is loaded; the library's exports are plain functions.
std::atomic<SimModem*> g_radioModem { nullptr };

HRESULT ExportInitialize(DWORD, RILRESULTCALLBACK result, RILNOTIFYCALLBACK notify, DWORD, DWORD param, HRIL* handle)
{
    SimModem* modem = g_radioModem.load();
    return modem != nullptr ? modem->RilInitialize(result, notify, param, handle) : RIL_E_FAIL;
}

HRESULT ExportDeinitialize(HRIL handle)
{
    SimModem* modem = g_radioModem.load();
    return modem != nullptr ? modem->RilDeinitialize(handle) : RIL_E_FAIL;
}

HRESULT ExportGetSignalQuality(HRIL handle)
{
    SimModem* modem = g_radioModem.load();
    return modem != nullptr ? modem->RilGetSignalQuality(handle) : RIL_E_FAIL;
}

constexpr DWORD kNotifySignalQuality = 0x00040004; // a radio notification the system ignores


} // namespace

SimModem::SimModem()
{
    m_answerThread = std::thread([this] { Deliver(); });
    RegisterRadio();
}

SimModem::SimModem(ScratchTag)
    : m_scratch(true)
{
}

SimModem::~SimModem()
{
    if (m_scratch)
        return;
    {
        std::lock_guard lock(m_radioMutex);
        m_stopping = true;
    }
    m_radioWake.notify_all();
    m_answerThread.join();
    SimModem* self = this;
    if (g_radioModem.compare_exchange_strong(self, nullptr))
        UnregisterPlatformModule(kRadioLibrary);
}

void SimModem::RegisterRadio()
{
    if (m_scratch)
        return;
    if (m_radio == Radio::Missing) {
        SimModem* self = this;
        if (g_radioModem.compare_exchange_strong(self, nullptr))
            UnregisterPlatformModule(kRadioLibrary);
        return;
    }
    std::vector<ModuleExport> exports = {
        { L"RIL_Initialize", 0, reinterpret_cast<FARPROC>(&ExportInitialize) },
        { L"RIL_Deinitialize", 0, reinterpret_cast<FARPROC>(&ExportDeinitialize) },
    };
    if (m_radio == Radio::Present)
        exports.push_back({ L"RIL_GetSignalQuality", 0, reinterpret_cast<FARPROC>(&ExportGetSignalQuality) });
    g_radioModem.store(this);
    RegisterPlatformModule(kRadioLibrary, std::move(exports));
}

void SimModem::SetTelephony(bool present)
{
    std::lock_guard lock(m_mutex);
    m_telephony = present;
}

void SimModem::SetLines(DWORD count, int cellularDevice)
{
    std::lock_guard lock(m_mutex);
    m_lineCount = count;
    m_cellularDevice = cellularDevice;
}

void SimModem::SetLineOpenFails(DWORD device, bool fails)
{
    std::lock_guard lock(m_mutex);
    if (fails)
        m_failingLines.insert(device);
    else
        m_failingLines.erase(device);
}

void SimModem::SetRegistration(std::optional<DWORD> status)
{
    std::lock_guard lock(m_mutex);
    m_registration = status;
}

void SimModem::SetOperator(const std::wstring& longName, const std::wstring& shortName)
{
    std::lock_guard lock(m_mutex);
    m_operatorLong = longName;
    m_operatorShort = shortName;
}

void SimModem::SetSignal(std::optional<int> dBm, DWORD answerDelayMs)
{
    std::lock_guard lock(m_mutex);
    m_signalDbm = dBm;
    m_answerDelayMs = answerDelayMs;
}

void SimModem::SetRadio(Radio radio)
{
    std::lock_guard lock(m_mutex);
    m_radio = radio;
    RegisterRadio();
}

void SimModem::SetRasEntries(std::vector<std::wstring> entryNames)
{
    std::lock_guard lock(m_mutex);
    m_rasEntries = std::move(entryNames);
}

void SimModem::SetRasFailure(DWORD error)
{
    std::lock_guard lock(m_mutex);
    m_rasFailure = error;
}

std::vector<DWORD> SimModem::OpenedDevices() const
{
    std::lock_guard lock(m_mutex);
    return m_openedDevices;
}

int SimModem::SignalQueries() const
{
    std::lock_guard lock(m_radioMutex);
    return m_signalQueries;
}

bool SimModem::RadioInitialized() const
{
    std::lock_guard lock(m_radioMutex);
    return m_radioHandle != nullptr;
}

void SimModem::WaitForAnswers()
{
    std::unique_lock lock(m_radioMutex);
    m_radioIdle.wait(lock, [this] { return (m_answers.empty() || m_holding) && !m_delivering; });
}

void SimModem::HoldAnswers()
{
    std::lock_guard lock(m_radioMutex);
    m_holding = true;
}

void SimModem::ReleaseAnswers()
{
    {
        std::lock_guard lock(m_radioMutex);
        m_holding = false;
        for (Answer& answer : m_answers)
            answer.due = std::chrono::steady_clock::now();
    }
    m_radioWake.notify_all();
    WaitForAnswers();
}

void SimModem::Deliver()
{
    std::unique_lock lock(m_radioMutex);
    while (true) {
        m_radioWake.wait(lock, [this] { return m_stopping || (!m_answers.empty() && !m_holding); });
        if (m_stopping)
            return;
        Answer answer = m_answers.front();
        if (std::chrono::steady_clock::now() < answer.due) {
            m_radioWake.wait_until(lock, answer.due, [this] { return m_stopping || m_holding; });
            continue;
        }
        m_answers.pop_front();
        RILRESULTCALLBACK result = m_resultCallback;
        RILNOTIFYCALLBACK notify = m_notifyCallback;
        DWORD param = m_callbackParam;
        bool initialized = m_radioHandle != nullptr;
        m_delivering = true;
        lock.unlock();
        if (initialized) {
            RILSIGNALQUALITY quality {};
            quality.cbSize = sizeof(quality);
            quality.iSignalStrength = answer.dBm.value_or(0);
            // The radio also tells of the change unasked; the system pays no attention.
            if (notify != nullptr && answer.dBm)
                notify(kNotifySignalQuality, &quality, sizeof(quality), param);
            if (result != nullptr) {
                if (answer.dBm)
                    result(RIL_RESULT_OK, answer.command, &quality, sizeof(quality), param);
                else
                    result(RIL_RESULT_ERROR, answer.command, nullptr, 0, param);
            }
        }
        lock.lock();
        m_delivering = false;
        if (m_answers.empty())
            m_radioIdle.notify_all();
    }
}

HRESULT SimModem::RilInitialize(RILRESULTCALLBACK result, RILNOTIFYCALLBACK notify, DWORD param, HRIL* handle)
{
    if (handle == nullptr)
        return RIL_E_FAIL;
    std::lock_guard lock(m_radioMutex);
    m_resultCallback = result;
    m_notifyCallback = notify;
    m_callbackParam = param;
    m_radioHandle = reinterpret_cast<HRIL>(static_cast<uintptr_t>(0x2110000));
    *handle = m_radioHandle;
    return 0;
}

HRESULT SimModem::RilDeinitialize(HRIL handle)
{
    std::lock_guard lock(m_radioMutex);
    if (handle == nullptr || handle != m_radioHandle)
        return RIL_E_FAIL;
    m_radioHandle = nullptr;
    m_resultCallback = nullptr;
    m_notifyCallback = nullptr;
    return 0;
}

HRESULT SimModem::RilGetSignalQuality(HRIL handle)
{
    std::optional<int> dBm;
    DWORD delayMs = 0;
    {
        std::lock_guard lock(m_mutex);
        RunDue();
        dBm = m_signalDbm;
        delayMs = m_answerDelayMs;
    }
    std::lock_guard lock(m_radioMutex);
    if (handle == nullptr || handle != m_radioHandle)
        return RIL_E_FAIL;
    HRESULT command = m_nextCommand++;
    ++m_signalQueries;
    m_answers.push_back(Answer { command, dBm, std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs) });
    m_radioWake.notify_all();
    return command;
}

LONG SimModem::Initialize(DWORD& deviceCount)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    if (!m_telephony)
        return LINEERR_NODRIVER;
    deviceCount = m_lineCount;
    return 0;
}

LONG SimModem::OpenLine(DWORD device)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    m_openedDevices.push_back(device);
    if (device >= m_lineCount)
        return LINEERR_BADDEVICEID;
    return m_failingLines.count(device) != 0 ? LINEERR_RESOURCEUNAVAIL : 0;
}

LONG SimModem::LineKind(DWORD device, DWORD& kind)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    kind = static_cast<int>(device) == m_cellularDevice ? static_cast<DWORD>(LINECELLULAR_RADIO_LINE) : 0u;
    return 0;
}

LONG SimModem::RegisterStatus(DWORD device, DWORD& status)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    if (static_cast<int>(device) != m_cellularDevice || !m_registration)
        return LINEERR_OPERATIONFAILED;
    status = *m_registration;
    return 0;
}

LONG SimModem::CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    if (static_cast<int>(device) != m_cellularDevice)
        return LINEERR_OPERATIONUNAVAIL;
    longName = m_operatorLong;
    shortName = m_operatorShort;
    return 0;
}

DWORD SimModem::RasConnections(std::vector<std::wstring>& entryNames)
{
    std::lock_guard lock(m_mutex);
    RunDue();
    if (m_rasFailure != NO_ERROR)
        return m_rasFailure;
    entryNames = m_rasEntries;
    return NO_ERROR;
}

const SimModem::Verb SimModem::kVerbs[] = {
    { "telephony", 1, 1, "\"telephony on|off\"", nullptr, &SimModem::PerformTelephony },
    { "lines", 1, 1, "\"lines N [cellular=I]\"", "cellular", &SimModem::PerformLines },
    { "lineopen", 2, 2, "\"lineopen DEVICE ok|fail\"", nullptr, &SimModem::PerformLineOpen },
    { "registration", 1, 1, "\"registration STATUS|fail\"", nullptr, &SimModem::PerformRegistration },
    { "operator", 1, 2, "\"operator LONG [SHORT]\"", nullptr, &SimModem::PerformOperator },
    { "signal", 1, 1, "\"signal DBM [delay=MS]|error\"", "delay", &SimModem::PerformSignal },
    { "radio", 1, 1, "\"radio present|missing|incomplete\"", nullptr, &SimModem::PerformRadio },
    { "ras", 1, SIZE_MAX, "\"ras NAME...|none|fail\"", "error", &SimModem::PerformRas },
};

const SimModem::Verb* SimModem::FindVerb(std::string_view name)
{
    for (const Verb& verb : kVerbs)
        if (name == verb.name)
            return &verb;
    return nullptr;
}

std::string SimModem::Usage(const ScenarioCommand& command)
{
    return FindVerb(command.verb)->usage;
}

std::string SimModem::CheckCommand(const ScenarioCommand& command)
{
    if (FindVerb(command.verb) == nullptr)
        return "unknown command";
    // The same checks as performing it, on a modem that does nothing.
    SimModem scratch { ScratchTag {} };
    return scratch.Perform(command);
}

void SimModem::Schedule(const std::vector<ScenarioCommand>& commands)
{
    std::lock_guard lock(m_mutex);
    uint64_t now = CurrentClock().MonotonicMs();
    for (const ScenarioCommand& command : commands) {
        if (FindVerb(command.verb) == nullptr)
            continue;
        uint64_t due = now + static_cast<uint64_t>(std::max<int64_t>(command.atMs, 0));
        auto position = std::upper_bound(m_pending.begin(), m_pending.end(), due,
            [](uint64_t value, const Pending& pending) { return value < pending.dueMs; });
        m_pending.insert(position, Pending { due, command });
    }
}

void SimModem::RunDue()
{
    uint64_t now = CurrentClock().MonotonicMs();
    size_t done = 0;
    while (done < m_pending.size() && m_pending[done].dueMs <= now)
        PerformLocked(m_pending[done++].command);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(done));
}

std::string SimModem::Perform(const ScenarioCommand& command)
{
    std::lock_guard lock(m_mutex);
    return PerformLocked(command);
}

std::string SimModem::PerformLocked(const ScenarioCommand& command)
{
    const Verb* verb = FindVerb(command.verb);
    if (verb == nullptr)
        return "unknown command";
    if (command.args.size() < verb->minArgs || command.args.size() > verb->maxArgs)
        return verb->usage;
    for (const auto& [option, value] : command.options)
        if (verb->option == nullptr || option != verb->option)
            return "unknown option \"" + option + "\"";
    return (this->*verb->perform)(command);
}

std::string SimModem::PerformTelephony(const ScenarioCommand& command)
{
    const std::string& word = command.args[0];
    if (word != "on" && word != "off")
        return Usage(command);
    m_telephony = word == "on";
    return {};
}

std::string SimModem::PerformLines(const ScenarioCommand& command)
{
    std::optional<DWORD> count = ParseDword(command.args[0]);
    if (!count || *count > 64)
        return Usage(command);
    int cellular = m_cellularDevice;
    if (auto text = command.Option("cellular")) {
        std::optional<int64_t> value = ParseInteger(*text);
        if (!value || *value < -1 || *value > 64)
            return "bad cellular device \"" + *text + "\"";
        cellular = static_cast<int>(*value);
    }
    m_lineCount = *count;
    m_cellularDevice = cellular;
    return {};
}

std::string SimModem::PerformLineOpen(const ScenarioCommand& command)
{
    std::optional<DWORD> device = ParseDword(command.args[0]);
    const std::string& outcome = command.args[1];
    if (!device || (outcome != "ok" && outcome != "fail"))
        return Usage(command);
    if (outcome == "fail")
        m_failingLines.insert(*device);
    else
        m_failingLines.erase(*device);
    return {};
}

std::string SimModem::PerformRegistration(const ScenarioCommand& command)
{
    if (command.args[0] == "fail") {
        m_registration.reset();
        return {};
    }
    std::optional<DWORD> status = ParseDword(command.args[0]);
    if (!status)
        return Usage(command);
    m_registration = *status;
    return {};
}

std::string SimModem::PerformOperator(const ScenarioCommand& command)
{
    m_operatorLong = Utf8ToWide(command.args[0]);
    m_operatorShort = command.args.size() == 2 ? Utf8ToWide(command.args[1]) : std::wstring();
    return {};
}

std::string SimModem::PerformSignal(const ScenarioCommand& command)
{
    const std::string& strength = command.args[0];
    std::optional<int> dBm;
    if (strength != "error") {
        std::optional<int64_t> value = ParseInteger(strength);
        if (!value || *value < -256 || *value > 256)
            return "bad signal strength \"" + strength + "\"";
        dBm = static_cast<int>(*value);
    }
    DWORD delay = 0;
    if (auto text = command.Option("delay")) {
        std::optional<DWORD> value = ParseDword(*text);
        if (!value || *value > 600000)
            return "bad delay \"" + *text + "\"";
        delay = *value;
    }
    m_signalDbm = dBm;
    m_answerDelayMs = delay;
    return {};
}

std::string SimModem::PerformRadio(const ScenarioCommand& command)
{
    const std::string& kind = command.args[0];
    if (kind == "present")
        m_radio = Radio::Present;
    else if (kind == "missing")
        m_radio = Radio::Missing;
    else if (kind == "incomplete")
        m_radio = Radio::Incomplete;
    else
        return Usage(command);
    RegisterRadio();
    return {};
}

std::string SimModem::PerformRas(const ScenarioCommand& command)
{
    const std::vector<std::string>& args = command.args;
    if (args.size() == 1 && args[0] == "none") {
        m_rasEntries.clear();
        m_rasFailure = NO_ERROR;
        return {};
    }
    if (args.size() == 1 && args[0] == "fail") {
        DWORD error = ERROR_GEN_FAILURE;
        if (auto text = command.Option("error")) {
            std::optional<DWORD> value = ParseDword(*text);
            if (!value || *value == 0)
                return "bad error code \"" + *text + "\"";
            error = *value;
        }
        m_rasFailure = error;
        return {};
    }
    m_rasEntries.clear();
    for (const std::string& name : args)
        m_rasEntries.push_back(Utf8ToWide(name));
    m_rasFailure = NO_ERROR;
    return {};
}

} // namespace platform
