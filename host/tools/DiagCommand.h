// velmora diag: the diagnostic report as the plug-in writes it.
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunDiagCommand(Arguments args);

} // namespace host
