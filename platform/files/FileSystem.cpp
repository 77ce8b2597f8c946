#include "platform/files/FileSystem.h"

#include <mutex>

#include "platform/files/Files.h"

namespace platform {

namespace {

std::mutex g_installMutex;
std::shared_ptr<FileSystem> g_fileSystem;

} // namespace

void InstallFileSystem(std::shared_ptr<FileSystem> fileSystem)
{
    std::shared_ptr<FileSystem> previous;
    {
        std::lock_guard lock(g_installMutex);
        previous = std::move(g_fileSystem);
        g_fileSystem = std::move(fileSystem);
    }
}

void UninstallFileSystem()
{
    InstallFileSystem(nullptr);
}

std::shared_ptr<FileSystem> CurrentFileSystem()
{
    std::lock_guard lock(g_installMutex);
    return g_fileSystem;
}

OpenPlan PlanOpen(const EntryState& entry, DWORD access, DWORD disposition)
{
    OpenPlan plan;
    if (!entry.exists) {
        if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING)
            plan.error = ERROR_FILE_NOT_FOUND;
        else
            plan.create = true;
        return plan;
    }
    if (disposition == CREATE_NEW) {
        plan.error = ERROR_FILE_EXISTS;
        return plan;
    }
    if (entry.isDirectory) {
        plan.error = ERROR_ACCESS_DENIED;
        return plan;
    }
    plan.truncate = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (entry.readOnly && ((access & GENERIC_WRITE) != 0 || plan.truncate))
        plan.error = ERROR_ACCESS_DENIED;
    return plan;
}

DWORD EffectiveAccess(DWORD access, const OpenPlan& plan)
{
    return plan.truncate ? (access | GENERIC_WRITE) : access;
}

FILETIME FileTimeFromUnixNs(int64_t unixNs)
{
    constexpr int64_t kIntervalsFrom1601To1970 = 116444736000000000LL;
    int64_t intervals = unixNs / 100 + kIntervalsFrom1601To1970;
    if (intervals < 0)
        intervals = 0;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(intervals) & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(intervals) >> 32);
    return time;
}

} // namespace platform
