// A fresh, empty, memory-only registry for the lifetime of the object; no registry after.
#pragma once

namespace testing_support {

class MemoryRegistryScope {
public:
    MemoryRegistryScope();
    ~MemoryRegistryScope();
    MemoryRegistryScope(const MemoryRegistryScope&) = delete;
    MemoryRegistryScope& operator=(const MemoryRegistryScope&) = delete;
};

} // namespace testing_support
