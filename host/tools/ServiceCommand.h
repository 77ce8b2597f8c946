// velmora service: the device as a systemd user service that runs headless and quiet, so that
// the usage logs are kept while no window is open. install, uninstall, start, stop, status.
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunServiceCommand(Arguments args);

} // namespace host
