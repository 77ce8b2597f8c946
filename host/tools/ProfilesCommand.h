// `velmora profiles`: the network profiles of the Profiles page, listed, shown, added and
// deleted from the command line with the page's own rules and messages.
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunProfilesCommand(Arguments args);

} // namespace host
