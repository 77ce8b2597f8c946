// Small helpers shared by the command-line tools: options, data folder, messages.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace host {

// The arguments after the subcommand's name.
using Arguments = std::vector<std::string>;

// Removes "--data DIR" or "--data=DIR" from the arguments; the resolved data folder.
std::filesystem::path TakeDataFolder(Arguments& args);
// Removes a flag such as "--json"; true when it was there.
bool TakeFlag(Arguments& args, const std::string& flag);
// Removes "--name VALUE" or "--name=VALUE"; nullopt when absent. A missing value is reported on
// stderr and given back as the empty string.
std::optional<std::string> TakeOption(Arguments& args, const std::string& name);

// "velmora: ..." on stderr.
void PrintError(const std::string& message);

} // namespace host
