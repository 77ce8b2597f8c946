// Release and renew through the DHCP client that manages an interface, by running its command
// line tool with a fixed argument vector (never through a shell), and waiting for it.
//   systemd-networkd  renew: networkctl renew IF           release: not offered
//   NetworkManager    renew: nmcli device connect IF      release: nmcli device disconnect IF
//   dhclient          renew: dhclient -1 IF               release: dhclient -r IF
//   dhcpcd            renew: dhcpcd -n IF                 release: dhcpcd -k IF
// Results: NO_ERROR when the tool succeeded; ERROR_NOT_SUPPORTED when no client manages the
// interface, the client has no such operation or its tool is not installed; ERROR_SEM_TIMEOUT
// when the tool did not finish in time, ERROR_OPERATION_ABORTED when the host was asked to end
// meanwhile (it is then stopped either way); ERROR_GEN_FAILURE when it failed (also for a user
// without the rights to change the machine's leases: the tools exit with an error then).
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/net/NetBackend.h"

namespace platform::linuxnet {

enum class DhcpOperation : uint8_t { Release, Renew };

// The tool's name and its arguments (argv[0] first), or empty when there is none.
std::vector<std::string> DhcpCommandLine(DhcpClient client, DhcpOperation operation, const std::string& interfaceName);

// Runs argv (argv[0] looked up in the system's program folders) with standard input and
// output on /dev/null; the exit code mapped as above.
DWORD RunDhcpTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout);

} // namespace platform::linuxnet
