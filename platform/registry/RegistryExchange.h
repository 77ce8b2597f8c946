// Keys in and out of the registry as .reg text, for the registry tool's export and import.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"

namespace platform {

// The .reg text (header included) of a key and everything below it, under the key's full
// path. Fails as RegOpenKeyExW would (ERROR_INVALID_HANDLE, ERROR_FILE_NOT_FOUND, ...).
LONG ExportRegistryKey(HKEY key, LPCWSTR subKey, std::string& text);

// Parses a whole .reg file and applies it: keys created, [-KEY] sections and "name"=-
// deletions carried out. A file that does not parse changes nothing: ERROR_BADDB with the
// fault in error. ERROR_ACCESS_DENIED from a read-only store. The hive is written at once;
// ERROR_CANTWRITE when that fails (the change stays in memory and dirty).
LONG ImportRegistryFile(std::string_view bytes, RegFileError& error);

} // namespace platform
