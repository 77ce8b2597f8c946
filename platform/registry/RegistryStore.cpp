#include "platform/registry/RegistryStore.h"

#include "platform/registry/RegistryState.h"

namespace platform {

RegistryStoreResult OpenRegistryStore(const std::filesystem::path& hivePath, RegistryStoreMode mode)
{
    RegistryState& state = RegistryState::Instance();
    std::lock_guard lock(state.Mutex());
    return state.Open(hivePath, mode);
}

LONG CloseRegistryStore()
{
    RegistryState& state = RegistryState::Instance();
    std::lock_guard lock(state.Mutex());
    return state.Close();
}

bool IsRegistryStoreOpen()
{
    RegistryState& state = RegistryState::Instance();
    std::lock_guard lock(state.Mutex());
    return state.IsOpen();
}

void ResetRegistryForTests()
{
    OpenRegistryStore({}, RegistryStoreMode::MemoryOnly);
}

} // namespace platform
