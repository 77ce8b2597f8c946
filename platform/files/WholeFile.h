// A host file replaced only once its new contents are whole: written to "<path>.tmp" beside it,
// synced, renamed over it, and the folder synced, so that a full disk or a crash at any point
// leaves the old file or the new one, never half of either.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

namespace platform {

// 0, or the errno of what failed (the temporary file is then removed); ELOOP when the
// temporary name is a symbolic link, which is left alone.
int ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes);
// The name ReplaceWholeFile writes the new contents under first.
std::filesystem::path TemporaryFileFor(const std::filesystem::path& path);
// A host file's bytes, read whole: 0, or the errno of what failed (bytes then empty).
int ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
// Makes a rename or removal in the folder durable: 0 or the errno.
int SyncFolder(const std::filesystem::path& folder);

// The same for a file of the device, through its file calls: written to "<path>.new", flushed
// and moved over the old one. FALSE with the last error set when any step failed; the old file
// is then as it was and no "<path>.new" is left.
BOOL ReplaceDeviceFile(const std::wstring& path, std::string_view bytes);
// The name ReplaceDeviceFile writes the new contents under first; a writer that streams a large
// file follows the same steps under the same name.
std::wstring TemporaryDeviceFileFor(const std::wstring& path);

} // namespace platform
