// Files the host writes for a user (unit files, reports, exports) replace the old one only
// once the new one is whole: written beside it, synced, renamed over it. A full disk or a
// crash leaves the old file as it was.
#pragma once

#include <filesystem>
#include <string>

namespace host {

// Empty on success, else one line saying what failed (the temporary file is removed).
std::string ReplaceFileContents(const std::filesystem::path& path, const std::string& text);

} // namespace host
