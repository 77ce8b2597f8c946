// Runs the device as a user would, headless on a scratch data folder: its settings written into
// the registry hive first, a scenario and a script written as files, the output read back.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "HostOutput.h"
#include "ProgramRun.h"
#include "support/TestSupport.h"

namespace host_test {

class DeviceRun {
public:
    DeviceRun() = default;

    const std::filesystem::path& Data() const { return m_data.Path(); }
    std::filesystem::path DeviceFile(const std::string& relative) const;

    // Settings of the plug-in, stored as the options dialog stores them (with SettingsSaved).
    // Values given as text are REG_SZ, numbers REG_DWORD.
    void Settings(const std::vector<std::pair<std::string, std::string>>& values);

    // Runs `velmora --data D --simulate SCENARIO [--script SCRIPT] ARGS...`.
    ProgramResult Simulate(const std::string& scenario, const std::vector<std::string>& args = {},
        const std::string& script = {});
    const HostOutput& Output() const { return m_output; }

    // A LAN adapter NE20001 with the loopback, an address, a default route, DNS and a lease.
    static std::string Lan(const std::string& address = "192.168.1.10");

private:
    testing_support::ScratchFolder m_data;
    HostOutput m_output;
    int m_files = 0;
};

} // namespace host_test
