#include "platform/files/LinuxFileSystem.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>
#include <unistd.h>

#include "platform/core/DataFolder.h"
#include "platform/files/Files.h"
#include "platform/text/WideString.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kMaxOffset = static_cast<uint64_t>(std::numeric_limits<off_t>::max());

// The platform's code for a kernel error. I/O errors and anything unforeseen become
// `otherwise`, which names the operation that failed.
DWORD ErrorFromErrno(int error, DWORD otherwise)
{
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
        return ERROR_SHARING_VIOLATION;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    default:
        return otherwise;
    }
}

DWORD LastErrno(DWORD otherwise)
{
    return ErrorFromErrno(errno, otherwise);
}

bool IsReadOnly(const struct stat& status)
{
    return (status.st_mode & S_IWUSR) == 0;
}

int64_t Nanoseconds(const struct timespec& time)
{
    return static_cast<int64_t>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

void FillEntry(const struct stat& status, EntryInfo& entry)
{
    bool directory = S_ISDIR(status.st_mode);
    entry.attributes = directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!directory && IsReadOnly(status))
        entry.attributes |= FILE_ATTRIBUTE_READONLY;
    entry.sizeBytes = directory ? 0 : static_cast<uint64_t>(status.st_size);
    entry.creationTime = FileTimeFromUnixNs(Nanoseconds(status.st_ctim));
    entry.lastAccessTime = FileTimeFromUnixNs(Nanoseconds(status.st_atim));
    entry.lastWriteTime = FileTimeFromUnixNs(Nanoseconds(status.st_mtim));
}

int OpenFlags(DWORD access)
{
    if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
        return O_RDWR;
    if (access & GENERIC_WRITE)
        return O_WRONLY;
    return O_RDONLY;
}

class LinuxFileStream final : public FileStream {
public:
    LinuxFileStream(int fd, ShareClaim claim)
        : m_fd(fd)
        , m_claim(std::move(claim))
    {
    }
    ~LinuxFileStream() override { ::close(m_fd); }
    LinuxFileStream(const LinuxFileStream&) = delete;
    LinuxFileStream& operator=(const LinuxFileStream&) = delete;

    DWORD ReadAt(uint64_t offset, void* buffer, DWORD size, DWORD& bytesRead) override
    {
        bytesRead = 0;
        auto* bytes = static_cast<char*>(buffer);
        while (bytesRead < size && offset + bytesRead < kMaxOffset) {
            ssize_t got = ::pread(m_fd, bytes + bytesRead, size - bytesRead, static_cast<off_t>(offset + bytesRead));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return LastErrno(ERROR_READ_FAULT);
            if (got == 0)
                break;
            bytesRead += static_cast<DWORD>(got);
        }
        return ERROR_SUCCESS;
    }

    DWORD WriteAt(uint64_t offset, const void* buffer, DWORD size, DWORD& bytesWritten) override
    {
        bytesWritten = 0;
        if (offset > kMaxOffset - size)
            return ERROR_DISK_FULL;
        const auto* bytes = static_cast<const char*>(buffer);
        while (bytesWritten < size) {
            ssize_t put = ::pwrite(m_fd, bytes + bytesWritten, size - bytesWritten, static_cast<off_t>(offset + bytesWritten));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return LastErrno(ERROR_WRITE_FAULT);
            if (put == 0)
                return ERROR_DISK_FULL;
            bytesWritten += static_cast<DWORD>(put);
        }
        return ERROR_SUCCESS;
    }

    DWORD GetSize(uint64_t& sizeBytes) override
    {
        struct stat status {};
        if (::fstat(m_fd, &status) != 0)
            return LastErrno(ERROR_READ_FAULT);
        sizeBytes = static_cast<uint64_t>(status.st_size);
        return ERROR_SUCCESS;
    }

    DWORD SetSize(uint64_t sizeBytes) override
    {
        if (sizeBytes > kMaxOffset)
            return ERROR_DISK_FULL;
        while (::ftruncate(m_fd, static_cast<off_t>(sizeBytes)) != 0) {
            if (errno != EINTR)
                return LastErrno(ERROR_WRITE_FAULT);
        }
        return ERROR_SUCCESS;
    }

    DWORD Flush() override
    {
        if (::fdatasync(m_fd) != 0)
            return LastErrno(ERROR_WRITE_FAULT);
        return ERROR_SUCCESS;
    }

private:
    int m_fd;
    ShareClaim m_claim;
};

class FdCloser {
public:
    explicit FdCloser(int& fd)
        : m_fd(fd)
    {
    }
    ~FdCloser()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int& m_fd;
};

} // namespace

std::shared_ptr<LinuxFileSystem> LinuxFileSystem::Create(const fs::path& deviceRoot, DWORD* error)
{
    DWORD ignored = ERROR_SUCCESS;
    DWORD& result = error != nullptr ? *error : ignored;
    std::error_code code;
    fs::create_directories(deviceRoot, code);
    if (code) {
        result = ErrorFromErrno(code.value(), ERROR_ACCESS_DENIED);
        return nullptr;
    }
    fs::path root = fs::canonical(deviceRoot, code);
    if (code) {
        result = ErrorFromErrno(code.value(), ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    if (!fs::is_directory(root, code)) {
        result = ERROR_DIRECTORY;
        return nullptr;
    }
    // A write past a file size limit is a full disk to the platform, not the end of the
    // process.
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        ::signal(SIGXFSZ, SIG_IGN);
    result = ERROR_SUCCESS;
    return std::shared_ptr<LinuxFileSystem>(new LinuxFileSystem(std::move(root)));
}

LinuxFileSystem::LinuxFileSystem(fs::path root)
    : m_root(std::move(root))
{
}

bool LinuxFileSystem::Inside(const fs::path& canonical) const
{
    const std::string& root = m_root.native();
    const std::string& path = canonical.native();
    if (root == "/")
        return true;
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/');
}

DWORD LinuxFileSystem::FindName(const fs::path& folder, const std::wstring& name, std::string& found) const
{
    found.clear();
    std::string exact = WideToUtf8(name);
    struct stat status {};
    if (::lstat((folder / exact).c_str(), &status) == 0) {
        found = exact;
        return ERROR_SUCCESS;
    }
    if (errno != ENOENT)
        return LastErrno(ERROR_ACCESS_DENIED);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return LastErrno(ERROR_ACCESS_DENIED);
    std::vector<std::string> matches;
    while (const dirent* item = ::readdir(dir)) {
        std::string_view candidate(item->d_name);
        if (candidate == "." || candidate == "..")
            continue;
        if (EqualsNoCase(Utf8ToWide(candidate), name))
            matches.emplace_back(candidate);
    }
    ::closedir(dir);
    if (!matches.empty())
        found = *std::min_element(matches.begin(), matches.end());
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::Resolve(const DevicePath& path, Resolved& resolved) const
{
    resolved = Resolved();
    if (path.IsRoot()) {
        resolved.entry = resolved.target = m_root;
        resolved.named = resolved.exists = true;
        if (::stat(m_root.c_str(), &resolved.status) != 0)
            return LastErrno(ERROR_PATH_NOT_FOUND);
        return ERROR_SUCCESS;
    }
    fs::path folder = m_root;
    const std::vector<std::wstring>& names = path.Names();
    for (size_t i = 0; i < names.size(); ++i) {
        bool last = i + 1 == names.size();
        std::string found;
        if (DWORD error = FindName(folder, names[i], found))
            return error;
        if (found.empty()) {
            if (!last)
                return ERROR_PATH_NOT_FOUND;
            resolved.entry = resolved.target = folder / WideToUtf8(names[i]);
            return ERROR_SUCCESS;
        }
        fs::path entry = folder / found;
        struct stat status {};
        if (::lstat(entry.c_str(), &status) != 0)
            return LastErrno(ERROR_ACCESS_DENIED);
        fs::path target = entry;
        bool isLink = S_ISLNK(status.st_mode);
        bool exists = true;
        if (isLink) {
            std::error_code code;
            fs::path linkText = fs::read_symlink(entry, code);
            if (code)
                return ErrorFromErrno(code.value(), ERROR_ACCESS_DENIED);
            target = fs::weakly_canonical(linkText.is_absolute() ? linkText : folder / linkText, code);
            if (code)
                return ErrorFromErrno(code.value(), ERROR_ACCESS_DENIED);
            if (!Inside(target))
                return ERROR_ACCESS_DENIED;
            if (::stat(target.c_str(), &status) != 0) {
                if (errno != ENOENT && errno != ENOTDIR)
                    return LastErrno(ERROR_ACCESS_DENIED);
                exists = false;
            }
        }
        if (!last) {
            if (!exists || !S_ISDIR(status.st_mode))
                return ERROR_PATH_NOT_FOUND;
            folder = target;
            continue;
        }
        resolved.entry = entry;
        resolved.target = target;
        resolved.named = true;
        resolved.exists = exists;
        resolved.isLink = isLink;
        if (exists)
            resolved.status = status;
    }
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::HostPath(const DevicePath& path, fs::path& hostPath) const
{
    Resolved resolved;
    if (DWORD error = Resolve(path, resolved))
        return error;
    hostPath = resolved.target;
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::Open(const DevicePath& path, DWORD access, DWORD shareMode, DWORD disposition,
    std::unique_ptr<FileStream>& stream, bool& existed)
{
    // An entry that appears or goes between the lookup and the open is looked at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        Resolved resolved;
        if (DWORD error = Resolve(path, resolved))
            return error;
        if (resolved.exists && !S_ISREG(resolved.status.st_mode) && !S_ISDIR(resolved.status.st_mode))
            return ERROR_ACCESS_DENIED;
        EntryState state { resolved.exists, resolved.exists && S_ISDIR(resolved.status.st_mode),
            resolved.exists && IsReadOnly(resolved.status) };
        OpenPlan plan = PlanOpen(state, access, disposition);
        if (plan.error)
            return plan.error;
        DWORD effective = EffectiveAccess(access, plan);

        int flags = OpenFlags(effective) | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
        if (plan.create)
            flags |= O_CREAT | O_EXCL;
        int fd = ::open(resolved.target.c_str(), flags, 0666);
        if (fd < 0) {
            int error = errno;
            if ((error == EEXIST && plan.create && disposition != CREATE_NEW) || (error == ENOENT && !plan.create))
                continue;
            if (error == EEXIST)
                return ERROR_FILE_EXISTS;
            if (error == ENOENT)
                return ERROR_PATH_NOT_FOUND; // the folder went away
            return ErrorFromErrno(error, ERROR_ACCESS_DENIED);
        }
        FdCloser closer(fd);
        struct stat status {};
        if (::fstat(fd, &status) != 0)
            return LastErrno(ERROR_ACCESS_DENIED);
        if (!S_ISREG(status.st_mode))
            return ERROR_ACCESS_DENIED;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

        ShareClaim claim;
        ShareTable::FileKey key { static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino) };
        if (DWORD error = ShareTable::Claim(m_shares, key, effective, shareMode, claim))
            return error;
        if ((effective & (GENERIC_READ | GENERIC_WRITE)) != 0) {
            int operation = (shareMode == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB;
            while (::flock(fd, operation) != 0) {
                if (errno == EINTR)
                    continue;
                return errno == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : LastErrno(ERROR_ACCESS_DENIED);
            }
        }
        if (plan.truncate) {
            while (::ftruncate(fd, 0) != 0) {
                if (errno != EINTR)
                    return LastErrno(ERROR_ACCESS_DENIED);
            }
            // From here on the handle counts with the access it asked for.
            if (effective != access)
                ShareTable::Claim(m_shares, key, access, shareMode, claim);
        }
        existed = !plan.create;
        stream = std::make_unique<LinuxFileStream>(fd, std::move(claim));
        fd = -1;
        return ERROR_SUCCESS;
    }
    return ERROR_SHARING_VIOLATION;
}

bool LinuxFileSystem::ListEntry(const fs::path& folder, const std::string& name, EntryInfo& entry) const
{
    fs::path path = folder / name;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return false;
    if (S_ISLNK(status.st_mode)) {
        // Links are listed as what they stand for, and only when that is on the device.
        std::error_code code;
        fs::path target = fs::canonical(path, code);
        if (code || !Inside(target) || ::stat(target.c_str(), &status) != 0)
            return false;
    }
    if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
        return false;
    FillEntry(status, entry);
    entry.name = Utf8ToWide(name);
    return true;
}

DWORD LinuxFileSystem::GetEntry(const DevicePath& path, EntryInfo& entry)
{
    Resolved resolved;
    if (DWORD error = Resolve(path, resolved))
        return error;
    if (!resolved.exists)
        return ERROR_FILE_NOT_FOUND;
    FillEntry(resolved.status, entry);
    entry.name = path.IsRoot() ? std::wstring() : Utf8ToWide(resolved.entry.filename().native());
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::ListFolder(const DevicePath& folder, std::vector<EntryInfo>& entries)
{
    entries.clear();
    Resolved resolved;
    if (DWORD error = Resolve(folder, resolved))
        return error;
    if (!resolved.exists || !S_ISDIR(resolved.status.st_mode))
        return ERROR_PATH_NOT_FOUND;
    DIR* dir = ::opendir(resolved.target.c_str());
    if (dir == nullptr)
        return LastErrno(ERROR_ACCESS_DENIED);
    while (const dirent* item = ::readdir(dir)) {
        std::string name(item->d_name);
        if (name == "." || name == "..")
            continue;
        EntryInfo entry;
        if (ListEntry(resolved.target, name, entry))
            entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::CreateDirectory(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ALREADY_EXISTS;
    Resolved resolved;
    if (DWORD error = Resolve(path, resolved))
        return error;
    if (resolved.named)
        return ERROR_ALREADY_EXISTS;
    if (::mkdir(resolved.target.c_str(), 0777) != 0)
        return LastErrno(ERROR_ACCESS_DENIED);
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::RemoveDirectory(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ACCESS_DENIED;
    Resolved resolved;
    if (DWORD error = Resolve(path, resolved))
        return error;
    if (!resolved.named)
        return ERROR_FILE_NOT_FOUND;
    if (!resolved.exists || !S_ISDIR(resolved.status.st_mode))
        return ERROR_DIRECTORY;
    // A link to a folder is removed as the link, leaving the folder it names.
    int result = resolved.isLink ? ::unlink(resolved.entry.c_str()) : ::rmdir(resolved.entry.c_str());
    if (result != 0)
        return errno == EEXIST ? ERROR_DIR_NOT_EMPTY : LastErrno(ERROR_ACCESS_DENIED);
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::ProbeUnused(const Resolved& file, int& probe) const
{
    probe = -1;
    ShareTable::FileKey key { static_cast<uint64_t>(file.status.st_dev), static_cast<uint64_t>(file.status.st_ino) };
    if (m_shares->InUse(key))
        return ERROR_SHARING_VIOLATION;
    probe = ::open(file.target.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (probe < 0)
        return ERROR_SUCCESS; // unreadable: nobody here can hold it, and the kernel decides the rest
    while (::flock(probe, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::DeleteFile(const DevicePath& path)
{
    if (path.IsRoot())
        return ERROR_ACCESS_DENIED;
    Resolved resolved;
    if (DWORD error = Resolve(path, resolved))
        return error;
    if (!resolved.named)
        return ERROR_FILE_NOT_FOUND;
    if (resolved.exists && S_ISDIR(resolved.status.st_mode))
        return ERROR_ACCESS_DENIED;
    int probe = -1;
    FdCloser closer(probe);
    if (!resolved.isLink) {
        if (IsReadOnly(resolved.status))
            return ERROR_ACCESS_DENIED;
        if (DWORD error = ProbeUnused(resolved, probe))
            return error;
    }
    if (::unlink(resolved.entry.c_str()) != 0)
        return LastErrno(ERROR_ACCESS_DENIED);
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::MoveEntry(const DevicePath& from, const DevicePath& to)
{
    if (from.IsRoot() || to.IsRoot())
        return ERROR_ACCESS_DENIED;
    Resolved source;
    if (DWORD error = Resolve(from, source))
        return error;
    if (!source.named)
        return ERROR_FILE_NOT_FOUND;
    Resolved destination;
    if (DWORD error = Resolve(to, destination))
        return error;
    fs::path newEntry = destination.entry;
    if (destination.named) {
        if (destination.entry != source.entry)
            return ERROR_ALREADY_EXISTS;
        // The same entry under another case: the move renames it to the case given.
        newEntry = destination.entry.parent_path() / WideToUtf8(to.Leaf());
        if (newEntry == source.entry)
            return ERROR_SUCCESS;
    }
    bool isFolder = source.exists && S_ISDIR(source.status.st_mode);
    if (isFolder && !source.isLink) {
        const std::string& folder = source.target.native();
        const std::string& into = newEntry.native();
        if (into.size() > folder.size() && into.compare(0, folder.size(), folder) == 0 && into[folder.size()] == '/')
            return ERROR_ACCESS_DENIED;
    }
    int probe = -1;
    FdCloser closer(probe);
    if (source.exists && !source.isLink && !isFolder) {
        if (DWORD error = ProbeUnused(source, probe))
            return error;
    }
    if (::renameat2(AT_FDCWD, source.entry.c_str(), AT_FDCWD, newEntry.c_str(), RENAME_NOREPLACE) == 0)
        return ERROR_SUCCESS;
    if (errno != EINVAL)
        return LastErrno(ERROR_ACCESS_DENIED);
    // A file system without no-replace renames: check, then rename.
    struct stat status {};
    if (::lstat(newEntry.c_str(), &status) == 0)
        return ERROR_ALREADY_EXISTS;
    if (::rename(source.entry.c_str(), newEntry.c_str()) != 0)
        return LastErrno(ERROR_ACCESS_DENIED);
    return ERROR_SUCCESS;
}

DWORD LinuxFileSystem::ReplaceFile(const DevicePath& from, const DevicePath& to)
{
    if (from.IsRoot() || to.IsRoot())
        return ERROR_ACCESS_DENIED;
    Resolved source;
    if (DWORD error = Resolve(from, source))
        return error;
    if (!source.named)
        return ERROR_FILE_NOT_FOUND;
    if (source.exists && S_ISDIR(source.status.st_mode))
        return ERROR_ACCESS_DENIED;
    Resolved destination;
    if (DWORD error = Resolve(to, destination))
        return error;
    // Nothing to replace, or the same entry under another case: an ordinary move.
    if (!destination.named || destination.entry == source.entry)
        return MoveEntry(from, to);
    if (destination.exists && S_ISDIR(destination.status.st_mode))
        return ERROR_ACCESS_DENIED;
    int sourceProbe = -1;
    FdCloser sourceCloser(sourceProbe);
    if (source.exists && !source.isLink) {
        if (DWORD error = ProbeUnused(source, sourceProbe))
            return error;
    }
    int destinationProbe = -1;
    FdCloser destinationCloser(destinationProbe);
    if (destination.exists && !destination.isLink) {
        if (IsReadOnly(destination.status))
            return ERROR_ACCESS_DENIED;
        if (DWORD error = ProbeUnused(destination, destinationProbe))
            return error;
    }
    if (::rename(source.entry.c_str(), destination.entry.c_str()) != 0)
        return LastErrno(ERROR_ACCESS_DENIED);
    return ERROR_SUCCESS;
}

DWORD InstallLinuxFileSystem(const fs::path& dataFolder)
{
    DWORD error = ERROR_SUCCESS;
    std::shared_ptr<LinuxFileSystem> fileSystem = LinuxFileSystem::Create(DeviceRoot(dataFolder), &error);
    if (!fileSystem)
        return error;
    InstallFileSystem(std::move(fileSystem));
    return ERROR_SUCCESS;
}

} // namespace platform
