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

LONG CheckRegistryStoreWritable(std::string& detail)
{
    RegistryState& state = RegistryState::Instance();
    std::lock_guard lock(state.Mutex());
    return state.CheckHiveWritable(detail);
}

void ResetRegistryForTests()
{
    OpenRegistryStore({}, RegistryStoreMode::MemoryOnly);
}

} // namespace platform
