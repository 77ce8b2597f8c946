#include "profiles/ProfileList.h"

#include "platform/text/Format.h"
#include "settings/SettingsKeys.h"

std::wstring ProfileValueName(DWORD number)
{
    return Fmt(L"NetProfile%d", number);
}

ProfileList::~ProfileList()
{
    Clear();
}

void ProfileList::Clear()
{
    // Unlinked one by one so that a long list does not recurse in destruction.
    while (m_head != nullptr)
        m_head = std::move(m_head->next);
}

DWORD ProfileList::Count() const
{
    DWORD count = 0;
    for (NetProfile* p = m_head.get(); p != nullptr; p = p->next.get())
        ++count;
    return count;
}

void ProfileList::Append(std::unique_ptr<NetProfile> profile)
{
    std::unique_ptr<NetProfile>* link = &m_head;
    while (*link != nullptr)
        link = &(*link)->next;
    *link = std::move(profile);
}

void ProfileList::LoadProfiles(RegistryKey& source)
{
    for (DWORD number = 0; number < kMaxProfiles; ++number) {
        std::wstring text = source.ReadString(ProfileValueName(number).c_str(), nullptr);
        if (text.empty())
            break;
        auto profile = std::make_unique<NetProfile>();
        ParseProfile(*profile, number, text); // kept even when malformed
        Append(std::move(profile));
    }
}

void ProfileList::SaveProfiles()
{
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::CreateIfMissing);
    DWORD written = 0;
    for (NetProfile* p = m_head.get(); p != nullptr; p = p->next.get()) {
        key.WriteString(ProfileValueName(p->number).c_str(), FormatProfile(*p).c_str());
        ++written;
    }
    for (DWORD number = written;; ++number) {
        std::wstring name = ProfileValueName(number);
        if (key.ReadString(name.c_str(), nullptr).empty())
            break;
        key.DeleteValue(name.c_str());
    }
}

namespace {

void AssignFields(NetProfile& profile, const ProfileFields& fields)
{
    profile.name = fields.name;
    profile.adapter = fields.adapter;
    profile.dhcp = fields.dhcp;
    profile.ipAddress = fields.ipAddress;
    profile.subnetMask = fields.subnetMask;
    profile.defaultGateway = fields.defaultGateway;
    profile.dnsServer = fields.dnsServer;
    profile.alternateDnsServer = fields.alternateDnsServer;
    profile.winsServer = fields.winsServer;
    profile.alternateWinsServer = fields.alternateWinsServer;
}

} // namespace

NetProfile* ProfileList::AddProfile(const ProfileFields& fields)
{
    auto profile = std::make_unique<NetProfile>();
    AssignFields(*profile, fields);
    NetProfile* last = m_head.get();
    while (last != nullptr && last->next != nullptr)
        last = last->next.get();
    profile->number = last == nullptr ? 0 : last->number + 1;
    NetProfile* added = profile.get();
    Append(std::move(profile));
    return added;
}

void ProfileList::UpdateProfile(NetProfile* profile, const ProfileFields& fields)
{
    if (profile != nullptr)
        AssignFields(*profile, fields);
}

DWORD ProfileList::DeleteProfile(DWORD number)
{
    std::unique_ptr<NetProfile>* link = &m_head;
    while (*link != nullptr && (*link)->number != number)
        link = &(*link)->next;
    if (*link == nullptr)
        return 0;
    std::unique_ptr<NetProfile> doomed = std::move(*link);
    *link = std::move(doomed->next);
    for (NetProfile* p = link->get(); p != nullptr; p = p->next.get())
        --p->number;
    return 1;
}

NetProfile* ProfileList::FindProfileByName(const std::wstring& name) const
{
    for (NetProfile* p = m_head.get(); p != nullptr; p = p->next.get()) {
        if (p->name == name)
            return p;
    }
    return nullptr;
}

NetProfile* ProfileList::ProfileAt(DWORD position) const
{
    NetProfile* p = m_head.get();
    for (DWORD i = 0; p != nullptr && i < position; ++i)
        p = p->next.get();
    return p;
}
