// velmora net: for each interface, what the status lines would show for it, its hardware
// address and counters, and which adapter automatic tracking follows.
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunNetCommand(Arguments args);

} // namespace host
