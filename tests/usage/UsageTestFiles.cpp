#include "UsageTestFiles.h"

#include <gtest/gtest.h>

#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/text/Utf16.h"

namespace usage_test {

DeviceFiles::DeviceFiles()
{
    platform::InstallFileSystem(m_sim);
}

DeviceFiles::~DeviceFiles()
{
    platform::UninstallFileSystem();
}

void MakeFolder(const std::wstring& path)
{
    // Every level, as the folder may be nested.
    for (size_t at = path.find(L'\\', 1); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void WriteWideFile(const std::wstring& path, const std::wstring& text)
{
    size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 0)
        MakeFolder(path.substr(0, slash));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    std::string bytes = EncodeUtf16Le(text);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    EXPECT_EQ(written, bytes.size());
    CloseHandle(file);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::wstring ReadWideFile(const std::wstring& path)
{
    return DecodeUtf16Le(ReadBytes(path));
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HeldOpen::HeldOpen(const std::wstring& path)
    : m_handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

HeldOpen::~HeldOpen()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
}

} // namespace usage_test
