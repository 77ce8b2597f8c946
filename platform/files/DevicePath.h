// A device path taken apart into its names from the root down. "\" and "/" both separate,
// empty and "." components are dropped and ".." steps back a name, before any lookup, as the
// platform's path functions do; a ".." above the root is refused. There is no current
// folder on the device: every path starts at the root, with or without a leading "\".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/WinTypes.h"

namespace platform {

class DevicePath {
public:
    DevicePath() = default; // the root

    // ERROR_SUCCESS and the path, or: ERROR_PATH_NOT_FOUND for an empty text,
    // ERROR_FILENAME_EXCED_RANGE for MAX_PATH characters or more, ERROR_INVALID_NAME for a
    // name holding a character names cannot hold (wildcards included), ERROR_ACCESS_DENIED
    // for a ".." above the root.
    static DWORD Parse(std::wstring_view text, DevicePath& path);
    // The same for a search: the last component is kept apart, unparsed, as the pattern, in
    // which "*" and "?" are allowed; "\" alone gives the root and an empty pattern.
    static DWORD ParseSearch(std::wstring_view text, DevicePath& folder, std::wstring& pattern);

    const std::vector<std::wstring>& Names() const { return m_names; }
    bool IsRoot() const { return m_names.empty(); }
    // The last name; the root has none.
    const std::wstring& Leaf() const;
    DevicePath Parent() const;
    DevicePath Child(std::wstring name) const;
    // "\Program Files\Velmora"; "\" for the root.
    std::wstring ToString() const;

    bool operator==(const DevicePath&) const = default;

private:
    std::vector<std::wstring> m_names;
};

// Whether a single name may be created: no control characters, none of < > : " | and,
// unless allowed, no wildcards.
bool IsValidEntryName(std::wstring_view name, bool allowWildcards = false);

} // namespace platform
