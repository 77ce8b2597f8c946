#include "host/ReplaceFile.h"

#include <cstring>

#include "platform/files/WholeFile.h"

namespace host {

std::string ReplaceFileContents(const std::filesystem::path& path, const std::string& text)
{
    if (int error = platform::ReplaceWholeFile(path, text); error != 0)
        return "cannot write " + path.string() + ": " + std::strerror(error);
    return {};
}

} // namespace host
