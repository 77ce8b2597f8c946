// What the telephony calls, the cellular extension and the remote access service are answered
// from. The Linux backend has no telephony (no modem support: lineInitialize fails with
// LINEERR_NODRIVER, so phone edition stays off) and reports the machine's up PPP links as the
// open dial-up connections. The simulated modem plays a script. The radio interface library is
// a platform module that a backend registers when it has a radio.
#pragma once

#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

namespace platform {

class PhoneBackend {
public:
    virtual ~PhoneBackend() = default;
    // 0 and the number of line devices, or a negative LINEERR_* code (no telephony).
    virtual LONG Initialize(DWORD& deviceCount) = 0;
    virtual LONG OpenLine(DWORD device) = 0;
    virtual LONG LineKind(DWORD device, DWORD& kind) = 0;
    virtual LONG RegisterStatus(DWORD device, DWORD& status) = 0;
    virtual LONG CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName) = 0;
    // NO_ERROR and the entry names of the open dial-up connections, or an error code.
    virtual DWORD RasConnections(std::vector<std::wstring>& entryNames) = 0;
};

PhoneBackend& CurrentPhoneBackend();
// The caller keeps an installed backend alive until it installs another one or null (Linux).
void InstallPhoneBackend(PhoneBackend* backend);

} // namespace platform
