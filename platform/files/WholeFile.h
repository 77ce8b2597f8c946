// A host file replaced only once its new contents are whole: written to "<path>.tmp" beside it,
// synced, renamed over it, and the folder synced, so that a full disk or a crash at any point
// leaves the old file or the new one, never half of either.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

// 0, or the errno of what failed (the temporary file is then removed); ELOOP when the
// temporary name is a symbolic link, which is left alone.
int ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes);
// Makes a rename or removal in the folder durable: 0 or the errno.
int SyncFolder(const std::filesystem::path& folder);

} // namespace platform
