// The platform's file calls: argument checks, handles with their access rights and file
// pointer, search handles, and last-error reporting over the installed backend.
#include "platform/files/Files.h"

#include <algorithm>
#include <cstring>

#include "platform/files/FileSystem.h"
#include "platform/files/NamePattern.h"

namespace {

using platform::DevicePath;
using platform::EntryInfo;

constexpr DWORD kAccessBits = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareBits = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kAcceptedAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_RANDOM_ACCESS;

class FileObject final : public platform::KernelObject {
public:
    FileObject(std::unique_ptr<platform::FileStream> stream, DWORD access)
        : m_stream(std::move(stream))
        , m_access(access)
    {
    }

    platform::FileStream& Stream() { return *m_stream; }
    bool CanRead() const { return (m_access & GENERIC_READ) != 0; }
    bool CanWrite() const { return (m_access & GENERIC_WRITE) != 0; }
    uint64_t Position() const { return m_position; }
    void SetPosition(uint64_t position) { m_position = position; }

private:
    std::unique_ptr<platform::FileStream> m_stream;
    DWORD m_access;
    uint64_t m_position = 0;
};

// A search is answered from the entries found when it started, in name order.
class SearchObject final : public platform::KernelObject {
public:
    explicit SearchObject(std::vector<EntryInfo> entries)
        : m_entries(std::move(entries))
    {
    }

    const EntryInfo* Next() { return m_next < m_entries.size() ? &m_entries[m_next++] : nullptr; }

private:
    std::vector<EntryInfo> m_entries;
    size_t m_next = 0;
};

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

std::shared_ptr<platform::FileSystem> RequireFileSystem()
{
    std::shared_ptr<platform::FileSystem> fileSystem = platform::CurrentFileSystem();
    if (!fileSystem)
        SetLastError(ERROR_NOT_READY);
    return fileSystem;
}

FileObject* LookupFile(HANDLE handle)
{
    auto* file = platform::LookupHandleAs<FileObject>(handle);
    if (file == nullptr)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

// Parses a path argument; false with the last error set when it is not a usable path.
bool ParseArgument(LPCWSTR text, DevicePath& path)
{
    if (text == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (DWORD error = DevicePath::Parse(text, path)) {
        SetLastError(error);
        return false;
    }
    return true;
}

struct PathArgument {
    LPCWSTR text;
    DevicePath& path;
};

// The shared start of the calls on paths: each path parsed, then the installed file system,
// then, for a call that cannot act on the root, any root refused with rootError. Null with
// the last error set when one of them fails.
std::shared_ptr<platform::FileSystem> BeginPathCall(std::initializer_list<PathArgument> paths, DWORD rootError = ERROR_SUCCESS)
{
    for (const PathArgument& argument : paths) {
        if (!ParseArgument(argument.text, argument.path))
            return nullptr;
    }
    std::shared_ptr<platform::FileSystem> fileSystem = RequireFileSystem();
    if (!fileSystem || rootError == ERROR_SUCCESS)
        return fileSystem;
    for (const PathArgument& argument : paths) {
        if (argument.path.IsRoot()) {
            SetLastError(rootError);
            return nullptr;
        }
    }
    return fileSystem;
}

void FillFindData(const EntryInfo& entry, WIN32_FIND_DATAW* data)
{
    data->dwFileAttributes = entry.attributes;
    data->ftCreationTime = entry.creationTime;
    data->ftLastAccessTime = entry.lastAccessTime;
    data->ftLastWriteTime = entry.lastWriteTime;
    data->nFileSizeHigh = static_cast<DWORD>(entry.sizeBytes >> 32);
    data->nFileSizeLow = static_cast<DWORD>(entry.sizeBytes & 0xFFFFFFFFu);
    data->dwOID = 0;
    size_t length = std::min<size_t>(entry.name.size(), MAX_PATH - 1);
    std::wmemcpy(data->cFileName, entry.name.data(), length);
    data->cFileName[length] = L'\0';
}

} // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES lpSecurityAttributes,
    DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    if ((dwDesiredAccess & ~kAccessBits) != 0 || (dwShareMode & ~kShareBits) != 0 || lpSecurityAttributes != nullptr
        || hTemplateFile != nullptr || (dwFlagsAndAttributes & ~kAcceptedAttributes) != 0
        || dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING
        || (dwCreationDisposition == TRUNCATE_EXISTING && (dwDesiredAccess & GENERIC_WRITE) == 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    DevicePath path;
    std::shared_ptr<platform::FileSystem> fileSystem = BeginPathCall({ { lpFileName, path } });
    if (!fileSystem)
        return INVALID_HANDLE_VALUE;

    std::unique_ptr<platform::FileStream> stream;
    bool existed = false;
    if (DWORD error = fileSystem->Open(path, dwDesiredAccess, dwShareMode, dwCreationDisposition, stream, existed)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = platform::RegisterHandle(std::make_unique<FileObject>(std::move(stream), dwDesiredAccess));
    bool reportsExisting = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPVOID lpOverlapped)
{
    if (lpNumberOfBytesRead != nullptr)
        *lpNumberOfBytesRead = 0;
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return FALSE;
    if (lpNumberOfBytesRead == nullptr || lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead != 0))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!file->CanRead())
        return Fail(ERROR_ACCESS_DENIED);
    DWORD bytesRead = 0;
    DWORD error = file->Stream().ReadAt(file->Position(), lpBuffer, nNumberOfBytesToRead, bytesRead);
    file->SetPosition(file->Position() + bytesRead);
    *lpNumberOfBytesRead = bytesRead;
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten, LPVOID lpOverlapped)
{
    if (lpNumberOfBytesWritten != nullptr)
        *lpNumberOfBytesWritten = 0;
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return FALSE;
    if (lpNumberOfBytesWritten == nullptr || lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToWrite != 0))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    if (nNumberOfBytesToWrite == 0)
        return TRUE;
    DWORD bytesWritten = 0;
    DWORD error = file->Stream().WriteAt(file->Position(), lpBuffer, nNumberOfBytesToWrite, bytesWritten);
    file->SetPosition(file->Position() + bytesWritten);
    *lpNumberOfBytesWritten = bytesWritten;
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return INVALID_SET_FILE_POINTER;
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32)
            | static_cast<uint32_t>(lDistanceToMove));
    int64_t base = 0;
    switch (dwMoveMethod) {
    case FILE_BEGIN:
        break;
    case FILE_CURRENT:
        base = static_cast<int64_t>(file->Position());
        break;
    case FILE_END: {
        uint64_t size = 0;
        if (DWORD error = file->Stream().GetSize(size)) {
            SetLastError(error);
            return INVALID_SET_FILE_POINTER;
        }
        base = static_cast<int64_t>(size);
        break;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    int64_t target = 0;
    if (__builtin_add_overflow(base, distance, &target)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    // Without a high part the caller can only be told a 32-bit position.
    if (lpDistanceToMoveHigh == nullptr && target > 0xFFFFFFFFll) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    file->SetPosition(static_cast<uint64_t>(target));
    DWORD low = static_cast<DWORD>(static_cast<uint64_t>(target) & 0xFFFFFFFFu);
    if (lpDistanceToMoveHigh != nullptr)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    // A position whose low part reads as the failure value is told apart by the last error.
    if (low == INVALID_SET_FILE_POINTER)
        SetLastError(NO_ERROR);
    return low;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return INVALID_FILE_SIZE;
    uint64_t size = 0;
    if (DWORD error = file->Stream().GetSize(size)) {
        SetLastError(error);
        return INVALID_FILE_SIZE;
    }
    DWORD low = static_cast<DWORD>(size & 0xFFFFFFFFu);
    if (lpFileSizeHigh != nullptr)
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    if (low == INVALID_FILE_SIZE)
        SetLastError(NO_ERROR);
    return low;
}

BOOL SetEndOfFile(HANDLE hFile)
{
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    if (DWORD error = file->Stream().SetSize(file->Position()))
        return Fail(error);
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile)
{
    FileObject* file = LookupFile(hFile);
    if (file == nullptr)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    if (DWORD error = file->Stream().Flush())
        return Fail(error);
    return TRUE;
}

HANDLE FindFirstFileW(LPCWSTR lpFileName, WIN32_FIND_DATAW* lpFindFileData)
{
    if (lpFileName == nullptr || lpFindFileData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    DevicePath folder;
    std::wstring pattern;
    if (DWORD error = DevicePath::ParseSearch(lpFileName, folder, pattern)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    std::shared_ptr<platform::FileSystem> fileSystem = RequireFileSystem();
    if (!fileSystem)
        return INVALID_HANDLE_VALUE;
    std::vector<EntryInfo> entries;
    if (DWORD error = fileSystem->ListFolder(folder, entries)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    std::erase_if(entries, [&](const EntryInfo& entry) {
        return pattern.empty() || !platform::MatchesNamePattern(entry.name, pattern);
    });
    if (entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(entries.begin(), entries.end(), [](const EntryInfo& a, const EntryInfo& b) { return a.name < b.name; });
    auto search = std::make_unique<SearchObject>(std::move(entries));
    FillFindData(*search->Next(), lpFindFileData);
    return platform::RegisterHandle(std::move(search));
}

BOOL FindNextFileW(HANDLE hFindFile, WIN32_FIND_DATAW* lpFindFileData)
{
    auto* search = platform::LookupHandleAs<SearchObject>(hFindFile);
    if (search == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    if (lpFindFileData == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    const EntryInfo* entry = search->Next();
    if (entry == nullptr)
        return Fail(ERROR_NO_MORE_FILES);
    FillFindData(*entry, lpFindFileData);
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile)
{
    if (platform::LookupHandleAs<SearchObject>(hFindFile) == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    return CloseHandle(hFindFile);
}

namespace {

// A rename that refuses an existing target, or one that replaces it.
BOOL Move(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, bool replace)
{
    DevicePath from;
    DevicePath to;
    std::shared_ptr<platform::FileSystem> fileSystem
        = BeginPathCall({ { lpExistingFileName, from }, { lpNewFileName, to } }, ERROR_ACCESS_DENIED);
    if (!fileSystem)
        return FALSE;
    if (DWORD error = replace ? fileSystem->ReplaceFile(from, to) : fileSystem->MoveEntry(from, to))
        return Fail(error);
    return TRUE;
}

} // namespace

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
    return Move(lpExistingFileName, lpNewFileName, false);
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    if ((dwFlags & ~static_cast<DWORD>(MOVEFILE_REPLACE_EXISTING)) != 0)
        return Fail(ERROR_INVALID_PARAMETER);
    return Move(lpExistingFileName, lpNewFileName, (dwFlags & MOVEFILE_REPLACE_EXISTING) != 0);
}

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    DevicePath path;
    std::shared_ptr<platform::FileSystem> fileSystem = BeginPathCall({ { lpFileName, path } }, ERROR_ACCESS_DENIED);
    if (!fileSystem)
        return FALSE;
    if (DWORD error = fileSystem->DeleteFile(path))
        return Fail(error);
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes)
{
    if (lpSecurityAttributes != nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    DevicePath path;
    std::shared_ptr<platform::FileSystem> fileSystem = BeginPathCall({ { lpPathName, path } }, ERROR_ALREADY_EXISTS);
    if (!fileSystem)
        return FALSE;
    if (DWORD error = fileSystem->CreateDirectory(path))
        return Fail(error);
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName)
{
    DevicePath path;
    std::shared_ptr<platform::FileSystem> fileSystem = BeginPathCall({ { lpPathName, path } }, ERROR_ACCESS_DENIED);
    if (!fileSystem)
        return FALSE;
    if (DWORD error = fileSystem->RemoveDirectory(path))
        return Fail(error);
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    DevicePath path;
    std::shared_ptr<platform::FileSystem> fileSystem = BeginPathCall({ { lpFileName, path } });
    if (!fileSystem)
        return INVALID_FILE_ATTRIBUTES;
    EntryInfo entry;
    if (DWORD error = fileSystem->GetEntry(path, entry)) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    return entry.attributes;
}
