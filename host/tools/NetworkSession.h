// What the network commands work on: the data folder's registry (with HKEY_LOCAL_MACHINE\Comm
// seeded for the machine's interfaces) and the module's network objects built as the module
// builds them, over the machine's network or a simulated one.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "netinfo/InterfaceTable.h"
#include "netinfo/NetStatusInfo.h"
#include "phone/Phone.h"
#include "settings/Settings.h"

namespace host {

class SimulatedDevice;

class NetworkSession {
public:
    // Opens the registry read-write; when a running velmora holds it, read-only (that one has
    // seeded Comm already, so nothing is written). A hive that cannot be written fails the
    // opening, before the adapter keys are changed. simulation: a scenario file played as the device run plays it (its
    // network, modem and clock) over a copy of the registry in memory, so that the data folder
    // is left as it was.
    static std::unique_ptr<NetworkSession> Open(const std::filesystem::path& dataFolder,
        const std::optional<std::string>& simulation, std::string& error);
    ~NetworkSession();

    // Takes the module's objects down and closes the registry, writing the adapter keys when
    // they changed: ERROR_SUCCESS, or ERROR_CANTWRITE when they could not be written (the
    // registry said why on stderr).
    LONG Close();
    // Closes the session and gives the command's exit status: 1, said on stderr, when the
    // adapter keys could not be written, 1 for a hive with bad lines, else 0.
    int Finish(const std::string& command);

    // The module-lifetime objects, in the module's order of construction.
    struct Objects {
        NetStatusInfo adapters;
        InterfaceTable interfaces;
        Settings settings;
        Phone phone;
    };
    Objects& Module() { return *m_objects; }

    // The tick's view: the tracked index (IndexNotFound when absent) and g_uiNetAct's
    // no-connection state or not.
    DWORD TrackedIndex();
    DWORD ActivityState();
    // The machine's name of a device interface index, when the backend knows one.
    std::string SystemNameOf(DWORD index);
    bool ReadOnly() const { return m_readOnly; }
    // The hive had bad lines, left out (the registry said so on stderr): the command's exit
    // status says so too.
    bool HiveDamaged() const { return m_hiveDamaged; }

private:
    NetworkSession() = default;

    std::unique_ptr<SimulatedDevice> m_simulation;
    std::unique_ptr<Objects> m_objects;
    std::filesystem::path m_dataFolder;
    bool m_readOnly = false;
    bool m_hiveDamaged = false;
};

} // namespace host
