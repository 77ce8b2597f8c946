// `velmora settings`: the plug-in's settings as the module loads them from the data folder.
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunSettingsCommand(Arguments args);

} // namespace host
