// The machine's telephony. Without a configured modem there is none: lineInitialize fails with
// LINEERR_NODRIVER and the phone edition stays off. With one (the serial command port of a
// cellular modem, from VELMORA_MODEM, e.g. /dev/ttyUSB2) it offers two line devices, device 0
// the radio's (the system never tries the last device), registration from AT+CREG?, the
// operator's long and short names from AT+COPS?, and the radio library "ril.dll" whose signal
// queries run AT+CSQ on a thread of their own and answer through the result callback.
// The open dial-up connections are the machine's PPP links that are up, by their Linux names.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/phone/PhoneBackend.h"
#include "platform/phone/Ril.h"
#include "platform/phone/linux/AtModem.h"

namespace platform {

class LinuxPhoneBackend final : public PhoneBackend {
public:
    // The modem named by VELMORA_MODEM, if any.
    LinuxPhoneBackend();
    // The modem at this serial device; none when empty.
    explicit LinuxPhoneBackend(std::string modemDevice);
    ~LinuxPhoneBackend() override;

    LONG Initialize(DWORD& deviceCount) override;
    LONG OpenLine(DWORD device) override;
    LONG LineKind(DWORD device, DWORD& kind) override;
    LONG RegisterStatus(DWORD device, DWORD& status) override;
    LONG CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName) override;
    DWORD RasConnections(std::vector<std::wstring>& entryNames) override;

    HRESULT RilInitialize(RILRESULTCALLBACK result, DWORD param, HRIL* handle);
    HRESULT RilDeinitialize(HRIL handle);
    HRESULT RilGetSignalQuality(HRIL handle);

private:
    void AnswerSignalQueries();

    std::string m_modemDevice;
    linuxphone::AtModem m_modem;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<HRESULT> m_queries;
    RILRESULTCALLBACK m_resultCallback = nullptr;
    DWORD m_callbackParam = 0;
    HRIL m_radioHandle = nullptr;
    HRESULT m_nextCommand = 1;
    bool m_stopping = false;
    std::thread m_radioThread;
};

} // namespace platform
