#include "host/tools/NetworkSession.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "host/modes/SimulatedDevice.h"
#include "netinfo/AdapterTracking.h"
#include "platform/core/DataFolder.h"
#include "platform/net/CommSeeding.h"
#include "platform/phone/PhoneBackend.h"
#include "platform/registry/RegistryExchange.h"
#include "platform/registry/RegistryStore.h"

namespace host {

namespace {

// The data folder's registry as it stands, in memory only: a simulation seeds its own adapters
// and must never write them into the user's hive. False when the hive had bad lines (they
// are left out and reported).
bool CopyHiveIntoMemory(const std::filesystem::path& dataFolder)
{
    platform::OpenRegistryStore(platform::HivePath(dataFolder), platform::RegistryStoreMode::MemoryOnly);
    std::ifstream in(platform::HivePath(dataFolder), std::ios::binary);
    if (!in)
        return true;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    platform::RegFileError fault;
    if (platform::ImportRegistryFile(text, fault) == ERROR_SUCCESS)
        return true;
    std::fprintf(stderr, "registry: the hive %s cannot be used (%s); the simulation starts from an empty registry\n",
        platform::HivePath(dataFolder).c_str(), fault.Describe().c_str());
    return false;
}

} // namespace

std::unique_ptr<NetworkSession> NetworkSession::Open(const std::filesystem::path& dataFolder,
    const std::optional<std::string>& simulation, std::string& error)
{
    std::unique_ptr<NetworkSession> session(new NetworkSession);
    if (simulation) {
        // The scenario as the device run plays it: its clock lines set the time, the modem's
        // telephony is off unless it says otherwise, and the adapters get their keys.
        session->m_simulation = std::make_unique<SimulatedDevice>();
        if (std::string problem = session->m_simulation->Load(*simulation); !problem.empty()) {
            error = problem;
            return nullptr;
        }
        session->m_hiveDamaged = !CopyHiveIntoMemory(dataFolder);
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
    if (!session->m_readOnly)
        platform::SeedCommAdapterKeys();
    session->m_objects = std::make_unique<Objects>();
    return session;
}

NetworkSession::~NetworkSession()
{
    m_objects.reset();
    if (platform::IsRegistryStoreOpen())
        platform::CloseRegistryStore();
    m_simulation.reset(); // takes its network, modem and clock out again
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
