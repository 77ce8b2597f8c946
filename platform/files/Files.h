// The platform's file functions on device paths ("\Program Files\Velmora\UsageData200603.txt").
// Paths are absolute from the device root; "\" and "/" both separate; names are matched
// ignoring case and keep the case they were created with. A path that would leave the root is
// refused with ERROR_ACCESS_DENIED. Share mode 0 opens a file exclusively: every other open of
// it, in this process or another, fails with ERROR_SHARING_VIOLATION until it is closed.
#pragma once

#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/core/WinTypes.h"
#include "platform/registry/Registry.h" // FILETIME

enum : DWORD {
    GENERIC_READ = 0x80000000u,
    GENERIC_WRITE = 0x40000000u,
};

enum : DWORD {
    FILE_SHARE_READ = 0x1,
    FILE_SHARE_WRITE = 0x2,
    FILE_SHARE_DELETE = 0x4,
};

enum : DWORD {
    CREATE_NEW = 1,
    CREATE_ALWAYS = 2,
    OPEN_EXISTING = 3,
    OPEN_ALWAYS = 4,
    TRUNCATE_EXISTING = 5,
};

enum : DWORD {
    FILE_ATTRIBUTE_READONLY = 0x1,
    FILE_ATTRIBUTE_HIDDEN = 0x2,
    FILE_ATTRIBUTE_SYSTEM = 0x4,
    FILE_ATTRIBUTE_DIRECTORY = 0x10,
    FILE_ATTRIBUTE_ARCHIVE = 0x20,
    FILE_ATTRIBUTE_NORMAL = 0x80,
    // Access-pattern hints: taken and left to the kernel's own read-ahead.
    FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000,
    FILE_FLAG_RANDOM_ACCESS = 0x10000000,
};

#define INVALID_FILE_ATTRIBUTES (static_cast<DWORD>(0xFFFFFFFFu))
#define INVALID_FILE_SIZE (static_cast<DWORD>(0xFFFFFFFFu))
#define INVALID_SET_FILE_POINTER (static_cast<DWORD>(0xFFFFFFFFu))

enum : DWORD {
    MOVEFILE_REPLACE_EXISTING = 0x1,
};

enum : DWORD {
    FILE_BEGIN = 0,
    FILE_CURRENT = 1,
    FILE_END = 2,
};

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};

// Only the archive and normal attributes are accepted on create; security and template
// arguments must be null, as the device requires.
HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES lpSecurityAttributes,
    DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPVOID lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten, LPVOID lpOverlapped);
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod);
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL SetEndOfFile(HANDLE hFile);
BOOL FlushFileBuffers(HANDLE hFile);

// lpFileName may end in a pattern with "*" and "?" in its last component.
HANDLE FindFirstFileW(LPCWSTR lpFileName, WIN32_FIND_DATAW* lpFindFileData);
BOOL FindNextFileW(HANDLE hFindFile, WIN32_FIND_DATAW* lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
// With MOVEFILE_REPLACE_EXISTING a file may take the place of an existing file, in one step (a
// file written aside and put in place this way is never seen half written). Other flags are
// refused with ERROR_INVALID_PARAMETER.
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
BOOL DeleteFileW(LPCWSTR lpFileName);
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryW(LPCWSTR lpPathName);
DWORD GetFileAttributesW(LPCWSTR lpFileName);
