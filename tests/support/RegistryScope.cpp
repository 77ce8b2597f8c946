#include "support/RegistryScope.h"

#include "platform/registry/RegistryStore.h"

namespace testing_support {

MemoryRegistryScope::MemoryRegistryScope()
{
    platform::ResetRegistryForTests();
}

MemoryRegistryScope::~MemoryRegistryScope()
{
    platform::CloseRegistryStore();
}

} // namespace testing_support
