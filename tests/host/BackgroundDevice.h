// A device that runs in the background while a test does other things: `velmora --data D
// --headless --quiet` (as the service runs it), started and waited for until it holds its data
// folder, and stopped with a signal.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace host_test {

class BackgroundDevice {
public:
    explicit BackgroundDevice(const std::filesystem::path& dataFolder);
    // Stops it (SIGTERM) if the test did not.
    ~BackgroundDevice();
    BackgroundDevice(const BackgroundDevice&) = delete;
    BackgroundDevice& operator=(const BackgroundDevice&) = delete;

    // It holds its data folder: it started and runs.
    bool Holding() const { return m_holding; }
    pid_t Pid() const { return m_pid; }
    // Sends the signal unless it has ended already, and waits for its end: its exit code, or
    // 128 + the signal that killed it.
    int Stop(int signal);
    // What it printed, both outputs (complete once it was stopped).
    const std::string& Output() const { return m_output; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_holding = false;
    int m_exit = -1;
    std::string m_output;
};

} // namespace host_test
