// Friendly adapter names, read once from the adapter driver keys under HKEY_LOCAL_MACHINE\Comm,
// and the two facts about the platform that steer the scan: its generation and the key name of
// the adapter that carries the USB cable link.
#pragma once

#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

struct AdapterNameEntry {
    DWORD sequence;          // position in the list, from 0
    std::wstring keyName;    // the adapter's key under Comm, as the interface table names it
    std::wstring displayName;
    DWORD reserved;          // always 0
};

using AdapterNameList = std::vector<AdapterNameEntry>;

// 2002 below major version 4, 2003 at 4, 2005 from 5 on.
DWORD PlatformGenerationFromMajorVersion(DWORD majorVersion);
// The platform's generation from GetVersionExW.
DWORD QueryPlatformGeneration();

// "ppp1" except on 2003, where the cable has its own adapter key under Comm.
std::wstring FindUsbCableAdapterName(DWORD platformGeneration);

// Scans HKEY_LOCAL_MACHINE\Comm for network drivers and their first instances.
AdapterNameList BuildAdapterNameList(const std::wstring& usbCableAdapterName);
