// One device owns a data folder at a time. A run that starts on the folder the velmora service
// holds takes it over: the service is stopped (its own stop ends it as Ctrl-C ends a run, so it
// writes what it keeps) and started again when the run ends, when it was running before.
#pragma once

#include <filesystem>

namespace host {

class ServiceHandOver {
public:
    ServiceHandOver() = default;
    // Gives the folder back when the run did not.
    ~ServiceHandOver();
    ServiceHandOver(const ServiceHandOver&) = delete;
    ServiceHandOver& operator=(const ServiceHandOver&) = delete;

    // Stops the service when it runs on this data folder and is not this process itself, and
    // prints one line that says so. True when the service was stopped.
    bool Take(const std::filesystem::path& dataFolder);
    // Starts the service again when Take stopped it; a failure is reported on stderr.
    void GiveBack();

private:
    bool m_taken = false;
};

} // namespace host
