// The file calls' shared semantics, run against both backends.
#include "FileTestSupport.h"

#include <algorithm>

#include "platform/core/Handle.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

using namespace files_test;

namespace {

class FilesApi : public FileSystemTest, public testing::WithParamInterface<Backend> {
protected:
    void SetUp() override { Install(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Backends, FilesApi, testing::Values(Backend::Linux, Backend::Sim), BackendName);

DWORD ErrorOf(BOOL result)
{
    return result ? ERROR_SUCCESS : GetLastError();
}

} // namespace

TEST_P(FilesApi, CreationDispositionsAndTheirCodes)
{
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenError(L"\\missing\\a.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(OpenError(L"\\missing\\a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_PATH_NOT_FOUND);

    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_WRITE, 0, CREATE_NEW), ERROR_SUCCESS);
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_WRITE, 0, CREATE_NEW), ERROR_FILE_EXISTS);
    ASSERT_TRUE(PutFile(L"\\a.txt", "hello"));
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_READ, 0, OPEN_ALWAYS), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_READ, 0, OPEN_EXISTING), ERROR_SUCCESS);
    EXPECT_EQ(GetFile(L"\\a.txt"), "hello"); // neither open touched it
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFile(L"\\a.txt"), "");
    ASSERT_TRUE(PutFile(L"\\a.txt", "hello"));
    EXPECT_EQ(OpenError(L"\\a.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_SUCCESS);
    EXPECT_EQ(GetFile(L"\\a.txt"), "");
    EXPECT_EQ(OpenError(L"\\b.txt", GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS), ERROR_SUCCESS);
    EXPECT_EQ(OpenError(L"\\c.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_SUCCESS);
}

TEST_P(FilesApi, ArgumentsAndNamesAreChecked)
{
    auto openWith = [](const wchar_t* path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                        HANDLE templateFile) {
        SetLastError(0xDEAD);
        ScopedHandle file(CreateFileW(path, access, share, security, disposition, flags, templateFile));
        return file.Valid() ? ERROR_SUCCESS : GetLastError();
    };
    int dummy = 0;
    for (DWORD disposition : { 0u, 6u })
        EXPECT_EQ(openWith(L"\\x", GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", GENERIC_WRITE, 0, &dummy, CREATE_ALWAYS, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, &dummy), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", 0x10000, 0, nullptr, CREATE_ALWAYS, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", GENERIC_WRITE, 0x8, nullptr, CREATE_ALWAYS, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"\\x", GENERIC_READ, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(openWith(L"", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), ERROR_PATH_NOT_FOUND);
    for (const wchar_t* bad : { L"\\a*.txt", L"\\a<b", L"\\a|b", L"\\d*\\x" })
        EXPECT_EQ(openWith(bad, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), ERROR_INVALID_NAME) << WideToUtf8(bad);
    EXPECT_EQ(openWith(L"\\..\\x", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileAttributesW(L"\\x"), INVALID_FILE_ATTRIBUTES); // nothing was created by any of them

    // Access-pattern hints are taken.
    EXPECT_EQ(openWith(L"\\hinted", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(openWith(L"\\hinted", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr), ERROR_SUCCESS);
}

TEST_P(FilesApi, NamesIgnoreCaseAndKeepTheCaseGiven)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\Program Files", nullptr));
    EXPECT_EQ(ErrorOf(CreateDirectoryW(L"\\PROGRAM FILES", nullptr)), ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(PutFile(L"\\program files\\UsageData200603.txt", "march"));
    EXPECT_EQ(GetFile(L"\\PROGRAM FILES\\usagedata200603.TXT"), "march");
    EXPECT_EQ(OpenError(L"\\Program Files\\USAGEDATA200603.txt", GENERIC_WRITE, 0, CREATE_NEW), ERROR_FILE_EXISTS);
    ASSERT_TRUE(PutFile(L"\\\u041E\u0442\u0447\u0451\u0442.txt", "cyr"));
    EXPECT_EQ(GetFile(L"\\\u041E\u0422\u0427\u0401\u0422.TXT"), "cyr");
    EXPECT_EQ(FindAll(L"\\*"), (std::vector<std::wstring> { L"Program Files", L"\u041E\u0442\u0447\u0451\u0442.txt" }));
    EXPECT_EQ(FindAll(L"\\program files\\*"), std::vector<std::wstring> { L"UsageData200603.txt" });
}

TEST_P(FilesApi, FoldersAreNotFilesAndFilesAreNotFolders)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\dir", nullptr));
    ASSERT_TRUE(PutFile(L"\\file", "x"));
    EXPECT_EQ(OpenError(L"\\dir", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(L"\\dir", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(L"\\dir", GENERIC_WRITE, 0, CREATE_NEW), ERROR_FILE_EXISTS);
    EXPECT_EQ(OpenError(L"\\", GENERIC_READ, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(L"\\file\\x", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ErrorOf(DeleteFileW(L"\\dir")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ErrorOf(RemoveDirectoryW(L"\\file")), ERROR_DIRECTORY);
    EXPECT_EQ(ErrorOf(CreateDirectoryW(L"\\file", nullptr)), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ErrorOf(CreateDirectoryW(L"\\", nullptr)), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ErrorOf(CreateDirectoryW(L"\\a\\b", nullptr)), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(L"\\dir"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(L"\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(L"\\FILE"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(L"\\nothing"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(L"\\nothing\\x"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_P(FilesApi, RemovingFolders)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\dir", nullptr));
    ASSERT_TRUE(PutFile(L"\\dir\\f", "x"));
    EXPECT_EQ(ErrorOf(RemoveDirectoryW(L"\\dir")), ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(ErrorOf(RemoveDirectoryW(L"\\")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ErrorOf(RemoveDirectoryW(L"\\none")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorOf(RemoveDirectoryW(L"\\none\\none")), ERROR_PATH_NOT_FOUND);
    ASSERT_TRUE(DeleteFileW(L"\\DIR\\F"));
    EXPECT_EQ(ErrorOf(DeleteFileW(L"\\dir\\f")), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(RemoveDirectoryW(L"\\Dir"));
    EXPECT_EQ(GetFileAttributesW(L"\\dir"), INVALID_FILE_ATTRIBUTES);
}

TEST_P(FilesApi, ReadWriteAndTheFilePointer)
{
    ScopedHandle file(Open(L"\\f.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW));
    ASSERT_TRUE(file.Valid());
    DWORD count = 0xCCCC;
    ASSERT_TRUE(WriteFile(file.Get(), "abcdef", 6, &count, nullptr));
    EXPECT_EQ(count, 6u);
    char buffer[16] = {};
    count = 0xCCCC;
    EXPECT_TRUE(ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr)); // at the end: nothing, no error
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(SetFilePointer(file.Get(), 2, nullptr, FILE_BEGIN), 2u);
    ASSERT_TRUE(ReadFile(file.Get(), buffer, 3, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "cde");
    EXPECT_EQ(SetFilePointer(file.Get(), -1, nullptr, FILE_CURRENT), 4u);
    EXPECT_EQ(SetFilePointer(file.Get(), -2, nullptr, FILE_END), 4u);

    EXPECT_EQ(SetFilePointer(file.Get(), -7, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(file.Get(), 0, nullptr, FILE_CURRENT), 4u); // the failed seek moved nothing
    EXPECT_EQ(SetFilePointer(file.Get(), 0, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // Past the end: the gap reads as zero bytes.
    EXPECT_EQ(SetFilePointer(file.Get(), 8, nullptr, FILE_BEGIN), 8u);
    ASSERT_TRUE(WriteFile(file.Get(), "Z", 1, &count, nullptr));
    DWORD high = 0xCCCC;
    EXPECT_EQ(GetFileSize(file.Get(), &high), 9u);
    EXPECT_EQ(high, 0u);
    // SetEndOfFile cuts and extends at the pointer, which stays.
    EXPECT_EQ(SetFilePointer(file.Get(), 3, nullptr, FILE_BEGIN), 3u);
    ASSERT_TRUE(SetEndOfFile(file.Get()));
    EXPECT_EQ(GetFileSize(file.Get(), nullptr), 3u);
    EXPECT_EQ(SetFilePointer(file.Get(), 5, nullptr, FILE_BEGIN), 5u);
    ASSERT_TRUE(SetEndOfFile(file.Get()));
    EXPECT_TRUE(FlushFileBuffers(file.Get()));
    file.Close();
    EXPECT_EQ(GetFile(L"\\f.bin"), std::string("abc\0\0", 5));
}

TEST_P(FilesApi, PositionsBeyondThirtyTwoBits)
{
    ScopedHandle file(Open(L"\\f.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW));
    ASSERT_TRUE(file.Valid());
    // Without a high part a position must fit in 32 bits.
    EXPECT_EQ(SetFilePointer(file.Get(), -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    LONG high = 1;
    SetLastError(0xDEAD);
    EXPECT_EQ(SetFilePointer(file.Get(), -1, &high, FILE_BEGIN), INVALID_SET_FILE_POINTER); // 0x1FFFFFFFF
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(file.Get(), 1, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    high = -2;
    EXPECT_EQ(SetFilePointer(file.Get(), 0, &high, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    high = 0;
    EXPECT_EQ(SetFilePointer(file.Get(), 0, &high, FILE_CURRENT), 0xFFFFFFFFu);
    EXPECT_EQ(high, 1);
}

TEST_P(FilesApi, AccessRightsAreEnforced)
{
    ASSERT_TRUE(PutFile(L"\\f", "data"));
    char buffer[8];
    DWORD count = 0xCCCC;
    {
        ScopedHandle writeOnly(Open(L"\\f", GENERIC_WRITE, 0, OPEN_EXISTING));
        EXPECT_FALSE(ReadFile(writeOnly.Get(), buffer, sizeof buffer, &count, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        EXPECT_EQ(count, 0u);
    }
    {
        ScopedHandle readOnly(Open(L"\\f", GENERIC_READ, 0, OPEN_EXISTING));
        count = 0xCCCC;
        EXPECT_FALSE(WriteFile(readOnly.Get(), "x", 1, &count, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(ErrorOf(SetEndOfFile(readOnly.Get())), ERROR_ACCESS_DENIED);
        EXPECT_EQ(ErrorOf(FlushFileBuffers(readOnly.Get())), ERROR_ACCESS_DENIED);
    }
    {
        ScopedHandle query(Open(L"\\f", 0, 0, OPEN_EXISTING));
        ASSERT_TRUE(query.Valid());
        EXPECT_EQ(GetFileSize(query.Get(), nullptr), 4u);
        EXPECT_EQ(ErrorOf(ReadFile(query.Get(), buffer, 1, &count, nullptr)), ERROR_ACCESS_DENIED);
    }
    ScopedHandle file(Open(L"\\f", GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_EQ(ErrorOf(ReadFile(file.Get(), buffer, 1, nullptr, nullptr)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ErrorOf(ReadFile(file.Get(), buffer, 1, &count, buffer)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetFile(L"\\f"), "<error 32>"); // still held
    file.Close();
    EXPECT_EQ(GetFile(L"\\f"), "data");
}

TEST_P(FilesApi, ReadOnlyFiles)
{
    ASSERT_TRUE(PutFile(L"\\ro", "keep"));
    MakeReadOnly(L"\\ro");
    EXPECT_EQ(GetFileAttributesW(L"\\ro"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(OpenError(L"\\ro", GENERIC_WRITE, 0, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenError(L"\\ro", GENERIC_READ, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ErrorOf(DeleteFileW(L"\\ro")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFile(L"\\ro"), "keep");
    EXPECT_TRUE(MoveFileW(L"\\ro", L"\\ro2"));
}

TEST_P(FilesApi, InvalidAndStaleHandles)
{
    char buffer[4];
    DWORD count = 0xCCCC;
    EXPECT_EQ(ErrorOf(ReadFile(INVALID_HANDLE_VALUE, buffer, 1, &count, nullptr)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(count, 0u);
    HANDLE file = Open(L"\\f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_EQ(ErrorOf(WriteFile(file, "x", 1, &count, nullptr)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ErrorOf(CloseHandle(file)), ERROR_INVALID_HANDLE);

    WIN32_FIND_DATAW data;
    ScopedHandle search(FindFirstFileW(L"\\*", &data));
    ASSERT_TRUE(search.Valid());
    EXPECT_EQ(ErrorOf(ReadFile(search.Get(), buffer, 1, &count, nullptr)), ERROR_INVALID_HANDLE);
    ScopedHandle opened(Open(L"\\f", GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_EQ(ErrorOf(FindClose(opened.Get())), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ErrorOf(FindNextFileW(opened.Get(), &data)), ERROR_INVALID_HANDLE);
}

TEST_P(FilesApi, ShareModeZeroExcludesEveryOtherOpen)
{
    ASSERT_TRUE(PutFile(L"\\log.txt", "record"));
    ScopedHandle writer(Open(L"\\log.txt", GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS));
    ASSERT_TRUE(writer.Valid());
    for (DWORD share : { 0u, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE) }) {
        EXPECT_EQ(OpenError(L"\\LOG.TXT", GENERIC_READ, share, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_WRITE, share, OPEN_ALWAYS), ERROR_SHARING_VIOLATION);
    }
    // Meeting the held file, a replacing open fails without emptying it.
    EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_WRITE, 0, CREATE_ALWAYS), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(OpenError(L"\\log.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ErrorOf(DeleteFileW(L"\\log.txt")), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\log.txt", L"\\moved.txt")), ERROR_SHARING_VIOLATION);
    // An attribute query takes no part in sharing.
    EXPECT_EQ(OpenError(L"\\log.txt", 0, 0, OPEN_EXISTING), ERROR_SUCCESS);
    EXPECT_EQ(GetFileSize(writer.Get(), nullptr), 6u);
    writer.Close();
    EXPECT_EQ(GetFile(L"\\log.txt"), "record");
    EXPECT_TRUE(MoveFileW(L"\\log.txt", L"\\moved.txt"));
    EXPECT_TRUE(DeleteFileW(L"\\moved.txt"));
}

TEST_P(FilesApi, ShareModesAreMatchedAgainstAccess)
{
    ASSERT_TRUE(PutFile(L"\\f", "x"));
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    struct Case {
        DWORD firstAccess, firstShare, secondAccess, secondShare, expected;
    } cases[] = {
        { R, SR, R, SR, ERROR_SUCCESS },
        { R, SR, W, SR | SW, ERROR_SHARING_VIOLATION }, // the first does not share writing
        { R, SR | SW, W, SW, ERROR_SHARING_VIOLATION }, // the second does not share the first's reading
        { R, SR | SW, W, SR, ERROR_SUCCESS },           // nobody else writes, so not sharing writing is fine
        { R, SR | SW, W, SR | SW, ERROR_SUCCESS },
        { W, SW, W, SW, ERROR_SUCCESS },
        { W, SW, R, SR | SW, ERROR_SHARING_VIOLATION },
        { R, SR, 0, 0, ERROR_SUCCESS },
        { 0, 0, R | W, 0, ERROR_SUCCESS },
    };
    for (const Case& c : cases) {
        // Replacing the file, the first open counts as a writer only while it empties it.
        ScopedHandle first(Open(L"\\f", c.firstAccess, c.firstShare, c.firstAccess ? CREATE_ALWAYS : OPEN_EXISTING));
        ASSERT_TRUE(first.Valid());
        EXPECT_EQ(OpenError(L"\\f", c.secondAccess, c.secondShare, OPEN_EXISTING), c.expected)
            << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/" << c.secondShare;
    }
}

TEST_P(FilesApi, FindMatchesPatternsIgnoringCaseInNameOrder)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\logs", nullptr));
    for (const wchar_t* name : { L"\\logs\\UsageData200603.txt", L"\\logs\\usagedata200512.txt", L"\\logs\\export.csv",
             L"\\logs\\README" })
        ASSERT_TRUE(PutFile(name, "12345"));
    ASSERT_TRUE(CreateDirectoryW(L"\\logs\\UsageDataOld", nullptr));

    EXPECT_EQ(FindAll(L"\\logs\\UsageData*"),
        (std::vector<std::wstring> { L"UsageData200603.txt", L"UsageDataOld", L"usagedata200512.txt" }));
    EXPECT_EQ(FindAll(L"\\LOGS\\usagedata2005??.TXT"), std::vector<std::wstring> { L"usagedata200512.txt" });
    EXPECT_EQ(FindAll(L"\\logs\\*.*").size(), 5u); // also names without a dot; never "." or ".."
    EXPECT_EQ(FindAll(L"/logs/readme"), std::vector<std::wstring> { L"README" });
    EXPECT_EQ(FindAll(L"\\logs"), std::vector<std::wstring> { L"logs" });

    WIN32_FIND_DATAW data;
    ScopedHandle search(FindFirstFileW(L"\\logs\\*.csv", &data));
    ASSERT_TRUE(search.Valid());
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    FillSentinel(data);
    EXPECT_FALSE(FindNextFileW(search.Get(), &data));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(IsSentinel(data));
    EXPECT_EQ(ErrorOf(FindNextFileW(search.Get(), &data)), ERROR_NO_MORE_FILES);
}

TEST_P(FilesApi, FindFailuresLeaveTheOutputAlone)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\empty", nullptr));
    ASSERT_TRUE(PutFile(L"\\file", "x"));
    struct Case {
        const wchar_t* pattern;
        DWORD expected;
    } cases[] = {
        { L"\\empty\\*", ERROR_FILE_NOT_FOUND },
        { L"\\empty\\", ERROR_FILE_NOT_FOUND },
        { L"\\*.none", ERROR_FILE_NOT_FOUND },
        { L"\\missing\\*", ERROR_PATH_NOT_FOUND },
        { L"\\file\\*", ERROR_PATH_NOT_FOUND },
        { L"\\em*\\*", ERROR_INVALID_NAME },
        { L"\\a|b", ERROR_INVALID_NAME },
        { L"\\..\\*", ERROR_ACCESS_DENIED },
        { L"", ERROR_PATH_NOT_FOUND },
    };
    for (const Case& c : cases) {
        WIN32_FIND_DATAW data;
        FillSentinel(data);
        EXPECT_EQ(FindFirstFileW(c.pattern, &data), INVALID_HANDLE_VALUE) << WideToUtf8(c.pattern);
        EXPECT_EQ(GetLastError(), c.expected) << WideToUtf8(c.pattern);
        EXPECT_TRUE(IsSentinel(data)) << WideToUtf8(c.pattern);
    }
    EXPECT_EQ(FindFirstFileW(L"\\*", nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_P(FilesApi, MovingFilesAndFolders)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\old", nullptr));
    ASSERT_TRUE(CreateDirectoryW(L"\\velmoratemp", nullptr));
    ASSERT_TRUE(PutFile(L"\\old\\UsageData200603.txt", "a"));
    ASSERT_TRUE(PutFile(L"\\old\\taken", "b"));
    ASSERT_TRUE(PutFile(L"\\velmoratemp\\taken", "c"));

    EXPECT_TRUE(MoveFileW(L"\\old\\usagedata200603.txt", L"\\velmoratemp\\UsageData200603.txt"));
    EXPECT_EQ(GetFile(L"\\velmoratemp\\UsageData200603.txt"), "a");
    EXPECT_EQ(GetFileAttributesW(L"\\old\\UsageData200603.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old\\taken", L"\\velmoratemp\\TAKEN")), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFile(L"\\velmoratemp\\taken"), "c");
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old\\gone", L"\\x")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\nowhere\\gone", L"\\x")), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old\\taken", L"\\nowhere\\x")), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old\\taken", L"\\bad?name")), ERROR_INVALID_NAME);
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old\\taken", L"\\")), ERROR_ACCESS_DENIED);

    // A change of case only renames.
    EXPECT_TRUE(MoveFileW(L"\\old\\taken", L"\\old\\Taken"));
    EXPECT_EQ(FindAll(L"\\old\\*"), std::vector<std::wstring> { L"Taken" });

    // Folders move with their contents, but not into themselves.
    EXPECT_EQ(ErrorOf(MoveFileW(L"\\old", L"\\old\\inner")), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(MoveFileW(L"\\old", L"\\New"));
    EXPECT_EQ(GetFile(L"\\new\\taken"), "b");
}

TEST_P(FilesApi, AFileWrittenAsideReplacesAnotherInOneMove)
{
    ASSERT_TRUE(CreateDirectoryW(L"\\state", nullptr));
    ASSERT_TRUE(PutFile(L"\\state\\Counters.dat", "old, longer content"));
    ASSERT_TRUE(PutFile(L"\\state\\counters.tmp", "new"));

    // Without the flag a move never replaces; with it the destination keeps its stored name.
    EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\counters.tmp", L"\\state\\counters.dat", 0)), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(MoveFileExW(L"\\state\\counters.tmp", L"\\state\\counters.dat", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetFile(L"\\state\\counters.dat"), "new");
    EXPECT_EQ(FindAll(L"\\state\\*"), std::vector<std::wstring> { L"Counters.dat" });

    // Nothing to replace: an ordinary move.
    EXPECT_TRUE(MoveFileExW(L"\\state\\counters.dat", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetFile(L"\\state\\fresh.dat"), "new");

    // An open destination or source stays as it is; so does a folder in either place.
    ASSERT_TRUE(PutFile(L"\\state\\next.tmp", "next"));
    {
        ScopedHandle reader(Open(L"\\state\\fresh.dat", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
        ASSERT_TRUE(reader.Valid());
        EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\next.tmp", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING)),
            ERROR_SHARING_VIOLATION);
    }
    {
        ScopedHandle writer(Open(L"\\state\\next.tmp", GENERIC_WRITE, 0, OPEN_EXISTING));
        ASSERT_TRUE(writer.Valid());
        EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\next.tmp", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING)),
            ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(GetFile(L"\\state\\fresh.dat"), "new");
    ASSERT_TRUE(CreateDirectoryW(L"\\state\\folder", nullptr));
    EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\next.tmp", L"\\state\\folder", MOVEFILE_REPLACE_EXISTING)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\folder", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\gone", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING)), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ErrorOf(MoveFileExW(L"\\state\\next.tmp", L"\\state\\fresh.dat", 0x8)), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(MoveFileExW(L"\\state\\next.tmp", L"\\state\\fresh.dat", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetFile(L"\\state\\fresh.dat"), "next");
    std::vector<std::wstring> left = FindAll(L"\\state\\*");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring> { L"folder", L"fresh.dat" }));
}

TEST_P(FilesApi, WideTextRoundTripsAsUtf16LittleEndian)
{
    const std::wstring text = L"Velmora \u0412\u0435\u0440\u0441\u0438\u044F: 1.9\r\n\tppp:1 -1294967296 0 \U0001F600\r\n";
    std::string bytes = EncodeUtf16Le(text);
    ASSERT_EQ(bytes.substr(0, 4), std::string("V\0e\0", 4)); // no byte-order mark
    {
        ScopedHandle file(Open(L"\\report.txt", GENERIC_WRITE, 0, CREATE_ALWAYS));
        ASSERT_TRUE(file.Valid());
        // Written piece by piece, as the system writes its lines.
        size_t half = bytes.size() / 2 & ~size_t(1);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(half), &written, nullptr));
        ASSERT_TRUE(WriteFile(file.Get(), bytes.data() + half, static_cast<DWORD>(bytes.size() - half), &written, nullptr));
    }
    std::string back = GetFile(L"\\report.txt");
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(DecodeUtf16Le(back), text);
}

TEST_P(FilesApi, AnOpenFileOutlivesItsBackend)
{
    ScopedHandle file(Open(L"\\f", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW));
    ASSERT_TRUE(file.Valid());
    platform::UninstallFileSystem();
    m_linux.reset();
    m_sim.reset();
    DWORD count = 0;
    EXPECT_TRUE(WriteFile(file.Get(), "abc", 3, &count, nullptr));
    EXPECT_EQ(GetFileSize(file.Get(), nullptr), 3u);
    EXPECT_EQ(GetFileAttributesW(L"\\f"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
}

TEST(FilesWithoutBackend, EveryCallFailsNotReady)
{
    platform::UninstallFileSystem();
    WIN32_FIND_DATAW data;
    EXPECT_EQ(CreateFileW(L"\\f", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_EQ(FindFirstFileW(L"\\*", &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_EQ(ErrorOf(CreateDirectoryW(L"\\d", nullptr)), ERROR_NOT_READY);
    EXPECT_EQ(ErrorOf(DeleteFileW(L"\\f")), ERROR_NOT_READY);
}
