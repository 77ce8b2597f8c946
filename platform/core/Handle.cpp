#include "platform/core/Handle.h"

#include <mutex>
#include <unordered_map>

#include "platform/core/LastError.h"

namespace platform {

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::unique_ptr<KernelObject>> objects;
    uintptr_t next = 0x100;
};

HandleTable& Table()
{
    static HandleTable table;
    return table;
}

} // namespace

HANDLE RegisterHandle(std::unique_ptr<KernelObject> object)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    // Handle values are never reused, so a stale handle stays invalid.
    uintptr_t value = table.next;
    table.next += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

KernelObject* LookupHandle(HANDLE handle)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

bool ReleaseHandle(HANDLE handle)
{
    std::unique_ptr<KernelObject> doomed;
    {
        HandleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
        if (it == table.objects.end())
            return false;
        doomed = std::move(it->second);
        table.objects.erase(it);
    }
    return true; // destroyed outside the lock: closing may take time
}

size_t LiveHandleCount()
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return table.objects.size();
}

} // namespace platform

BOOL CloseHandle(HANDLE handle)
{
    if (!platform::ReleaseHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
