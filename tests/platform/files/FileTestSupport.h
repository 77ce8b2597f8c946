// Helpers for the file API tests: a backend installed per test, handles closed by scope,
// and whole-file reads and writes through the platform calls.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/Files.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/files/SimFileSystem.h"
#include "support/TestSupport.h"

namespace files_test {

enum class Backend { Linux, Sim };

std::string BackendName(const testing::TestParamInfo<Backend>& info);

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE)
        : m_handle(handle)
    {
    }
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (Valid())
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// The error an open ends with; ERROR_SUCCESS or ERROR_ALREADY_EXISTS for a good one, which is
// closed at once.
DWORD OpenError(const wchar_t* path, DWORD access, DWORD share, DWORD disposition);
// The names a search finds, in order; empty when it fails, with its error in *error.
std::vector<std::wstring> FindAll(const wchar_t* pattern, DWORD* error = nullptr);

// Installs a fresh backend for each test and checks that no handle outlives it.
class FileSystemTest : public testing::Test {
protected:
    void Install(Backend backend);
    void TearDown() override;

    static HANDLE Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition);
    // Creates (or replaces) a file with the given bytes; true when all were written.
    static bool PutFile(const wchar_t* path, const std::string& bytes);
    // The whole file, or "<error N>" when it cannot be opened for reading.
    static std::string GetFile(const wchar_t* path);
    void MakeReadOnly(const wchar_t* path);

    std::unique_ptr<testing_support::ScratchFolder> m_scratch;
    std::shared_ptr<platform::LinuxFileSystem> m_linux;
    std::shared_ptr<platform::SimFileSystem> m_sim;

private:
    size_t m_handlesBefore = 0;
};

// Fills an output structure with a byte pattern, to prove a failing call left it alone.
template <typename T>
void FillSentinel(T& value)
{
    std::memset(&value, 0xCC, sizeof value);
}

template <typename T>
bool IsSentinel(const T& value)
{
    T sentinel;
    FillSentinel(sentinel);
    return std::memcmp(&value, &sentinel, sizeof value) == 0;
}

} // namespace files_test
