// `velmora usage`: reports and CSV exports over the usage month files, for users and scripts.
#pragma once

#include "host/CommandLine.h"

namespace host {

// Exit codes: 0 done; 1 a file or folder could not be read or written; 2 bad arguments or
// dates; 3 the export range names no interface (the empty file is left at the path).
int RunUsageCommand(Arguments args);

} // namespace host
