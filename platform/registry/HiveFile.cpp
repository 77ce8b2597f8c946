#include "platform/registry/HiveFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/WholeFile.h"
#include "platform/time/CalendarTime.h"

namespace platform {

HiveFile::HiveFile(std::filesystem::path path)
    : m_path(std::move(path))
{
}

HiveFile::~HiveFile()
{
    Unlock();
}

std::filesystem::path HiveFile::LockPath() const
{
    return std::filesystem::path(m_path.string() + ".lock");
}

std::filesystem::path HiveFile::TemporaryPath() const
{
    return TemporaryFileFor(m_path);
}

int HiveFile::Lock()
{
    if (m_lockFd >= 0)
        return 0;
    std::error_code folderError;
    if (m_path.has_parent_path())
        std::filesystem::create_directories(m_path.parent_path(), folderError);
    if (folderError)
        return folderError.value();
    int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        int error = errno;
        ::close(fd);
        return error;
    }
    m_lockFd = fd;
    return 0;
}

void HiveFile::Unlock()
{
    if (m_lockFd >= 0) {
        ::close(m_lockFd); // releases the lock
        m_lockFd = -1;
    }
}

int HiveFile::Read(std::string& bytes) const
{
    bytes.clear();
    // Not blocking, so that opening a FIFO returns at once and can be refused.
    int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        int error = S_ISREG(info.st_mode) ? errno : kNotARegularFile;
        ::close(fd);
        return error;
    }
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            ::close(fd);
            return error;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return 0;
}

int HiveFile::Replace(const std::string& bytes) const
{
    return ReplaceWholeFile(m_path, bytes);
}

int HiveFile::ProbeReplace() const
{
    // Not truncated and no link followed: the probe must not touch what a planted name points at.
    int fd = ::open(TemporaryPath().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    ::unlink(TemporaryPath().c_str());
    return 0;
}

int HiveFile::MoveAside(std::filesystem::path& movedTo) const
{
    CalendarTime now = CalendarTime::Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, ".corrupt-%04d%02d%02d-%02d%02d%02d", now.Year(), now.Month(), now.Day(), now.Hour(),
        now.Minute(), now.Second());
    std::string base = m_path.string() + stamp;
    for (int attempt = 1; attempt < 1000; ++attempt) {
        std::string candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        // link + unlink rather than rename, so that an older copy is never overwritten.
        if (::link(m_path.c_str(), candidate.c_str()) == 0) {
            ::unlink(m_path.c_str());
            movedTo = candidate;
            return SyncFolder(m_path.parent_path());
        }
        if (errno != EEXIST)
            break;
    }
    // Some file systems have no hard links: fall back to a rename onto a free name.
    for (int attempt = 1; attempt < 1000; ++attempt) {
        std::string candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        struct stat info;
        if (::lstat(candidate.c_str(), &info) == 0)
            continue;
        if (::rename(m_path.c_str(), candidate.c_str()) != 0)
            return errno;
        movedTo = candidate;
        return SyncFolder(m_path.parent_path());
    }
    return EEXIST;
}

} // namespace platform
