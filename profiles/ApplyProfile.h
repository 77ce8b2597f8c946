// Activating a profile: its TCP/IP settings go into the device's registry parameters of its
// adapter, HKEY_LOCAL_MACHINE\Comm\<adapter>\Parms\Tcpip, where the platform takes them up the
// next time the adapter is reset. Only the device's registry changes: this machine's own
// network configuration is never touched.
#pragma once

#include <string>
#include <vector>

#include "profiles/NetProfile.h"

// The values a profile gives its adapter, in the order they are written.
struct TcpipValues {
    DWORD enableDhcp = 1;
    std::wstring ipAddress;
    std::wstring subnetMask;
    std::wstring defaultGateway;
    std::vector<std::wstring> dns;  // a multi-string: two addresses, or one empty string
    std::vector<std::wstring> wins;
};

TcpipValues TcpipValuesOf(const NetProfile& profile);
// "Comm\<adapter>\Parms\Tcpip", under HKEY_LOCAL_MACHINE.
std::wstring AdapterTcpipKey(const std::wstring& adapter);
// Writes the values into the key of the profile's adapter; false when the adapter has no key
// name or any value could not be written, so that the user is not told it worked.
bool ApplyProfile(const NetProfile& profile);
