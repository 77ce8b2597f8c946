#include "profiles/ProfileCheck.h"

#include "platform/text/Format.h"
#include "profiles/ValidateAddress.h"

const wchar_t* LastInvalidAddressField(const ProfileFields& fields)
{
    struct Field {
        const std::wstring& text;
        bool emptyAllowed;
        const wchar_t* name;
    };
    const Field checked[] = {
        { fields.ipAddress, false, L"IP Address" },
        { fields.subnetMask, false, L"Subnet Mask" },
        { fields.defaultGateway, false, L"Default Gateway" },
        { fields.dnsServer, true, L"DNS Server" },
        { fields.alternateDnsServer, true, L"Alternate DNS Server" },
        { fields.winsServer, true, L"WINS Server" },
        { fields.alternateWinsServer, true, L"Alternate WINS Server" },
    };
    const wchar_t* invalid = nullptr;
    for (const Field& field : checked) {
        if (ValidateAddress(field.text, field.emptyAllowed) == 0)
            invalid = field.name;
    }
    return invalid;
}

std::wstring ProfileProblem(const ProfileFields& fields, const ProfileList& list, const NetProfile* edited)
{
    if (fields.name.empty())
        return L"You must enter a profile name.";
    // The stored form separates its fields with "*" and has no escaping.
    if (!IsStorableProfileField(fields.name))
        return L"A profile name cannot contain \"*\". Please use a different name.";
    if (edited == nullptr && list.FindProfileByName(fields.name) != nullptr)
        return L"A profile by that name already exists. Please use a different name.";
    // Loading stops at the 99th value: a 100th profile would be lost with the next start.
    if (edited == nullptr && list.Count() >= kMaxProfiles)
        return L"No more profiles can be added.";
    if (const wchar_t* field = LastInvalidAddressField(fields); field != nullptr)
        return Fmt(L"Invalid %s. Please enter a valid address.", field);
    return std::wstring();
}

void ClearStaticAddresses(ProfileFields& fields)
{
    fields.ipAddress = L"0.0.0.0";
    fields.subnetMask = L"0.0.0.0";
    fields.defaultGateway = L"0.0.0.0";
}
