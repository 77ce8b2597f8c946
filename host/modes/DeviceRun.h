// The device run: `velmora` without a command. Starts the emulated device (its storage, its
// network and phone, real or simulated, its clock), the shell with the Velmora item, and runs
// it in a window, in the terminal, or through a script.
#pragma once

#include <chrono>

#include "host/CommandLine.h"

namespace host {

// The process's exit code: 0 after a run that ended as asked, 1 when the device could not start
// or a script failed, 2 for bad arguments.
int RunDevice(Arguments args, std::chrono::steady_clock::time_point started);

} // namespace host
