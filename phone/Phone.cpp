#include "phone/Phone.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>

#include "platform/phone/Ras.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "settings/RegistryKey.h"
#include "settings/SettingsKeys.h"

namespace {

// Shared with the radio's result callback, which runs on the radio library's thread and only
// compares one value and stores another.
std::atomic<HRIL> g_hRil { nullptr };
std::atomic<DWORD> g_dwLastSignalCommand { 0 };
std::atomic<DWORD> g_dwLastSignalStrength { 0 };
// An answer that came back before its command identifier was stored (command << 32 | strength),
// so that a quick radio does not lose it.
std::atomic<uint64_t> g_qwEarlySignalAnswer { 0 };

constexpr DWORD kRadioPort = 1;
constexpr DWORD kRadioUserParameter = 0x55AA55AA;
constexpr DWORD kTapiLowVersion = 0x00010003;
constexpr DWORD kTapiHighVersion = 0x00020000;
constexpr DWORD kExtHighVersion = 0x00020001;
constexpr size_t kRasConnections = 20;

void LineCallback(DWORD, DWORD, DWORD_PTR, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
}

void RadioResult(DWORD dwCode, HRESULT hrCmdID, const void* lpData, DWORD cbData, DWORD)
{
    if (dwCode != RIL_RESULT_OK || lpData == nullptr || cbData < offsetof(RILSIGNALQUALITY, iMinSignalStrength))
        return;
    RILSIGNALQUALITY quality {};
    std::memcpy(&quality, lpData, std::min<size_t>(cbData, sizeof(quality)));
    DWORD strength = static_cast<DWORD>(quality.iSignalStrength + 256);
    if (static_cast<DWORD>(hrCmdID) == g_dwLastSignalCommand.load())
        g_dwLastSignalStrength.store(strength);
    else
        g_qwEarlySignalAnswer.store((static_cast<uint64_t>(static_cast<DWORD>(hrCmdID)) << 32) | strength);
}

void RadioNotify(DWORD, const void*, DWORD, DWORD)
{
}

// Up to 20 open connections; false when they cannot be listed.
bool ListConnections(RASCONN (&connections)[kRasConnections], DWORD& count)
{
    std::memset(connections, 0, sizeof(connections));
    connections[0].dwSize = sizeof(RASCONN);
    DWORD bytes = sizeof(connections);
    count = 0;
    return RasEnumConnections(connections, &bytes, &count) == 0;
}

} // namespace

DWORD RegistrationStateFromStatus(LONG result, DWORD status)
{
    if (result < 0)
        return kRegistrationFailed;
    switch (status) {
    case LINEREGSTATUS_ATTEMPTING:
        return kRegistrationAttempting;
    case LINEREGSTATUS_HOME:
    case LINEREGSTATUS_ROAM:
    case LINEREGSTATUS_DIGITAL:
    case LINEREGSTATUS_ANALOG:
        return kRegistrationRegistered;
    default:
        return kRegistrationNone;
    }
}

std::wstring SignalStrengthText(DWORD strength)
{
    const wchar_t* word = L"No signal";
    if (strength >= 128 && strength <= 160)
        word = L"Poor";
    else if (strength >= 161 && strength <= 172)
        word = L"Fair";
    else if (strength >= 173 && strength <= 186)
        word = L"Good";
    else if (strength >= 187 && strength <= 254)
        word = L"Excellent";
    int percent = 0;
    if (strength >= 128)
        percent = std::min(static_cast<int>((static_cast<double>(strength) - 128) * 1.25), 100);
    // "No signal" never carries a percentage: a phone without an answer yet says just that.
    if (strength >= 128 && strength <= 254 && percent < 100)
        return Fmt(L"%s (%d%%)", word, percent);
    return word;
}

Phone::Phone()
{
    g_dwLastSignalStrength.store(0);
    g_dwLastSignalCommand.store(0);
    g_qwEarlySignalAnswer.store(0);
}

Phone::~Phone()
{
    if (m_bLineOpen)
        lineClose(m_hLine);
    // Also when no cellular line was found: the application handle is released either way.
    if (m_bTapiInitialized)
        lineShutdown(m_hLineApp);
    if (m_bRadioInitialized && m_pfnRilDeinitialize != nullptr)
        m_pfnRilDeinitialize(g_hRil.load());
    g_hRil.store(nullptr);
    if (m_hRilModule != nullptr)
        FreeLibrary(m_hRilModule);
}

DWORD Phone::InitPhone(HINSTANCE instance)
{
    if (lineInitialize(&m_hLineApp, instance, &LineCallback, L"Velmora", &m_dwNumDevs) < 0)
        return 0;
    m_bTapiInitialized = true;
    OpenCellularLine();
    if (m_dwPhoneEditionEnabled == 0)
        return 0;
    m_hRilModule = LoadLibraryW(kRadioLibrary);
    if (m_hRilModule != nullptr) {
        m_pfnRilInitialize = reinterpret_cast<PFN_RIL_Initialize>(GetProcAddressW(m_hRilModule, L"RIL_Initialize"));
        m_pfnRilDeinitialize = reinterpret_cast<PFN_RIL_Deinitialize>(GetProcAddressW(m_hRilModule, L"RIL_Deinitialize"));
        m_pfnRilGetSignalQuality = reinterpret_cast<PFN_RIL_GetSignalQuality>(GetProcAddressW(m_hRilModule, L"RIL_GetSignalQuality"));
        if (m_pfnRilInitialize != nullptr && m_pfnRilDeinitialize != nullptr && m_pfnRilGetSignalQuality != nullptr) {
            m_dwRadioAvailable = 1;
            HRIL radio = nullptr;
            if (m_pfnRilInitialize(kRadioPort, &RadioResult, &RadioNotify, RIL_NCLASS_ALL, kRadioUserParameter, &radio) >= 0) {
                g_hRil.store(radio);
                m_bRadioInitialized = true;
            }
        }
    }
    return 1;
}

bool Phone::OpenLine(DWORD device)
{
    DWORD apiVersion = 0;
    LINEEXTENSIONID extensionId {};
    DWORD extVersion = 0;
    lineNegotiateAPIVersion(m_hLineApp, device, kTapiLowVersion, kTapiHighVersion, &apiVersion, &extensionId);
    lineNegotiateExtVersion(m_hLineApp, device, apiVersion, 0, kExtHighVersion, &extVersion);
    return lineOpen(m_hLineApp, device, &m_hLine, apiVersion, 0, 0, LINECALLPRIVILEGE_NONE, 0, nullptr) == 0;
}

DWORD Phone::OpenCellularLine()
{
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    if (key.ValueExists(L"PhoneEditionEnabled") && key.ReadDword(L"PhoneEditionEnabled", 0) != 0) {
        DWORD stored = key.ReadDword(L"PhoneEditionTAPILineIndex", kNoLineIndex);
        if (stored != kNoLineIndex) {
            // A stored line is trusted: phone edition is on even when it does not open now;
            // the queries then report failure rather than use a line that is not there.
            m_dwLineIndex = stored;
            m_bLineOpen = OpenLine(stored);
            m_dwPhoneEditionEnabled = 1;
            return m_dwPhoneEditionEnabled;
        }
    }
    // The last device is never tried.
    for (DWORD device = 0; device + 1 < m_dwNumDevs; ++device) {
        if (!OpenLine(device))
            continue;
        DWORD kind = 0;
        if (lineGetCellularLineKind(m_hLine, &kind) == 0 && kind == LINECELLULAR_RADIO_LINE) {
            m_bLineOpen = true;
            m_dwLineIndex = device;
            m_dwPhoneEditionEnabled = 1;
            break;
        }
        lineClose(m_hLine);
        m_hLine = 0;
    }
    key.WriteDword(L"PhoneEditionEnabled", m_dwPhoneEditionEnabled);
    if (m_dwPhoneEditionEnabled != 0)
        key.WriteDword(L"PhoneEditionTAPILineIndex", m_dwLineIndex);
    return m_dwPhoneEditionEnabled;
}

DWORD Phone::QueryRegistration()
{
    DWORD status = 0;
    LONG result = m_bLineOpen ? lineGetRegisterStatus(m_hLine, &status) : LINEERR_INVALLINEHANDLE;
    m_dwRegistrationState = RegistrationStateFromStatus(result, status);
    return m_dwRegistrationState;
}

std::wstring Phone::OperatorName()
{
    if (m_dwRegistrationState != kRegistrationRegistered || !m_bLineOpen)
        return {};
    LINEOPERATOR current {};
    if (lineGetCurrentOperator(m_hLine, &current) != 0)
        return {};
    // Each name fills its field when it has no terminator.
    std::wstring longName(current.lpszLongName, std::find(current.lpszLongName, current.lpszLongName + LINEOPERATOR_LONGNAME_LENGTH, L'\0'));
    if (!longName.empty())
        return longName;
    return std::wstring(current.lpszShortName, std::find(current.lpszShortName, current.lpszShortName + LINEOPERATOR_SHORTNAME_LENGTH, L'\0'));
}

std::wstring Phone::SignalText()
{
    if (m_dwRadioAvailable == 0)
        return {};
    if (m_bRadioInitialized) {
        // The answer to this query arrives later and counts from the next text on.
        auto command = static_cast<DWORD>(m_pfnRilGetSignalQuality(g_hRil.load()));
        g_dwLastSignalCommand.store(command);
        uint64_t early = g_qwEarlySignalAnswer.load();
        if (static_cast<DWORD>(early >> 32) == command && command != 0)
            g_dwLastSignalStrength.store(static_cast<DWORD>(early & 0xFFFFFFFFu));
    }
    return SignalStrengthText(g_dwLastSignalStrength.load());
}

DWORD Phone::IsUsbRasConnected()
{
    RASCONN connections[kRasConnections];
    DWORD count = 0;
    if (!ListConnections(connections, count) || count == 0)
        return 0;
    for (DWORD i = 0; i < count && i < kRasConnections; ++i)
        if (Contains(connections[i].szEntryName, L"USB"))
            return 1;
    return 0;
}

std::wstring Phone::CurrentRasEntryName()
{
    RASCONN connections[kRasConnections];
    DWORD count = 0;
    if (!ListConnections(connections, count) || count == 0)
        return {};
    return connections[std::min<DWORD>(count, kRasConnections) - 1].szEntryName;
}
