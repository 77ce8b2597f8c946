// The platform's module loader: LoadLibraryW, GetProcAddressW and FreeLibrary.
//
// Two kinds of module answer to a file name. Platform-provided modules (the radio interface
// library and the like) are registered by their services with their exports. Any other name is
// looked for as a shared library: "velmora.dll" (a device path such as "\Windows\velmora.dll"
// counts by its last part) is found as "libvelmora.so" or "velmora.so" in the folders of the
// module search path, then beside the running program; a name holding a '/' is the Linux path
// of the library itself. A module found nowhere fails to load as on the device
// (ERROR_MOD_NOT_FOUND); an export it lacks gives ERROR_PROC_NOT_FOUND.
//
// A shared library is a module of this platform when it publishes, as C functions:
//   BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)     (optional)
//   const DllExport* DllExportTable(DWORD* count)                      (its exports)
// The first load calls DllMain with DLL_PROCESS_ATTACH and the module's handle as the
// instance; when it answers FALSE the module is detached again and the load fails with
// ERROR_DLL_INIT_FAILED. The last FreeLibrary calls it with DLL_PROCESS_DETACH and closes the
// library. Loading the same library again, by whatever name, gives the same handle and counts
// one more load.
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

// ---- What a shared-library module publishes ----

constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;

extern "C" {
struct DllExport {
    WORD ordinal;        // 0 for an export known by name only
    const wchar_t* name; // null for an export known by ordinal only
    FARPROC proc;
};
}
using PFN_DLLMAIN = BOOL (*)(HINSTANCE instance, DWORD reason, LPVOID reserved);
using PFN_DLLEXPORTTABLE = const DllExport* (*)(DWORD* count);
constexpr const char* kDllMainSymbol = "DllMain";
constexpr const char* kDllExportTableSymbol = "DllExportTable";

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
// How many loads of a module are not yet freed (for tests): a platform module by its file
// name, a shared library by the handle's module.
int ModuleLoadCount(const std::wstring& fileName);
int ModuleLoadCount(HMODULE module);

// Folders searched for shared-library modules before the running program's own folder, in
// order. The host sets them; an empty list leaves only the program's folder.
void SetModuleSearchPath(std::vector<std::string> folders);

} // namespace platform
