// velmora dhcp release|renew [IFACE]: the DHCP dialog's release and renew from the command
// line, for the tracked adapter or the one named, through the machine's DHCP client (or a
// simulated network).
#pragma once

#include "host/CommandLine.h"

namespace host {

int RunDhcpCommand(Arguments args);

} // namespace host
