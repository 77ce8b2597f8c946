// The process's registry: the key tree, the table of open key handles and the store behind
// them. Internal to platform/registry; everything else goes through Registry.h and
// RegistryStore.h. Every member function expects the caller to hold Mutex().
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/registry/HiveFile.h"
#include "platform/registry/RegistryStore.h"
#include "platform/registry/RegistryTree.h"

namespace platform {

class RegistryState {
public:
    static RegistryState& Instance();

    std::mutex& Mutex() { return m_mutex; }

    bool IsOpen() const { return m_open; }
    RegistryTree& Tree() { return *m_tree; }

    // The key behind a handle: ERROR_INVALID_HANDLE for one that is not open (or no store),
    // ERROR_KEY_DELETED for one whose key was deleted since.
    LONG Resolve(HKEY key, std::shared_ptr<KeyNode>& node) const;
    HKEY AddHandle(std::shared_ptr<KeyNode> node);
    // False when the handle was not open. Predefined roots are not in the table.
    bool RemoveHandle(HKEY key);
    size_t OpenHandleCount() const { return m_handles.size(); }

    // ERROR_ACCESS_DENIED for a read-only store.
    LONG CheckWritable() const;
    void MarkDirty() { m_dirty = true; }
    // Rewrites the hive when it changed (read-write store only). ERROR_CANTWRITE on failure,
    // reported on stderr once until a write succeeds again; the change stays dirty. The last
    // write, at close, has no later chance: its failure is reported as changes lost.
    LONG PersistIfDirty(bool last = false);
    // See CheckRegistryStoreWritable.
    LONG CheckHiveWritable(std::string& detail) const;

    RegistryStoreResult Open(const std::filesystem::path& hivePath, RegistryStoreMode mode);
    LONG Close();

private:
    RegistryState();
    // A program that ends without closing its store still gets its last changes written.
    ~RegistryState();

    std::mutex m_mutex;
    bool m_open = false;
    RegistryStoreMode m_mode = RegistryStoreMode::MemoryOnly;
    std::unique_ptr<RegistryTree> m_tree;
    std::unique_ptr<HiveFile> m_hive;
    std::unordered_map<uintptr_t, std::shared_ptr<KeyNode>> m_handles;
    // Handle values are never reused, also across stores, so a stale handle stays invalid.
    uintptr_t m_nextHandle = 0x1000;
    bool m_dirty = false;
    bool m_writeFailureReported = false;
};

} // namespace platform
