// What the profile editor refuses before a profile is stored, with the message it shows; the
// command line's profile tool refuses the same with the same words.
#pragma once

#include <string>

#include "profiles/ProfileList.h"

// The field the editor names in its message: the last one in the order IP address, subnet
// mask, default gateway, DNS, alternate DNS, WINS, alternate WINS that is not a valid address
// (the first three must not be empty); null when every one is valid.
const wchar_t* LastInvalidAddressField(const ProfileFields& fields);

// The message for fields that cannot be stored, or empty when they can. A new profile
// (edited null) must take a name no profile has and find room in the list; an edit may take
// any name.
std::wstring ProfileProblem(const ProfileFields& fields, const ProfileList& list, const NetProfile* edited);

// A DHCP profile stores "0.0.0.0" for its own address, mask and gateway.
void ClearStaticAddresses(ProfileFields& fields);
