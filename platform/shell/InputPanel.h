// Between the shell's pieces: the input panel's state, kept by the input-panel calls, and the
// host that the notification area's calls keep.
#pragma once

#include "platform/shell/ShellHost.h"

namespace platform {

void ResetInputPanel();
ShellHost* InstalledShellHost();

} // namespace platform
