// The device's network-adapter applet, when the device runs in a window on a desktop: the
// desktop's own network settings open in its place (the first installed of NetworkManager's
// connection editor, the GNOME and the KDE network settings), started on their own and left
// to run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Process.h"

namespace host {

// The Control Panel's network-adapter applet: "\Windows\ctlpnl.exe" with "cplmain.cpl,17" and
// any tab ("cplmain.cpl,17,1").
bool IsNetworkAdapterApplet(const platform::ProcessStart& start);

// The program's full path, or empty when it is not installed.
using ProgramLookup = std::function<std::string(const std::string& name)>;
// Looks through the folders of PATH.
std::string FindInPath(const std::string& name);

// The first installed candidate's command (its path first), or empty when none is installed.
std::vector<std::string> NetworkSettingsCommand(const ProgramLookup& lookup);

// Starts the command in a process group of its own, its input and output on /dev/null, and
// does not wait for it (a thread of its own collects it when it ends). ERROR_SUCCESS, or
// ERROR_FILE_NOT_FOUND when it could not be started.
DWORD StartDetached(const std::vector<std::string>& argv);

} // namespace host
