// Where the registry behind the Reg* calls lives. Until a store is opened there is no
// registry: every call fails with ERROR_INVALID_HANDLE, so that a program that forgot to
// open its hive cannot quietly run on an empty one.
//
// ReadWrite   loads the hive file and keeps it up to date. The hive is locked for the
//             process (flock on "<hive>.lock", not waiting): a second writer is refused.
//             Changes mark the registry dirty; the file is rewritten atomically (temporary
//             file, fsync, rename, fsync of the folder) when a key handle is closed or
//             flushed while dirty, and when the store is closed. A hive with bad lines is
//             moved aside to "<hive>.corrupt-YYYYMMDD-HHMMSS", reported on stderr in one
//             line naming the first bad line, and its good keys are kept and written back;
//             a file that is no registry file at all leaves the registry empty.
// ReadOnly    loads the hive without the lock and refuses every change with
//             ERROR_ACCESS_DENIED. A hive with bad lines is left where it is, reported, and
//             loaded without them; one that is no registry file fails the opening.
// A hive path that is no regular file (a FIFO, a device, a folder) fails the opening.
// Copy        loads the hive as ReadOnly does and takes changes in memory only: the file is
//             never written (a simulation over a user's registry).
// MemoryOnly  an empty registry that no file backs, for tests and simulations.
//
// Opening a store closes the previous one first (writing it if dirty); the handles of the
// previous store become invalid.
#pragma once

#include <filesystem>
#include <string>

#include "platform/core/WinTypes.h"

namespace platform {

enum class RegistryStoreMode { ReadWrite, ReadOnly, Copy, MemoryOnly };

enum class RegistryStoreStatus {
    Opened,
    InUse, // another process holds the hive's lock
    Unreadable, // the hive (or its folder or lock file) cannot be read or created, or, read-only, parsed
};

struct RegistryStoreResult {
    RegistryStoreStatus status = RegistryStoreStatus::Opened;
    // For InUse and Unreadable: one line saying what failed, without a program's name.
    std::string detail;
    // Set when a damaged hive was moved aside (the store still opened, with its good keys).
    std::filesystem::path movedAsideTo;
    // The hive's first bad line and how many more ("line 12: ..."), when it had any: the
    // store opened without them, and a tool says so with a non-zero exit.
    std::string damage;

    bool Ok() const { return status == RegistryStoreStatus::Opened; }
};

RegistryStoreResult OpenRegistryStore(const std::filesystem::path& hivePath, RegistryStoreMode mode);
// Writes the hive if it changed and releases the lock; afterwards there is no registry. A
// process that ends normally without calling it has its store closed at exit.
// ERROR_SUCCESS, or ERROR_CANTWRITE when the final write failed (reported on stderr).
LONG CloseRegistryStore();
bool IsRegistryStoreOpen();
// For a read-write store: whether the hive could be written now, tried without touching it,
// so that a tool can refuse a change it could not keep before making it. ERROR_SUCCESS, or
// ERROR_CANTWRITE with detail saying which file cannot be written and why (one line, without
// a program's name); ERROR_ACCESS_DENIED for a store that is not read-write.
LONG CheckRegistryStoreWritable(std::string& detail);

// A fresh, empty, memory-only registry: what every test starts from.
void ResetRegistryForTests();

} // namespace platform
