// Small helpers shared by the command-line tools: options, data folder, messages.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// The arguments after the subcommand's name.
using Arguments = std::vector<std::string>;

// Removes "--data DIR" or "--data=DIR" from the arguments; the resolved data folder.
std::filesystem::path TakeDataFolder(Arguments& args);
// Removes a flag such as "--json"; true when it was there.
bool TakeFlag(Arguments& args, const std::string& flag);
// An option given last without its value ("--data" at the end of the line), or with an empty
// one ("--out="); what() says so.
// The command ends with exit status 2 before it did anything, so that it never runs on a
// default in place of what the user meant.
struct MissingOptionValue : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Removes "--name VALUE" or "--name=VALUE"; nullopt when absent. Throws MissingOptionValue
// when the value is missing.
std::optional<std::string> TakeOption(Arguments& args, const std::string& name);

// "velmora: ..." on stderr.
void PrintError(const std::string& message);

} // namespace host
