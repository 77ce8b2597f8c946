// A network profile: a named set of TCP/IP settings for one adapter, and its one-line stored
// form "name*adapter*dhcp*ip*mask*gateway*dns*altdns*wins*altwins*".
#pragma once

#include <memory>
#include <string>

#include "platform/core/WinTypes.h"

constexpr DWORD kProfileNotListed = 99;
constexpr DWORD kMaxProfiles = 99;

struct NetProfile {
    DWORD number = kProfileNotListed; // position in the list and suffix of its value name
    std::wstring name;
    std::wstring adapter;             // key name of the adapter under Comm
    DWORD dhcp = 1;                   // non-zero: DHCP; 0: the static addresses below
    std::wstring ipAddress;
    std::wstring subnetMask;
    std::wstring defaultGateway;
    std::wstring dnsServer;
    std::wstring alternateDnsServer;
    std::wstring winsServer;
    std::wstring alternateWinsServer;
    std::unique_ptr<NetProfile> next;
};

std::wstring FormatProfile(const NetProfile& profile);
// Fills the record from a stored text; 1 when name, adapter and DHCP field were all present.
// Any text is taken: a missing "*" leaves that field and the later ones empty.
DWORD ParseProfile(NetProfile& profile, DWORD number, const std::wstring& text);

// The stored form has no escaping, so a "*" in a field would shift every later field on the
// next load. Editors refuse such input where it enters.
bool IsStorableProfileField(const std::wstring& field);
