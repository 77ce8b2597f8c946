// The Linux backend on real folders: confinement to the device root, lookup that ignores
// case, exclusivity against other processes, and kernel errors.
#include "FileTestSupport.h"

#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/DataFolder.h"
#include "platform/text/WideString.h"

using namespace files_test;
namespace fs = std::filesystem;

namespace {

class LinuxFiles : public FileSystemTest {
protected:
    void SetUp() override
    {
        Install(Backend::Linux);
        m_root = m_linux->Root();
    }

    static void WriteHost(const fs::path& path, const std::string& bytes)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadHost(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_root;
};

// Another process that opens a file through the platform and holds it until released.
class HolderProcess {
public:
    HolderProcess(const wchar_t* path, DWORD access, DWORD share)
    {
        if (::pipe(m_ready) != 0 || ::pipe(m_release) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            HANDLE file = CreateFileW(path, access, share, nullptr, OPEN_EXISTING, 0, nullptr);
            char held = file != INVALID_HANDLE_VALUE ? 'y' : 'n';
            (void)!::write(m_ready[1], &held, 1);
            char go = 0;
            (void)!::read(m_release[0], &go, 1);
            ::_exit(0); // the kernel closes the file and drops its lock
        }
        char held = 0;
        m_holding = m_pid > 0 && ::read(m_ready[0], &held, 1) == 1 && held == 'y';
    }
    ~HolderProcess() { Release(); }

    bool Holding() const { return m_holding; }
    void Release()
    {
        if (m_pid <= 0)
            return;
        char go = 'g';
        (void)!::write(m_release[1], &go, 1);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        for (int fd : { m_ready[0], m_ready[1], m_release[0], m_release[1] })
            ::close(fd);
    }

private:
    int m_ready[2] = { -1, -1 };
    int m_release[2] = { -1, -1 };
    pid_t m_pid = -1;
    bool m_holding = false;
};

} // namespace

TEST_F(LinuxFiles, InstallationCreatesTheDeviceRoot)
{
    testing_support::ScratchFolder data;
    EXPECT_EQ(platform::InstallLinuxFileSystem(data.Path() / "a" / "b"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_directory(platform::DeviceRoot(data.Path() / "a" / "b")));

    WriteHost(platform::DeviceRoot(data.Path() / "blocked"), "a file where the root should be");
    EXPECT_NE(platform::InstallLinuxFileSystem(data.Path() / "blocked"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(platform::CurrentFileSystem()); // the working one stays
}

TEST_F(LinuxFiles, PathsCannotLeaveTheRoot)
{
    fs::path outside = m_scratch->Path() / "outside";
    WriteHost(outside / "secret.txt", "secret");
    fs::create_directory(m_root / "sub");
    fs::create_directory_symlink(outside, m_root / "out");
    fs::create_directory_symlink("../outside", m_root / "rel");
    fs::create_symlink(outside / "secret.txt", m_root / "secretlink");
    fs::create_symlink(outside / "planted.txt", m_root / "dangling");
    fs::create_directory_symlink("sub", m_root / "inside");

    EXPECT_EQ(GetFile(L"\\out\\secret.txt"), "<error 5>");
    EXPECT_EQ(GetFile(L"\\secretlink"), "<error 5>");
    EXPECT_EQ(GetFile(L"\\..\\outside\\secret.txt"), "<error 5>");
    EXPECT_EQ(GetFile(L"\\sub\\..\\..\\outside\\secret.txt"), "<error 5>");
    EXPECT_EQ(OpenError(L"\\rel\\new.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(L"\\dangling", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileAttributesW(L"\\OUT"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(L"\\out\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(DeleteFileW(L"\\out\\secret.txt"));
    EXPECT_FALSE(CreateDirectoryW(L"\\out\\made", nullptr));
    ASSERT_TRUE(PutFile(L"\\sub\\f", "x"));
    EXPECT_FALSE(MoveFileW(L"\\sub\\f", L"\\rel\\f"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    EXPECT_EQ(ReadHost(outside / "secret.txt"), "secret");
    EXPECT_FALSE(fs::exists(outside / "planted.txt"));
    EXPECT_FALSE(fs::exists(outside / "new.txt"));
    EXPECT_FALSE(fs::exists(outside / "made"));
    EXPECT_FALSE(fs::exists(outside / "f"));

    // Links that stay inside are followed; those that leave are not listed.
    EXPECT_EQ(GetFile(L"\\Inside\\F"), "x");
    EXPECT_EQ(FindAll(L"\\*"), (std::vector<std::wstring> { L"inside", L"sub" }));
}

TEST_F(LinuxFiles, LookupIgnoresCaseAgainstRealFolders)
{
    WriteHost(m_root / "Program Files" / "Velmora" / "UsageData200603.TXT", "march");
    EXPECT_EQ(GetFile(L"\\program files\\VELMORA\\usagedata200603.txt"), "march");

    // Names that differ only in case: the exact one first, else the first in byte order.
    WriteHost(m_root / "a.txt", "lower");
    WriteHost(m_root / "A.TXT", "upper");
    EXPECT_EQ(GetFile(L"\\a.txt"), "lower");
    EXPECT_EQ(GetFile(L"\\A.TXT"), "upper");
    EXPECT_EQ(GetFile(L"\\A.txt"), "upper");
    EXPECT_EQ(FindAll(L"\\a.txt"), (std::vector<std::wstring> { L"A.TXT", L"a.txt" }));

    // New entries keep the case given, in UTF-8 on disk, beside the existing folders.
    ASSERT_TRUE(PutFile(L"\\PROGRAM FILES\\velmora\\\u041D\u043E\u0432\u044B\u0439 File.txt", "new"));
    EXPECT_EQ(ReadHost(m_root / "Program Files" / "Velmora" / "\xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9 File.txt"), "new");
    ASSERT_TRUE(CreateDirectoryW(L"\\program files\\Velmora\\Backup", nullptr));
    EXPECT_TRUE(fs::is_directory(m_root / "Program Files" / "Velmora" / "Backup"));
    EXPECT_EQ(GetFile(L"\\program files\\velmora\\\u043D\u043E\u0412\u042B\u0419 FILE.TXT"), "new");
}

TEST_F(LinuxFiles, AnotherProcessHoldingTheFileExcludesThisOne)
{
    ASSERT_TRUE(PutFile(L"\\log.txt", "record"));
    {
        HolderProcess holder(L"\\LOG.TXT", GENERIC_READ, 0);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(ReadHost(m_root / "log.txt"), "record"); // the replacing open did not empty it
        EXPECT_FALSE(DeleteFileW(L"\\log.txt"));
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(MoveFileW(L"\\log.txt", L"\\moved.txt"));
        EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
        holder.Release();
        EXPECT_EQ(GetFile(L"\\log.txt"), "record");
    }
    {
        // Opens that share live side by side across processes; an exclusive one does not.
        HolderProcess holder(L"\\log.txt", GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), ERROR_SUCCESS);
        EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
    }
    {
        // And the other way round: what this process holds, the other cannot open.
        ScopedHandle held(CreateFileW(L"\\log.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.Valid());
        HolderProcess other(L"\\log.txt", GENERIC_READ, FILE_SHARE_READ);
        EXPECT_FALSE(other.Holding());
    }
    EXPECT_TRUE(DeleteFileW(L"\\log.txt"));
}

TEST_F(LinuxFiles, AShortWriteReportsTheBytesWrittenAndDiskFull)
{
    ScopedHandle file(CreateFileW(L"\\big.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.Valid());
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit limit = saved;
    limit.rlim_cur = 100;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        GTEST_SKIP() << "cannot limit file sizes here";
    std::string bytes(150, 'x');
    DWORD first = 0xCCCC;
    DWORD second = 0xCCCC;
    BOOL firstResult = WriteFile(file.Get(), bytes.data(), 150, &first, nullptr);
    DWORD firstError = GetLastError();
    BOOL secondResult = WriteFile(file.Get(), bytes.data(), 10, &second, nullptr);
    DWORD secondError = GetLastError();
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(firstResult);
    EXPECT_EQ(firstError, ERROR_DISK_FULL);
    EXPECT_EQ(first, 100u);
    EXPECT_FALSE(secondResult);
    EXPECT_EQ(secondError, ERROR_DISK_FULL);
    EXPECT_EQ(second, 0u);
    EXPECT_EQ(GetFileSize(file.Get(), nullptr), 100u);
}

TEST_F(LinuxFiles, EntriesThatAreNeitherFilesNorFoldersAreRefused)
{
    ASSERT_EQ(::mkfifo((m_root / "pipe").c_str(), 0666), 0);
    EXPECT_EQ(OpenError(L"\\pipe", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED); // and does not block
    EXPECT_EQ(OpenError(L"\\pipe", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(FindAll(L"\\*").empty());
}
