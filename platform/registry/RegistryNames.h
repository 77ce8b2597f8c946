// Names and paths of registry keys and values: the two roots this registry keeps, the
// limits the platform sets on names and depth, and the splitting of "a\b\c" subkey paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/Registry.h"

namespace platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// The platform's limits: a key name and a value name of at most 255 characters each (the
// device's callers enumerate into buffers of 256), and a tree at most 512 levels deep.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 255;
inline constexpr size_t kMaxKeyDepth = 512;

// The root a predefined handle names, if it is one this registry keeps.
std::optional<RegistryRoot> RootOfHandle(HKEY key);
HKEY RootHandle(RegistryRoot root);
// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
const wchar_t* RootName(RegistryRoot root);
// The long and the short forms ("HKEY_LOCAL_MACHINE", "HKLM"), in any case.
std::optional<RegistryRoot> ParseRootName(std::wstring_view name);
// The predefined roots this registry does not keep (HKEY_CLASSES_ROOT, HKU, ...).
bool IsUnkeptRootName(std::wstring_view name);

// Every character but "\" is allowed in a key name, except those a hive file line cannot
// carry (CR, LF, NUL) and those that are not Unicode scalar values (lone surrogates, above
// U+10FFFF), so that every name the registry holds can be written out and read back.
bool IsValidKeyName(std::wstring_view name);
// The same for value names, which may also hold "\" and may be empty (the default value).
bool IsValidValueName(std::wstring_view name);

// Splits a subkey path at "\". A leading "\" or an empty component in the middle gives
// ERROR_BAD_PATHNAME; trailing ones are dropped; an empty path gives no components; a
// component that is not a valid key name gives ERROR_INVALID_PARAMETER.
LONG SplitKeyPath(std::wstring_view path, std::vector<std::wstring>& components);

} // namespace platform
