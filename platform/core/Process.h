// Starting programs. The device's programs are not ours to run: the host, which plays the
// device, installs a starter that takes each request (it may show it, log it or run something
// of its own). Without one, no program exists, and CreateProcessW fails as it does for a
// missing program file.
#pragma once

#include <functional>
#include <string>

#include "platform/core/WinTypes.h"

struct STARTUPINFOW;
using LPSTARTUPINFOW = STARTUPINFOW*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// The image name is a device path and must be given; the command line holds the arguments
// alone, as the device's programs receive them. The security attributes, handle inheritance,
// environment, current folder and start-up information are not supported by the device and
// are ignored. On success the process and thread handles are the caller's to close.
// FALSE with ERROR_INVALID_PARAMETER without an image name or process information,
// ERROR_FILE_NOT_FOUND without a starter, or the starter's error.
BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
    LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION processInformation);

// The id of a process from CreateProcessW; 0 with ERROR_INVALID_HANDLE for any other handle.
DWORD GetProcessId(HANDLE process);

namespace platform {

struct ProcessStart {
    std::wstring imageName;
    std::wstring commandLine;
    DWORD creationFlags = 0;
};

// Returns ERROR_SUCCESS when the program was started, else the error CreateProcessW reports
// (ERROR_FILE_NOT_FOUND for a program the host does not know).
using ProcessStarter = std::function<DWORD(const ProcessStart&)>;

// The host's starter; an empty one removes it.
void InstallProcessStarter(ProcessStarter starter);

} // namespace platform
