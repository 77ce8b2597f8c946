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
    // seeded Comm already). simulation: a scenario file played as the device run plays it (its
    // network, modem and clock) over a copy of the registry in memory, so that the data folder
    // is left as it was.
    static std::unique_ptr<NetworkSession> Open(const std::filesystem::path& dataFolder,
        const std::optional<std::string>& simulation, std::string& error);
    ~NetworkSession();

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
    bool m_readOnly = false;
    bool m_hiveDamaged = false;
};

} // namespace host
