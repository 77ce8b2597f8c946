// The stored network profiles: a singly linked list whose numbers stay 0, 1, 2, ... in list
// order, kept as the values NetProfile0 to NetProfile98 of the settings key.
#pragma once

#include <memory>
#include <string>

#include "profiles/NetProfile.h"
#include "settings/RegistryKey.h"

struct ProfileFields {
    std::wstring name;
    std::wstring adapter;
    DWORD dhcp = 1;
    std::wstring ipAddress;
    std::wstring subnetMask;
    std::wstring defaultGateway;
    std::wstring dnsServer;
    std::wstring alternateDnsServer;
    std::wstring winsServer;
    std::wstring alternateWinsServer;
};

class ProfileList {
public:
    ProfileList() = default;
    ~ProfileList();
    ProfileList(const ProfileList&) = delete;
    ProfileList& operator=(const ProfileList&) = delete;

    NetProfile* Head() const { return m_head.get(); }
    DWORD Count() const;

    // From the key the other settings are loaded from; stops at the first missing or empty value.
    void LoadProfiles(RegistryKey& source);
    // To the user's settings key; values past the last profile are removed.
    void SaveProfiles();

    NetProfile* AddProfile(const ProfileFields& fields);
    void UpdateProfile(NetProfile* profile, const ProfileFields& fields);
    DWORD DeleteProfile(DWORD number);
    NetProfile* FindProfileByName(const std::wstring& name) const;
    // The record at a list position (its number); null past the end. Two profiles may share a
    // name, so a line of a list of names is found by its position.
    NetProfile* ProfileAt(DWORD position) const;
    void Clear();

private:
    void Append(std::unique_ptr<NetProfile> profile);

    std::unique_ptr<NetProfile> m_head;
};

// "NetProfile" and the number in decimal.
std::wstring ProfileValueName(DWORD number);
