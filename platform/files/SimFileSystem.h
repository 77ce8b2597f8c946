// The simulated file system: an in-memory tree with the same results and error codes as the
// Linux backend (names ignore case and keep the case given, share modes within the process,
// read-only files, disk full), for tests and the host's simulation mode. Faults can be
// injected: opens that fail, writes that fail, and a capacity past which writes are cut
// short. Everything is deterministic; timestamps come from the platform clock.
#pragma once

#include <memory>
#include <string>

#include "platform/files/FileSystem.h"

namespace platform {

class SimFileSystem final : public FileSystem {
public:
    // Room for file data unless told otherwise: a small device's storage.
    static constexpr uint64_t kDefaultCapacityBytes = 64ull << 20;
    static constexpr int kEveryTime = -1;

    SimFileSystem();
    ~SimFileSystem() override;
    SimFileSystem(const SimFileSystem&) = delete;
    SimFileSystem& operator=(const SimFileSystem&) = delete;

    // --- Fault injection. Path patterns take "*" and "?" as searches do ("*" also spans
    // "\"), ignoring case, and are matched against the full device path as given
    // ("\Program Files\Velmora\UsageData*"). Rules apply in the order they were added.

    // The next `count` opens of matching paths (kEveryTime: all of them) fail with `error`
    // before anything is looked at.
    void FailOpens(std::wstring pathPattern, int count, DWORD error);
    // The next `count` writes to files opened at matching paths write nothing and fail with
    // `error`.
    void FailWrites(std::wstring pathPattern, int count, DWORD error);
    // Room for file data: a write or extension past it stores what fits and fails with
    // ERROR_DISK_FULL. Data already stored is kept when the capacity is lowered below it.
    void SetCapacity(uint64_t bytes);
    void ClearFaults();
    uint64_t UsedBytes() const;

    // The read-only attribute, which the platform calls in use cannot set.
    DWORD SetReadOnly(std::wstring_view path, bool readOnly);

    DWORD Open(const DevicePath& path, DWORD access, DWORD shareMode, DWORD disposition,
        std::unique_ptr<FileStream>& stream, bool& existed) override;
    DWORD GetEntry(const DevicePath& path, EntryInfo& entry) override;
    DWORD ListFolder(const DevicePath& folder, std::vector<EntryInfo>& entries) override;
    DWORD CreateDirectory(const DevicePath& path) override;
    DWORD RemoveDirectory(const DevicePath& path) override;
    DWORD DeleteFile(const DevicePath& path) override;
    DWORD MoveEntry(const DevicePath& from, const DevicePath& to) override;
    DWORD ReplaceFile(const DevicePath& from, const DevicePath& to) override;

    // The tree and its bookkeeping, defined with the implementation.
    struct Node;
    struct State;

private:
    std::shared_ptr<State> m_state;
};

} // namespace platform
