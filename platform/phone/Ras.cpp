#include "platform/phone/Ras.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/phone/PhoneBackend.h"

DWORD RasEnumConnections(LPRASCONN lprasconn, LPDWORD lpcb, LPDWORD lpcConnections)
{
    if (lpcb == nullptr || lpcConnections == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (lprasconn == nullptr || lprasconn->dwSize != sizeof(RASCONN))
        return ERROR_INVALID_SIZE;
    std::vector<std::wstring> names;
    if (DWORD result = platform::CurrentPhoneBackend().RasConnections(names); result != NO_ERROR)
        return result;
    DWORD needed = static_cast<DWORD>(names.size() * sizeof(RASCONN));
    if (*lpcb < needed) {
        *lpcb = needed;
        *lpcConnections = static_cast<DWORD>(names.size());
        return ERROR_BUFFER_TOO_SMALL;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        RASCONN& record = lprasconn[i];
        std::memset(&record, 0, sizeof(record));
        record.dwSize = sizeof(RASCONN);
        record.hrasconn = reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(0x5A0000 + i));
        std::copy_n(names[i].begin(), std::min<size_t>(names[i].size(), RAS_MaxEntryName), record.szEntryName);
    }
    *lpcb = needed;
    *lpcConnections = static_cast<DWORD>(names.size());
    return NO_ERROR;
}
