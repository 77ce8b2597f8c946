#include "platform/files/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/files/Files.h"

namespace platform {

namespace {

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

} // namespace

int SyncFolder(const std::filesystem::path& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

std::filesystem::path TemporaryFileFor(const std::filesystem::path& path)
{
    return path.string() + ".tmp";
}

int ReadWholeFile(const std::filesystem::path& path, std::string& bytes)
{
    bytes.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    char piece[65536];
    int error = 0;
    for (;;) {
        ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            error = errno;
        if (got <= 0)
            break;
        bytes.append(piece, static_cast<size_t>(got));
    }
    ::close(fd);
    if (error != 0)
        bytes.clear();
    return error;
}

int ReplaceWholeFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::filesystem::path temporary = TemporaryFileFor(path);
    // A link planted at the temporary name would have the new contents written wherever it
    // points; a stale temporary file from a crash is simply written over.
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // The rename is durable only once the folder is.
    return SyncFolder(path.parent_path());
}

std::wstring TemporaryDeviceFileFor(const std::wstring& path)
{
    return path + L".new";
}

BOOL ReplaceDeviceFile(const std::wstring& path, std::string_view bytes)
{
    std::wstring written = TemporaryDeviceFileFor(path);
    HANDLE file = CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD count = 0;
    BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr);
    BOOL whole = wrote && count == bytes.size();
    if (wrote && !whole)
        SetLastError(ERROR_HANDLE_DISK_FULL);
    // On the disk before it takes the old file's place: a crash after the move must not leave
    // an empty file behind.
    whole = whole && FlushFileBuffers(file);
    DWORD error = whole ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    if (whole && !MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        whole = FALSE;
        error = GetLastError();
    }
    if (!whole) {
        DeleteFileW(written.c_str());
        SetLastError(error);
    }
    return whole;
}

} // namespace platform
