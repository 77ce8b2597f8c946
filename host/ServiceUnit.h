// The device as a systemd user service: where its unit file lives, what it says, and what can be
// read back from it. The unit runs the device headless and quiet on one data folder, so that the
// usage logs keep being written while nobody has the window open.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host {

inline constexpr const char* kServiceUnitName = "velmora.service";

// $XDG_CONFIG_HOME/systemd/user/velmora.service, else ~/.config/systemd/user/velmora.service;
// empty when neither variable names a folder.
std::filesystem::path ServiceUnitPath();

// The unit that runs `PROGRAM --data DATA --headless --quiet`; both paths absolute.
std::string ServiceUnitText(const std::filesystem::path& program, const std::filesystem::path& dataFolder);

// One word of a unit's command line: quoted, with the characters systemd would expand or
// unescape (\, ", % and $) escaped.
std::string QuoteUnitWord(const std::string& word);
// The words of a unit's command line, quotes and escapes undone; nullopt for an unmatched quote.
std::optional<std::vector<std::string>> SplitUnitCommandLine(const std::string& line);

// The data folder the unit's ExecStart= names with --data; nullopt when it names none.
std::optional<std::filesystem::path> ServiceUnitDataFolder(const std::string& unitText);

// The data folder of the installed unit (at ServiceUnitPath); nullopt when there is no unit or
// it names none.
std::optional<std::filesystem::path> InstalledServiceDataFolder();


} // namespace host
