#include "FileTestSupport.h"

#include <sys/stat.h>

#include "platform/core/Handle.h"

namespace files_test {

std::string BackendName(const testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::Linux ? "Linux" : "Sim";
}

DWORD OpenError(const wchar_t* path, DWORD access, DWORD share, DWORD disposition)
{
    SetLastError(0xDEAD);
    ScopedHandle file(CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = GetLastError();
    EXPECT_EQ(file.Valid(), error == ERROR_SUCCESS || error == ERROR_ALREADY_EXISTS) << "error " << error;
    return error;
}

std::vector<std::wstring> FindAll(const wchar_t* pattern, DWORD* error)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(pattern, &data);
    if (error != nullptr)
        *error = search == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(data.cFileName);
    while (FindNextFileW(search, &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(search));
    return names;
}

void FileSystemTest::Install(Backend backend)
{
    m_handlesBefore = platform::LiveHandleCount();
    if (backend == Backend::Linux) {
        m_scratch = std::make_unique<testing_support::ScratchFolder>();
        m_linux = platform::LinuxFileSystem::Create(m_scratch->Path() / "device");
        ASSERT_TRUE(m_linux);
        platform::InstallFileSystem(m_linux);
    } else {
        m_sim = std::make_shared<platform::SimFileSystem>();
        platform::InstallFileSystem(m_sim);
    }
}

void FileSystemTest::TearDown()
{
    platform::UninstallFileSystem();
    EXPECT_EQ(platform::LiveHandleCount(), m_handlesBefore) << "a handle was left open";
}

HANDLE FileSystemTest::Open(const wchar_t* path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool FileSystemTest::PutFile(const wchar_t* path, const std::string& bytes)
{
    ScopedHandle file(Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS));
    DWORD written = 0;
    return file.Valid() && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size();
}

std::string FileSystemTest::GetFile(const wchar_t* path)
{
    ScopedHandle file(Open(path, GENERIC_READ, 0, OPEN_EXISTING));
    if (!file.Valid())
        return "<error " + std::to_string(GetLastError()) + ">";
    std::string bytes;
    char buffer[7]; // small, so that reads take several calls
    DWORD got = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

void FileSystemTest::MakeReadOnly(const wchar_t* path)
{
    if (m_sim) {
        ASSERT_EQ(m_sim->SetReadOnly(path, true), ERROR_SUCCESS);
        return;
    }
    platform::DevicePath parsed;
    ASSERT_EQ(platform::DevicePath::Parse(path, parsed), ERROR_SUCCESS);
    std::filesystem::path host;
    ASSERT_EQ(m_linux->HostPath(parsed, host), ERROR_SUCCESS);
    ASSERT_EQ(::chmod(host.c_str(), 0444), 0);
}

} // namespace files_test
