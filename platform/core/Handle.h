// Kernel object handles: every HANDLE the platform gives out (open files, find searches,
// processes) is registered here, so CloseHandle and the calls taking a handle can tell a live
// handle from a stale or invented one (ERROR_INVALID_HANDLE).
#pragma once

#include <memory>

#include "platform/core/WinTypes.h"

namespace platform {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// Takes ownership and returns the new handle.
HANDLE RegisterHandle(std::unique_ptr<KernelObject> object);
// The object behind a live handle, or null (last error ERROR_INVALID_HANDLE) when the handle
// is not live or not of type T. The pointer stays valid until the handle is closed.
KernelObject* LookupHandle(HANDLE handle);
template <typename T>
T* LookupHandleAs(HANDLE handle)
{
    return dynamic_cast<T*>(LookupHandle(handle));
}
// Removes and destroys; false when the handle was not live.
bool ReleaseHandle(HANDLE handle);
// Live handles, for tests that check nothing leaks.
size_t LiveHandleCount();

} // namespace platform

BOOL CloseHandle(HANDLE handle);
