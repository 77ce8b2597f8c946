#include "host/tools/NetworkSession.h"

#include <fstream>
#include <iterator>

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
    if (simulation) {
        std::ifstream in(*simulation, std::ios::binary);
        if (!in) {
            error = "cannot read the scenario " + *simulation;
            return nullptr;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        platform::ScenarioParseResult parsed = platform::ParseScenario(text);
        if (!parsed.error.empty()) {
            error = *simulation + ":" + std::to_string(parsed.errorLine) + ": " + parsed.error;
            return nullptr;
        }
        for (const platform::ScenarioCommand& command : parsed.commands) {
            std::string problem = platform::SimNetwork::CheckCommand(command);
            if (problem == "unknown command")
                problem = platform::SimModem::CheckCommand(command);
            if (!problem.empty()) {
                error = *simulation + ":" + std::to_string(command.line) + ": " + problem;
                return nullptr;
            }
        }
        session->m_simulation = std::make_unique<platform::SimNetwork>();
        session->m_simulation->Schedule(parsed.commands);
        platform::InstallNetBackend(session->m_simulation.get());
        session->m_modem = std::make_unique<platform::SimModem>();
        session->m_modem->Schedule(parsed.commands);
        platform::InstallPhoneBackend(session->m_modem.get());
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
        platform::InstallNetBackend(nullptr);
        platform::InstallPhoneBackend(nullptr);
        return nullptr;
    }
    session->m_hiveDamaged = !opened.damage.empty();
    if (!session->m_readOnly && !simulation)
        platform::SeedCommAdapterKeys();
    session->m_objects = std::make_unique<Objects>();
    return session;
}

NetworkSession::~NetworkSession()
{
    m_objects.reset();
    if (platform::IsRegistryStoreOpen())
        platform::CloseRegistryStore();
    if (m_simulation) {
        platform::InstallNetBackend(nullptr);
        platform::InstallPhoneBackend(nullptr);
    }
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
