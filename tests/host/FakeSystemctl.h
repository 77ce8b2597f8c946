// A stand-in for systemctl, run by the program through VELMORA_SYSTEMCTL: it logs each call and
// answers from a little state kept in files (the unit's active and enabled state, its main
// process), so that the service's logic is tested without a user service manager. Its stop
// ends the main process with SIGTERM and waits for it, as systemd does.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

namespace host_test {

class FakeSystemctl {
public:
    FakeSystemctl();

    // VELMORA_SYSTEMCTL naming the stand-in, XDG_CONFIG_HOME a folder of the test's own.
    std::vector<std::pair<std::string, std::string>> Environment() const;
    std::filesystem::path UnitPath() const;
    std::filesystem::path Program() const { return m_folder.Path() / "systemctl"; }

    void SetActive(const std::string& state);
    std::string Active() const;
    void SetMainPid(pid_t pid);
    // Every call fails as systemctl does without a user manager.
    void WithoutManager();
    // Calls with this verb (start, stop, enable, ...) fail as a failed job does.
    void FailOn(const std::string& verb);

    // The calls so far, one line each: "--user is-active velmora.service".
    std::vector<std::string> Calls() const;
    bool Called(const std::string& line) const;

private:
    std::filesystem::path State(const std::string& name) const { return m_folder.Path() / "state" / name; }

    testing_support::ScratchFolder m_folder;
};

} // namespace host_test
