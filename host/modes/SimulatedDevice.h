// The device of a simulation run: a virtual clock, the simulated network, sockets and modem,
// driven by a scenario file. Every scenario command belongs to one of them: the network's, the
// sockets' and the modem's are theirs (platform/net/sim/SimNetwork.h,
// platform/winsock/sim/SimSockets.h, platform/phone/sim/SimModem.h), and the clock's is the
// shell's own:
//
//   clock 2006-03-07 14:05:09    local wall time; at the start it sets when the run begins,
//                                later it is the user setting the device's clock
//
// Telephony is off unless the scenario turns it on ("telephony on").
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/net/sim/SimNetwork.h"
#include "platform/phone/sim/SimModem.h"
#include "platform/sim/Scenario.h"
#include "platform/time/Clock.h"
#include "platform/winsock/sim/SimSockets.h"

namespace host {

class SimulatedDevice {
public:
    SimulatedDevice();
    // Puts the real clock and the Linux backends back.
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Reads and checks the scenario; empty on success, else "FILE:LINE: why".
    std::string Load(const std::filesystem::path& scenario);
    // Empty scenario text is a device with no network at all.
    std::string LoadText(const std::string& text, const std::string& source);

    // Installs the clock and the backends and starts the scenario's time.
    void Start();

    platform::VirtualClock& Clock() { return m_clock; }
    platform::SimNetwork& Network() { return m_network; }
    platform::SimModem& Modem() { return m_modem; }
    platform::SimSockets& Sockets() { return m_sockets; }

    // The scenario's time of its last command, from the start.
    int64_t LastCommandMs() const { return m_lastCommandMs; }
    // Milliseconds from now to the next clock command, or -1 when none is left.
    int64_t NextClockChangeInMs() const;
    // Performs the clock commands that are due.
    void ApplyClockChanges();

    // Checks a clock command; empty when it is one and is well formed.
    static std::string CheckClockCommand(const platform::ScenarioCommand& command);

private:
    struct ClockChange {
        uint64_t dueMs; // on the clock's tick count
        int64_t unixSeconds;
    };

    platform::VirtualClock m_clock;
    platform::SimNetwork m_network;
    platform::SimModem m_modem;
    platform::SimSockets m_sockets { &m_clock };
    std::vector<platform::ScenarioCommand> m_commands;
    std::vector<ClockChange> m_clockChanges;
    int64_t m_lastCommandMs = 0;
    bool m_started = false;
};

// "2006-03-07 14:05:09" (or with a T between) as local time; nullopt when it is not one.
std::optional<int64_t> ParseLocalTime(const std::string& text);

// Names the simulated adapters under HKLM\Comm as a device names its installed adapters: an
// adapter whose name ends in "1" is the first instance of the driver named by the rest, with
// the interface's description as its display name.
void SeedSimulatedAdapterKeys(platform::SimNetwork& network);

} // namespace host
