// A device file system for the usage tests, with helpers to put month files in place and read
// files back through the platform's own calls.
#pragma once

#include <memory>
#include <string>

#include "platform/core/WinTypes.h"
#include "platform/files/SimFileSystem.h"
#include "support/TestSupport.h"

namespace usage_test {

// Installs a simulated file system for the object's lifetime; faults are injected through it.
class DeviceFiles {
public:
    DeviceFiles();
    ~DeviceFiles();
    DeviceFiles(const DeviceFiles&) = delete;
    DeviceFiles& operator=(const DeviceFiles&) = delete;

    platform::SimFileSystem& Sim() { return *m_sim; }

private:
    std::shared_ptr<platform::SimFileSystem> m_sim = std::make_shared<platform::SimFileSystem>();
};

// Writes (replaces) a file with the wide text as UTF-16LE, creating the folder.
void WriteWideFile(const std::wstring& path, const std::wstring& text);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// The file's wide text.
std::wstring ReadWideFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
void MakeFolder(const std::wstring& path);

// Holds a file open exclusively, as a reader of the report does.
class HeldOpen {
public:
    explicit HeldOpen(const std::wstring& path);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

} // namespace usage_test
