// The backend behind the platform's file calls. The calls in Files.h check their arguments,
// keep each handle's access rights and file pointer, and ask the installed backend for the
// rest: the Linux backend over a device root folder, or the simulated in-memory tree. Both
// give the platform's results and error codes; the rules they share are here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/files/DevicePath.h"
#include "platform/registry/Registry.h" // FILETIME

namespace platform {

// One directory entry as the find calls report it.
struct EntryInfo {
    std::wstring name;
    DWORD attributes = 0;
    uint64_t sizeBytes = 0;
    FILETIME creationTime {};
    FILETIME lastAccessTime {};
    FILETIME lastWriteTime {};
};

// An open file of a backend. It stays usable after its backend is uninstalled, and closing
// it (destroying it) ends its share claim and lock. Results are ERROR_SUCCESS or a code.
class FileStream {
public:
    virtual ~FileStream() = default;
    // Up to size bytes from offset; fewer at the end of the file, none past it.
    virtual DWORD ReadAt(uint64_t offset, void* buffer, DWORD size, DWORD& bytesRead) = 0;
    // A write past the end first fills the gap with zero bytes. One cut short by a full disk
    // reports the bytes it wrote with ERROR_DISK_FULL.
    virtual DWORD WriteAt(uint64_t offset, const void* buffer, DWORD size, DWORD& bytesWritten) = 0;
    virtual DWORD GetSize(uint64_t& sizeBytes) = 0;
    virtual DWORD SetSize(uint64_t sizeBytes) = 0;
    virtual DWORD Flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // CreateFileW after its arguments were checked. existed: the file was there before (the
    // caller then reports ERROR_ALREADY_EXISTS for CREATE_ALWAYS and OPEN_ALWAYS).
    virtual DWORD Open(const DevicePath& path, DWORD access, DWORD shareMode, DWORD disposition,
        std::unique_ptr<FileStream>& stream, bool& existed)
        = 0;
    // The entry's attributes, size and times; its name as stored.
    virtual DWORD GetEntry(const DevicePath& path, EntryInfo& entry) = 0;
    // Every entry of a folder, in no particular order; ERROR_PATH_NOT_FOUND when the folder
    // is missing or is a file.
    virtual DWORD ListFolder(const DevicePath& folder, std::vector<EntryInfo>& entries) = 0;
    virtual DWORD CreateDirectory(const DevicePath& path) = 0;
    virtual DWORD RemoveDirectory(const DevicePath& path) = 0;
    virtual DWORD DeleteFile(const DevicePath& path) = 0;
    // Files and folders; never replaces an existing entry, but may change the case of a name.
    virtual DWORD MoveEntry(const DevicePath& from, const DevicePath& to) = 0;
    // A file put in the place of another file (or of no entry) in one step: whoever opens the
    // destination finds the old file or the new one, never neither. Never a folder.
    virtual DWORD ReplaceFile(const DevicePath& from, const DevicePath& to) = 0;
};

// The backend every file call goes to, process-wide. Until one is installed the calls fail
// with ERROR_NOT_READY: there is no silent default.
void InstallFileSystem(std::shared_ptr<FileSystem> fileSystem);
void UninstallFileSystem();
std::shared_ptr<FileSystem> CurrentFileSystem();

// --- Rules both backends follow -------------------------------------------------------------

// What a path names when an open arrives.
struct EntryState {
    bool exists = false;
    bool isDirectory = false;
    bool readOnly = false;
};

// What an open does, by the platform's rules for creation dispositions.
struct OpenPlan {
    DWORD error = ERROR_SUCCESS;
    bool create = false;   // the file is to be created (it did not exist)
    bool truncate = false; // an existing file is to be emptied
};
OpenPlan PlanOpen(const EntryState& entry, DWORD access, DWORD disposition);

// Truncating writes the file, so an open that truncates is checked and locked as a writer.
DWORD EffectiveAccess(DWORD access, const OpenPlan& plan);

// Timestamps: 100-nanosecond intervals since 1601 from nanoseconds since 1970.
FILETIME FileTimeFromUnixNs(int64_t unixNs);

} // namespace platform
