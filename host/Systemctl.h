// The user's systemd service manager, asked through `systemctl --user`. The program is
// $VELMORA_SYSTEMCTL when set (a stand-in that tests write), else systemctl from the PATH.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace host {

struct SystemctlResult {
    bool ran = false;  // the program could be started
    int exitCode = -1; // its exit code; 128 + the signal when a signal ended it
    std::string out;
    std::string err;

    bool Ok() const { return ran && exitCode == 0; }
    // The first line of what it said on stderr (else stdout), for a message of our own.
    std::string FirstLine() const;
};

class Systemctl {
public:
    Systemctl();

    // Empty when systemctl runs and the user's service manager answers; else one line saying
    // which of the two is missing.
    std::string Problem();
    // `systemctl --user ARGS...`, its outputs captured.
    SystemctlResult Run(const std::vector<std::string>& args) const;

    // What the manager says of a unit: "active", "inactive", "failed", "activating", ...
    std::string ActiveState(const std::string& unit) const;
    // Running or about to: active, activating or reloading.
    bool Active(const std::string& unit) const;
    // "enabled", "disabled", "static", ...; empty when the manager does not know the unit.
    std::string EnabledState(const std::string& unit) const;
    // The unit's main process; 0 when it has none.
    pid_t MainPid(const std::string& unit) const;

private:
    std::string m_program; // empty when there is none
};

} // namespace host
