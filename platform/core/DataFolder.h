// Where the emulated device keeps its state on this machine: the registry hive and the
// device root that device paths map into.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// The data folder: the one given (from --data), else $VELMORA_DATA, else
// $XDG_DATA_HOME/velmora, else ~/.local/share/velmora. Not created here.
std::filesystem::path ResolveDataFolder(const std::string& fromCommandLine = {});

// The hive file and the device root inside a data folder.
std::filesystem::path HivePath(const std::filesystem::path& dataFolder);
std::filesystem::path DeviceRoot(const std::filesystem::path& dataFolder);

} // namespace platform
