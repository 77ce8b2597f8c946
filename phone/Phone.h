// The phone edition: finds the cellular TAPI line and keeps it open, loads the radio interface
// library at run time, and answers the status lines' questions about the voice network
// (registration, operator, signal strength) and the open dial-up connections.
#pragma once

#include <string>

#include "platform/module/ModuleLoader.h"
#include "platform/phone/Ril.h"
#include "platform/phone/Tapi.h"

// Registration state codes.
constexpr DWORD kRegistrationNone = 444;       // unknown, denied, not registered, or out of range
constexpr DWORD kRegistrationAttempting = 445;
constexpr DWORD kRegistrationRegistered = 446; // home, roaming, digital or analog
constexpr DWORD kRegistrationFailed = 447;     // the query failed

constexpr DWORD kNoLineIndex = 0xFFFFFFFFu; // -1

// The code for a registration query's result and status.
DWORD RegistrationStateFromStatus(LONG result, DWORD status);
// "Good (62%)" and the like from the last strength (the radio's dBm plus 256).
std::wstring SignalStrengthText(DWORD strength);

class Phone {
public:
    // Not initialised; the radio's last answer is forgotten (strength 0).
    Phone();
    // Closes what InitPhone opened.
    ~Phone();
    Phone(const Phone&) = delete;
    Phone& operator=(const Phone&) = delete;

    // 1 when phone edition is enabled, else 0.
    DWORD InitPhone(HINSTANCE instance);
    DWORD OpenCellularLine();
    DWORD QueryRegistration();
    std::wstring OperatorName();
    std::wstring SignalText();
    DWORD IsUsbRasConnected();
    std::wstring CurrentRasEntryName();

    DWORD PhoneEditionEnabled() const { return m_dwPhoneEditionEnabled; }
    DWORD RegistrationState() const { return m_dwRegistrationState; }
    DWORD LineIndex() const { return m_dwLineIndex; }
    DWORD RadioAvailable() const { return m_dwRadioAvailable; }

private:
    bool OpenLine(DWORD device);

    HLINEAPP m_hLineApp = 0;
    HLINE m_hLine = 0;
    DWORD m_dwNumDevs = 0;
    DWORD m_dwLineIndex = kNoLineIndex;
    DWORD m_dwPhoneEditionEnabled = 0;
    DWORD m_dwRegistrationState = kRegistrationNone;
    DWORD m_dwRadioAvailable = 0;
    HMODULE m_hRilModule = nullptr;
    PFN_RIL_Initialize m_pfnRilInitialize = nullptr;
    PFN_RIL_Deinitialize m_pfnRilDeinitialize = nullptr;
    PFN_RIL_GetSignalQuality m_pfnRilGetSignalQuality = nullptr;
    // Not in the device's object: which of the above are live, so that nothing unset is used.
    bool m_bTapiInitialized = false;
    bool m_bLineOpen = false;
    bool m_bRadioInitialized = false;
};
