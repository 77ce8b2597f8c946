#include "platform/phone/linux/LinuxPhoneBackend.h"

#include "platform/net/NetBackend.h"
#include "platform/phone/Tapi.h"
#include "platform/text/WideString.h"

namespace platform {

LONG LinuxPhoneBackend::Initialize(DWORD& deviceCount)
{
    deviceCount = 0;
    return LINEERR_NODRIVER;
}

LONG LinuxPhoneBackend::OpenLine(DWORD)
{
    return LINEERR_NODEVICE;
}

LONG LinuxPhoneBackend::LineKind(DWORD, DWORD&)
{
    return LINEERR_NODEVICE;
}

LONG LinuxPhoneBackend::RegisterStatus(DWORD, DWORD&)
{
    return LINEERR_NODEVICE;
}

LONG LinuxPhoneBackend::CurrentOperator(DWORD, std::wstring&, std::wstring&)
{
    return LINEERR_NODEVICE;
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

} // namespace platform
