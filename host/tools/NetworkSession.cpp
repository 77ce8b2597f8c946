#include "host/tools/NetworkSession.h"

#include "host/CommandLine.h"
#include "host/modes/SimulatedDevice.h"
#include "netinfo/AdapterTracking.h"
#include "platform/core/DataFolder.h"
#include "platform/net/CommSeeding.h"
#include "platform/phone/PhoneBackend.h"
#include "platform/registry/RegistryStore.h"

namespace host {

std::unique_ptr<NetworkSession> NetworkSession::Open(const std::filesystem::path& dataFolder,
    const std::optional<std::string>& simulation, std::string& error)
{
    std::unique_ptr<NetworkSession> session(new NetworkSession);
    session->m_dataFolder = dataFolder;
    if (simulation) {
        // The scenario as the device run plays it: its clock lines set the time, the modem's
        // telephony is off unless it says otherwise, and the adapters get their keys.
        session->m_simulation = std::make_unique<SimulatedDevice>();
        if (std::string problem = session->m_simulation->Load(*simulation); !problem.empty()) {
            error = problem;
            return nullptr;
        }
        // The simulated adapters' keys go into a copy: the user's hive is left as it was.
        platform::RegistryStoreResult copied
            = platform::OpenRegistryStore(platform::HivePath(dataFolder), platform::RegistryStoreMode::Copy);
        if (!copied.Ok()) {
            error = copied.detail;
            return nullptr;
        }
        session->m_hiveDamaged = !copied.damage.empty();
        session->m_simulation->Start();
        platform::SeedCommAdapterKeys();
        session->m_objects = std::make_unique<Objects>();
        return session;
    }

    std::error_code made;
    std::filesystem::create_directories(dataFolder, made);
    platform::RegistryStoreResult opened = platform::OpenRegistryStore(platform::HivePath(dataFolder), platform::RegistryStoreMode::ReadWrite);
    if (opened.status == platform::RegistryStoreStatus::InUse) {
        opened = platform::OpenRegistryStore(platform::HivePath(dataFolder), platform::RegistryStoreMode::ReadOnly);
        session->m_readOnly = true;
    }
    if (!opened.Ok()) {
        error = opened.detail;
        return nullptr;
    }
    session->m_hiveDamaged = !opened.damage.empty();
    if (!session->m_readOnly) {
        if (std::string detail; platform::CheckRegistryStoreWritable(detail) != ERROR_SUCCESS) {
            error = detail + "; the adapter keys of this machine's interfaces are kept there";
            return nullptr;
        }
        platform::SeedCommAdapterKeys();
    }
    session->m_objects = std::make_unique<Objects>();
    return session;
}

NetworkSession::~NetworkSession()
{
    Close();
    m_simulation.reset(); // takes its network, modem and clock out again
}

LONG NetworkSession::Close()
{
    m_objects.reset();
    if (!platform::IsRegistryStoreOpen())
        return ERROR_SUCCESS;
    return platform::CloseRegistryStore();
}

int NetworkSession::Finish(const std::string& command)
{
    if (Close() != ERROR_SUCCESS) {
        PrintError(command + ": the adapter keys could not be written to the registry in " + m_dataFolder.string());
        return 1;
    }
    return m_hiveDamaged ? 1 : 0;
}

DWORD NetworkSession::TrackedIndex()
{
    return TrackedAdapterIndex(m_objects->settings, m_objects->interfaces, m_objects->adapters);
}

DWORD NetworkSession::ActivityState()
{
    // Without a tick behind it, "connected" is as far as the state can be told.
    if (m_objects->interfaces.InterfaceCount() < 2 || TrackedIndex() == IndexNotFound)
        return 5;
    return 1;
}

std::string NetworkSession::SystemNameOf(DWORD index)
{
    platform::NetSnapshot snapshot;
    if (platform::CurrentNetBackend().Query(platform::kNetLinks, snapshot) != NO_ERROR)
        return {};
    for (const platform::NetInterface& entry : snapshot.interfaces)
        if ((entry.index & 0xFFFFu) == index)
            return entry.systemName;
    return {};
}

} // namespace host
