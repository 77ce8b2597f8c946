// The platform's module loader: LoadLibraryW, GetProcAddressW and FreeLibrary over the modules
// the platform provides (the radio interface library and the like), which their services
// register by file name with their exports. A module nobody provides fails to load as on the
// device (ERROR_MOD_NOT_FOUND); an export it lacks gives ERROR_PROC_NOT_FOUND.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

// A generic function pointer; callers cast it to the export's real type.
using FARPROC = void (*)();

#ifndef MAKEINTRESOURCEW
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(static_cast<WORD>(i))))
#endif
#ifndef IS_INTRESOURCE
#define IS_INTRESOURCE(p) ((reinterpret_cast<uintptr_t>(p) >> 16) == 0)
#endif

// The file name may carry a path ("\Windows\ril.dll"); only the name counts, ignoring case.
HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
// By name, or by ordinal given as MAKEINTRESOURCEW(ordinal).
FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);
BOOL FreeLibrary(HMODULE hLibModule);

namespace platform {

struct ModuleExport {
    std::wstring name; // empty for an export known by ordinal only
    WORD ordinal = 0;  // 0 for an export known by name only
    FARPROC proc = nullptr;
};

// Makes a module loadable, or replaces its exports. Handles already given out stay valid.
void RegisterPlatformModule(const std::wstring& fileName, std::vector<ModuleExport> exports);
// Later loads fail; handles already given out stop resolving exports (ERROR_INVALID_HANDLE).
void UnregisterPlatformModule(const std::wstring& fileName);
// How many loads of a module are not yet freed (for tests).
int ModuleLoadCount(const std::wstring& fileName);

} // namespace platform
