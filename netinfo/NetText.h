// Shared by the two snapshot holders: the not-present index and the 128-character text
// results of the network queries.
#pragma once

#include <string>
#include <string_view>

#include "netinfo/DialUpNames.h" // IndexNotFound, the result of every lookup that finds nothing
#include "platform/core/WinTypes.h"

// A text result holds at most 127 characters (the device's buffers have 128 with the
// terminator); longer texts are cut.
inline constexpr size_t kNetTextChars = 128;

inline void SetNetText(std::wstring& out, std::wstring_view text)
{
    out.assign(text.substr(0, kNetTextChars - 1));
}

// Indexes are kept as 16-bit values: a row matches when the low 16 bits of its index do.
inline bool IndexMatches(DWORD stored, DWORD requested)
{
    return (stored & 0xFFFFu) == requested;
}
