#include "platform/phone/linux/LinuxPhoneBackend.h"

#include <atomic>
#include <cstdlib>

#include "platform/module/ModuleLoader.h"
#include "platform/net/NetBackend.h"
#include "platform/phone/Tapi.h"
#include "platform/text/WideString.h"

namespace platform {

namespace {

constexpr DWORD kLineDevices = 2;
constexpr DWORD kRadioLine = 0;

std::atomic<LinuxPhoneBackend*> g_radioBackend { nullptr };

HRESULT ExportInitialize(DWORD, RILRESULTCALLBACK result, RILNOTIFYCALLBACK, DWORD, DWORD param, HRIL* handle)
{
    LinuxPhoneBackend* backend = g_radioBackend.load();
    return backend != nullptr ? backend->RilInitialize(result, param, handle) : RIL_E_FAIL;
}

HRESULT ExportDeinitialize(HRIL handle)
{
    LinuxPhoneBackend* backend = g_radioBackend.load();
    return backend != nullptr ? backend->RilDeinitialize(handle) : RIL_E_FAIL;
}

HRESULT ExportGetSignalQuality(HRIL handle)
{
    LinuxPhoneBackend* backend = g_radioBackend.load();
    return backend != nullptr ? backend->RilGetSignalQuality(handle) : RIL_E_FAIL;
}

std::string ConfiguredModem()
{
    const char* device = std::getenv("VELMORA_MODEM");
    return device != nullptr ? std::string(device) : std::string();
}

} // namespace

LinuxPhoneBackend::LinuxPhoneBackend()
    : LinuxPhoneBackend(ConfiguredModem())
{
}

LinuxPhoneBackend::LinuxPhoneBackend(std::string modemDevice)
    : m_modemDevice(std::move(modemDevice))
{
}

LinuxPhoneBackend::~LinuxPhoneBackend()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_radioThread.joinable())
        m_radioThread.join();
    LinuxPhoneBackend* self = this;
    if (g_radioBackend.compare_exchange_strong(self, nullptr))
        UnregisterPlatformModule(kRadioLibrary);
}

LONG LinuxPhoneBackend::Initialize(DWORD& deviceCount)
{
    deviceCount = 0;
    if (m_modemDevice.empty())
        return LINEERR_NODRIVER;
    if (!m_modem.IsOpen() && !m_modem.Open(m_modemDevice))
        return LINEERR_NODRIVER;
    deviceCount = kLineDevices;
    if (g_radioBackend.load() != this) {
        g_radioBackend.store(this);
        RegisterPlatformModule(kRadioLibrary,
            {
                { L"RIL_Initialize", 0, reinterpret_cast<FARPROC>(&ExportInitialize) },
                { L"RIL_Deinitialize", 0, reinterpret_cast<FARPROC>(&ExportDeinitialize) },
                { L"RIL_GetSignalQuality", 0, reinterpret_cast<FARPROC>(&ExportGetSignalQuality) },
            });
    }
    return 0;
}

LONG LinuxPhoneBackend::OpenLine(DWORD device)
{
    if (!m_modem.IsOpen())
        return LINEERR_NODEVICE;
    return device < kLineDevices ? 0 : LINEERR_BADDEVICEID;
}

LONG LinuxPhoneBackend::LineKind(DWORD device, DWORD& kind)
{
    if (!m_modem.IsOpen())
        return LINEERR_NODEVICE;
    kind = device == kRadioLine ? static_cast<DWORD>(LINECELLULAR_RADIO_LINE) : 0u;
    return 0;
}

LONG LinuxPhoneBackend::RegisterStatus(DWORD device, DWORD& status)
{
    if (!m_modem.IsOpen() || device != kRadioLine)
        return LINEERR_NODEVICE;
    auto answer = m_modem.Command("AT+CREG?");
    std::optional<unsigned> registration = answer ? linuxphone::ParseRegistration(*answer) : std::nullopt;
    if (!registration)
        return LINEERR_OPERATIONFAILED;
    status = *registration;
    return 0;
}

LONG LinuxPhoneBackend::CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName)
{
    if (!m_modem.IsOpen() || device != kRadioLine)
        return LINEERR_NODEVICE;
    // +COPS? answers in the format last chosen: long alphanumeric (0), then short (1).
    auto nameIn = [this](const char* format) -> std::wstring {
        if (!m_modem.Command(std::string("AT+COPS=3,") + format))
            return {};
        auto answer = m_modem.Command("AT+COPS?");
        std::optional<std::string> name = answer ? linuxphone::ParseOperatorName(*answer) : std::nullopt;
        return name ? Utf8ToWide(*name) : std::wstring();
    };
    longName = nameIn("0");
    shortName = nameIn("1");
    return 0;
}

DWORD LinuxPhoneBackend::RasConnections(std::vector<std::wstring>& entryNames)
{
    entryNames.clear();
    NetSnapshot snapshot;
    if (DWORD result = CurrentNetBackend().Query(kNetLinks, snapshot); result != NO_ERROR)
        return result;
    for (const NetInterface& entry : snapshot.interfaces)
        if (entry.isPointToPoint && entry.isUp)
            entryNames.push_back(Utf8ToWide(entry.systemName));
    return NO_ERROR;
}

HRESULT LinuxPhoneBackend::RilInitialize(RILRESULTCALLBACK result, DWORD param, HRIL* handle)
{
    if (handle == nullptr || !m_modem.IsOpen())
        return RIL_E_FAIL;
    std::lock_guard lock(m_mutex);
    m_resultCallback = result;
    m_callbackParam = param;
    m_radioHandle = reinterpret_cast<HRIL>(static_cast<uintptr_t>(0x3110000));
    *handle = m_radioHandle;
    if (!m_radioThread.joinable())
        m_radioThread = std::thread([this] { AnswerSignalQueries(); });
    return 0;
}

HRESULT LinuxPhoneBackend::RilDeinitialize(HRIL handle)
{
    std::lock_guard lock(m_mutex);
    if (handle == nullptr || handle != m_radioHandle)
        return RIL_E_FAIL;
    m_radioHandle = nullptr;
    m_resultCallback = nullptr;
    m_queries.clear();
    return 0;
}

HRESULT LinuxPhoneBackend::RilGetSignalQuality(HRIL handle)
{
    std::lock_guard lock(m_mutex);
    if (handle == nullptr || handle != m_radioHandle)
        return RIL_E_FAIL;
    HRESULT command = m_nextCommand++;
    m_queries.push_back(command);
    m_wake.notify_all();
    return command;
}

void LinuxPhoneBackend::AnswerSignalQueries()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queries.empty(); });
        if (m_stopping)
            return;
        HRESULT command = m_queries.front();
        m_queries.pop_front();
        lock.unlock();
        auto answer = m_modem.Command("AT+CSQ");
        std::optional<int> dBm = answer ? linuxphone::ParseSignalDbm(*answer) : std::nullopt;
        lock.lock();
        RILRESULTCALLBACK callback = m_resultCallback;
        DWORD param = m_callbackParam;
        if (callback == nullptr)
            continue;
        lock.unlock();
        if (dBm) {
            RILSIGNALQUALITY quality {};
            quality.cbSize = sizeof(quality);
            quality.iSignalStrength = *dBm;
            callback(RIL_RESULT_OK, command, &quality, sizeof(quality), param);
        } else {
            callback(RIL_RESULT_ERROR, command, nullptr, 0, param);
        }
        lock.lock();
    }
}

} // namespace platform
