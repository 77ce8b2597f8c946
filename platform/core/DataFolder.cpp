#include "platform/core/DataFolder.h"

#include <cstdlib>

namespace platform {

std::filesystem::path ResolveDataFolder(const std::string& fromCommandLine)
{
    if (!fromCommandLine.empty())
        return std::filesystem::path(fromCommandLine);
    if (const char* explicitFolder = std::getenv("VELMORA_DATA"); explicitFolder != nullptr && *explicitFolder != '\0')
        return std::filesystem::path(explicitFolder);
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0')
        return std::filesystem::path(xdg) / "velmora";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::filesystem::path(home) / ".local" / "share" / "velmora";
    return std::filesystem::path(".velmora");
}

std::filesystem::path HivePath(const std::filesystem::path& dataFolder)
{
    return dataFolder / "registry.reg";
}

std::filesystem::path DeviceRoot(const std::filesystem::path& dataFolder)
{
    return dataFolder / "device";
}

} // namespace platform
