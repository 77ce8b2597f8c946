// velmora ping: the ping dialog's echo requests and result lines on the terminal.
#pragma once

#include "host/CommandLine.h"

namespace host {

// Exit codes: 0 when a host answered at least once, 1 when none did, 2 when the target could
// not be pinged at all (the name did not resolve, no echo socket, a wrong argument).
int RunPingCommand(Arguments args);

} // namespace host
