// Runs the built velmora program as a user would: arguments, standard input (a pipe, or a
// terminal when asked), extra environment; gives back the exit code and both outputs.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace host_test {

struct ProgramInput {
    std::string standardInput;
    bool terminal = false; // standard input is a pseudo-terminal
    std::vector<std::pair<std::string, std::string>> environment;
};

struct ProgramResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProgramResult RunVelmora(const std::vector<std::string>& args, const ProgramInput& input = {});

} // namespace host_test
