// The file system backend for the real run: device paths map into a device root folder on
// this machine (names UTF-8 on disk). Lookup ignores case name by name (an exact name first,
// then the first case-insensitive match in byte order), new entries keep the case given, and
// a path that would leave the root, through ".." or a symbolic link, is refused with
// ERROR_ACCESS_DENIED. Opens are held against other processes with flock() on each open
// file: exclusive for share mode 0, shared otherwise, taken before any truncation; a file
// held that way by another process cannot be deleted or renamed either. Within the process
// the share modes are checked exactly (ShareTable). Read-only means the owner's write
// permission is off, whoever runs the process.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>

#include "platform/files/FileSystem.h"
#include "platform/files/ShareTable.h"

namespace platform {

class LinuxFileSystem final : public FileSystem {
public:
    // Creates the root folder (all levels) when missing. Null, with the error in *error,
    // when it cannot be made or is not a folder.
    static std::shared_ptr<LinuxFileSystem> Create(const std::filesystem::path& deviceRoot, DWORD* error = nullptr);

    // The canonical root folder.
    const std::filesystem::path& Root() const { return m_root; }
    // Where a device path leads on this machine now (an existing entry with the case it has
    // on disk); the lookup's error when it cannot be followed.
    DWORD HostPath(const DevicePath& path, std::filesystem::path& hostPath) const;

    DWORD Open(const DevicePath& path, DWORD access, DWORD shareMode, DWORD disposition,
        std::unique_ptr<FileStream>& stream, bool& existed) override;
    DWORD GetEntry(const DevicePath& path, EntryInfo& entry) override;
    DWORD ListFolder(const DevicePath& folder, std::vector<EntryInfo>& entries) override;
    DWORD CreateDirectory(const DevicePath& path) override;
    DWORD RemoveDirectory(const DevicePath& path) override;
    DWORD DeleteFile(const DevicePath& path) override;
    DWORD MoveEntry(const DevicePath& from, const DevicePath& to) override;
    DWORD ReplaceFile(const DevicePath& from, const DevicePath& to) override;

private:
    explicit LinuxFileSystem(std::filesystem::path root);

    // What a device path names on disk.
    struct Resolved {
        std::filesystem::path entry;  // the folder entry named (a link itself when it is one)
        std::filesystem::path target; // what it stands for, inside the root
        bool named = false;           // the folder has an entry of that name
        bool exists = false;          // and what it stands for exists (not for a dangling link)
        bool isLink = false;
        struct stat status {};        // of the target, when it exists
    };

    DWORD Resolve(const DevicePath& path, Resolved& resolved) const;
    // The on-disk name in a folder that a device name stands for; empty when none.
    DWORD FindName(const std::filesystem::path& folder, const std::wstring& name, std::string& found) const;
    bool Inside(const std::filesystem::path& canonical) const;
    // ERROR_SHARING_VIOLATION while this process or another holds the file open; otherwise
    // the file stays locked until the probe is closed, and the caller closes it.
    DWORD ProbeUnused(const Resolved& file, int& probe) const;
    bool ListEntry(const std::filesystem::path& folder, const std::string& name, EntryInfo& entry) const;

    std::filesystem::path m_root;
    std::shared_ptr<ShareTable> m_shares = std::make_shared<ShareTable>();
};

// Installs the Linux backend over the device root of a data folder, creating the root.
// ERROR_SUCCESS, or the code and nothing installed.
DWORD InstallLinuxFileSystem(const std::filesystem::path& dataFolder);

} // namespace platform
