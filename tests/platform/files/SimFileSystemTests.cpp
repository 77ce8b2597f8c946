// The simulated file system's fault injection and accounting.
#include "FileTestSupport.h"

using namespace files_test;
using platform::SimFileSystem;

namespace {

class SimFiles : public FileSystemTest {
protected:
    void SetUp() override { Install(Backend::Sim); }
};

} // namespace

TEST_F(SimFiles, OpensFailByPatternCountAndCode)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\Logs", nullptr));
    m_sim->FailOpens(L"*\\usagedata*", 2, ERROR_SHARING_VIOLATION);
    m_sim->FailOpens(L"\\logs\\export.csv", SimFileSystem::kEveryTime, ERROR_DISK_FULL);
    const DWORD readWrite = GENERIC_READ | GENERIC_WRITE;

    EXPECT_EQ(OpenError(L"\\Logs\\UsageData200603.txt", readWrite, 0, OPEN_ALWAYS), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(GetFileAttributesW(L"\\Logs\\UsageData200603.txt"), INVALID_FILE_ATTRIBUTES); // nothing created
    EXPECT_EQ(OpenError(L"\\logs\\other.txt", readWrite, 0, OPEN_ALWAYS), ERROR_SUCCESS);
    EXPECT_EQ(OpenError(L"\\Logs\\UsageData200604.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpenError(L"\\Logs\\UsageData200603.txt", readWrite, 0, OPEN_ALWAYS), ERROR_SUCCESS); // count used up
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OpenError(L"\\LOGS\\Export.csv", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_DISK_FULL);
    m_sim->ClearFaults();
    EXPECT_EQ(OpenError(L"\\logs\\export.csv", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_SUCCESS);
}

TEST_F(SimFiles, WritesFailWithoutWritingAnything)
{
    m_sim->FailWrites(L"*.txt", 1, ERROR_WRITE_FAULT);
    ScopedHandle text(CreateFileW(L"\\a.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ScopedHandle csv(CreateFileW(L"\\a.csv", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0xCCCC;
    EXPECT_TRUE(WriteFile(csv.Get(), "abc", 3, &written, nullptr));
    EXPECT_FALSE(WriteFile(text.Get(), "abc", 3, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(GetFileSize(text.Get(), nullptr), 0u);
    EXPECT_TRUE(WriteFile(text.Get(), "abc", 3, &written, nullptr));
    EXPECT_EQ(GetFileSize(text.Get(), nullptr), 3u);
}

TEST_F(SimFiles, AFullDiskCutsWritesShort)
{
    m_sim->SetCapacity(10);
    ASSERT_TRUE(PutFile(L"\\a", "123456"));
    EXPECT_EQ(m_sim->UsedBytes(), 6u);
    ScopedHandle file(CreateFileW(L"\\b", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0xCCCC;
    EXPECT_FALSE(WriteFile(file.Get(), "abcdefgh", 8, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 4u);
    EXPECT_FALSE(WriteFile(file.Get(), "i", 1, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(SetFilePointer(file.Get(), 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_FALSE(SetEndOfFile(file.Get()));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(GetFileSize(file.Get(), nullptr), 4u);

    // Overwriting needs no room; deleting and truncating give it back.
    EXPECT_EQ(SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN), 0u);
    EXPECT_TRUE(WriteFile(file.Get(), "WXYZ", 4, &written, nullptr));
    ASSERT_TRUE(DeleteFileW(L"\\a"));
    EXPECT_EQ(m_sim->UsedBytes(), 4u);
    EXPECT_TRUE(WriteFile(file.Get(), "123456", 6, &written, nullptr));
    file.Close();
    EXPECT_EQ(GetFile(L"\\b"), "WXYZ123456");
    EXPECT_TRUE(PutFile(L"\\b", "short"));
    EXPECT_EQ(m_sim->UsedBytes(), 5u);
}

TEST_F(SimFiles, TimestampsFollowThePlatformClock)
{
    testing_support::VirtualClockScope clock(1141740309);
    ASSERT_TRUE(PutFile(L"\\f", "x"));
    clock.Clock().AdvanceSeconds(3600);
    ScopedHandle file(CreateFileW(L"\\f", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), "y", 1, &written, nullptr));
    file.Close();

    WIN32_FIND_DATAW data;
    ScopedHandle search(FindFirstFileW(L"\\f", &data));
    ASSERT_TRUE(search.Valid());
    auto asInteger = [](FILETIME time) { return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    EXPECT_EQ(asInteger(data.ftCreationTime), asInteger(platform::FileTimeFromUnixNs(1141740309LL * 1000000000LL)));
    EXPECT_EQ(asInteger(data.ftLastWriteTime) - asInteger(data.ftCreationTime), 3600ull * 10000000ull);
}
