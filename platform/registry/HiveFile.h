// The hive file on disk: reading it, replacing it atomically, locking it for one writer
// process, and moving an unreadable one aside. Errors are errno values (0 for success).
#pragma once

#include <filesystem>
#include <string>

namespace platform {

class HiveFile {
public:
    explicit HiveFile(std::filesystem::path path);
    ~HiveFile();
    HiveFile(const HiveFile&) = delete;
    HiveFile& operator=(const HiveFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path LockPath() const;
    std::filesystem::path TemporaryPath() const;

    // Creates the folder and the lock file and takes the lock without waiting: EWOULDBLOCK
    // when another process holds it. Held until Unlock or destruction.
    int Lock();
    void Unlock();

    // What Read answers for a path that is no regular file (a FIFO would block the reader,
    // a device would never end), through a symbolic link too.
    static constexpr int kNotARegularFile = -1;

    // The whole file; ENOENT when there is none, kNotARegularFile, or another errno.
    int Read(std::string& bytes) const;
    // Temporary file beside the hive, written and synced, renamed over the hive, and the
    // folder synced, so that a crash at any point leaves the old or the new hive.
    int Replace(const std::string& bytes) const;
    // Whether Replace could start now: the temporary file is made beside the hive and removed
    // again, the hive left alone. 0, or the errno that Replace would meet (a read-only folder).
    int ProbeReplace() const;
    // Renames the hive to "<hive>.corrupt-YYYYMMDD-HHMMSS" (with "-2", "-3", ... when taken).
    int MoveAside(std::filesystem::path& movedTo) const;

private:
    std::filesystem::path m_path;
    int m_lockFd = -1;
};

} // namespace platform
