// Which opens a file has, so that a new open is checked against them as the platform checks
// share modes: an open that reads needs every other open to share reading, an open that
// writes needs them to share writing, and the new open must share what the others do. Opens
// with neither read nor write access (attribute queries) take part in nothing. As on the
// device, a file with a reading or writing open cannot be deleted or renamed; the delete
// share flag is accepted and changes nothing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/core/WinTypes.h"

namespace platform {

class ShareClaim;

class ShareTable {
public:
    // Identifies a file: device and inode numbers, or a node number of the simulated tree.
    using FileKey = std::pair<uint64_t, uint64_t>;

    // ERROR_SUCCESS with the open recorded in the claim, or ERROR_SHARING_VIOLATION.
    static DWORD Claim(const std::shared_ptr<ShareTable>& table, FileKey key, DWORD access, DWORD shareMode,
        ShareClaim& claim);
    // True while the file has an open that reads or writes it.
    bool InUse(FileKey key) const;

private:
    friend class ShareClaim;
    struct Opens {
        int count = 0;
        int readers = 0;
        int writers = 0;
        int sharingRead = 0;
        int sharingWrite = 0;
    };

    void Release(FileKey key, DWORD access, DWORD shareMode);

    mutable std::mutex m_mutex;
    std::map<FileKey, Opens> m_opens;
};

// One recorded open; released when destroyed.
class ShareClaim {
public:
    ShareClaim() = default;
    ~ShareClaim();
    ShareClaim(ShareClaim&& other) noexcept;
    ShareClaim& operator=(ShareClaim&& other) noexcept;
    ShareClaim(const ShareClaim&) = delete;
    ShareClaim& operator=(const ShareClaim&) = delete;

private:
    friend class ShareTable;
    void Reset();

    std::shared_ptr<ShareTable> m_table;
    ShareTable::FileKey m_key {};
    DWORD m_access = 0;
    DWORD m_shareMode = 0;
};

} // namespace platform
