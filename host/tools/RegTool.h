// `velmora reg ...`: the platform's registry tool over the hive in the data folder, with its
// operations, options, output and messages (query, add, delete, export, import).
#pragma once

#include <string>
#include <vector>

// args are the words after "reg"; dataFolder is the --data given before "reg" (or empty).
// Returns the exit code: 0 on success, 1 on failure or when the user declined.
int RunRegTool(const std::vector<std::string>& args, const std::string& dataFolder);
