#include "profiles/NetProfile.h"

#include "platform/text/Format.h"
#include "platform/text/WideString.h"

std::wstring FormatProfile(const NetProfile& profile)
{
    return Fmt(L"%s*%s*%d*%s*%s*%s*%s*%s*%s*%s*", profile.name, profile.adapter, profile.dhcp != 0 ? 1 : 0,
        profile.ipAddress, profile.subnetMask, profile.defaultGateway, profile.dnsServer, profile.alternateDnsServer,
        profile.winsServer, profile.alternateWinsServer);
}

DWORD ParseProfile(NetProfile& profile, DWORD number, const std::wstring& text)
{
    std::wstring fields[10];
    std::wstring rest = text;
    for (std::wstring& field : fields) {
        size_t star = rest.find(L'*');
        if (star == std::wstring::npos) {
            rest.clear();
            continue; // this field and all later ones stay empty
        }
        field = rest.substr(0, star);
        rest = rest.substr(star + 1);
    }
    profile.name = fields[0];
    profile.adapter = fields[1];
    profile.dhcp = WtoL(fields[2]) == 1 ? 1 : 0;
    profile.ipAddress = fields[3];
    profile.subnetMask = fields[4];
    profile.defaultGateway = fields[5];
    profile.dnsServer = fields[6];
    profile.alternateDnsServer = fields[7];
    profile.winsServer = fields[8];
    profile.alternateWinsServer = fields[9];
    profile.number = number;
    return !fields[0].empty() && !fields[1].empty() && !fields[2].empty() ? 1 : 0;
}

bool IsStorableProfileField(const std::wstring& field)
{
    return field.find(L'*') == std::wstring::npos;
}
