// The machine's telephony: none (no modem support yet), and its PPP links that are up as the
// open dial-up connections, named by their Linux interface names.
#pragma once

#include "platform/phone/PhoneBackend.h"

namespace platform {

class LinuxPhoneBackend final : public PhoneBackend {
public:
    LONG Initialize(DWORD& deviceCount) override;
    LONG OpenLine(DWORD device) override;
    LONG LineKind(DWORD device, DWORD& kind) override;
    LONG RegisterStatus(DWORD device, DWORD& status) override;
    LONG CurrentOperator(DWORD device, std::wstring& longName, std::wstring& shortName) override;
    DWORD RasConnections(std::vector<std::wstring>& entryNames) override;
};

} // namespace platform
