#include "platform/module/ModuleLoader.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/core/LastError.h"
#include "platform/text/WideString.h"

namespace fs = std::filesystem;

namespace {

struct PlatformModule {
    std::vector<platform::ModuleExport> exports;
    bool registered = true;
    int loads = 0;
    uintptr_t handle = 0;
};

// A shared library loaded as a module. The export table is copied at attach: the library's
// own table is read only while the library is open.
struct SharedModule {
    void* library = nullptr;
    PFN_DLLMAIN dllMain = nullptr;
    std::vector<platform::ModuleExport> exports;
    int loads = 0;
    uintptr_t handle = 0;
};

struct ModuleTable {
    // Recursive: a module's DllMain loads and frees other modules while the table is held, as
    // a module's attach runs under the loader lock on the device.
    std::recursive_mutex mutex;
    std::map<std::wstring, PlatformModule> platformModules; // by lower-case file name
    std::map<std::string, SharedModule> sharedModules;      // by the library's canonical path
    std::vector<std::string> searchPath;
    uintptr_t nextHandle = 0x7A0000;

    // A fresh handle for every first load: a stale one never resolves again.
    uintptr_t NewHandle()
    {
        uintptr_t handle = nextHandle;
        nextHandle += 0x10000;
        return handle;
    }
};

ModuleTable& Table()
{
    static ModuleTable table;
    return table;
}

std::wstring LastPart(std::wstring_view fileName)
{
    size_t slash = fileName.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos)
        fileName.remove_prefix(slash + 1);
    return std::wstring(fileName);
}

std::wstring KeyOf(std::wstring_view fileName)
{
    return WideToLower(LastPart(fileName));
}

PlatformModule* PlatformByHandle(ModuleTable& table, HMODULE handle)
{
    for (auto& [name, module] : table.platformModules)
        if (module.loads > 0 && module.handle == reinterpret_cast<uintptr_t>(handle))
            return &module;
    return nullptr;
}

SharedModule* SharedByHandle(ModuleTable& table, HMODULE handle)
{
    for (auto& [path, module] : table.sharedModules)
        if (module.loads > 0 && module.handle == reinterpret_cast<uintptr_t>(handle))
            return &module;
    return nullptr;
}

fs::path ProgramFolder()
{
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

bool IsFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The library file a module name stands for, or an empty path when there is none.
fs::path FindLibrary(const ModuleTable& table, std::wstring_view fileName)
{
    if (fileName.find(L'/') != std::wstring_view::npos) {
        fs::path path(WideToUtf8(fileName));
        return IsFile(path) ? path : fs::path();
    }
    std::string name = WideToUtf8(WideToLower(LastPart(fileName)));
    std::vector<std::string> candidates;
    if (name.size() > 4 && name.ends_with(".dll")) {
        std::string stem = name.substr(0, name.size() - 4);
        candidates = { "lib" + stem + ".so", stem + ".so" };
    } else {
        candidates = { name };
    }
    std::vector<fs::path> folders(table.searchPath.begin(), table.searchPath.end());
    folders.push_back(ProgramFolder());
    for (const fs::path& folder : folders) {
        if (folder.empty())
            continue;
        for (const std::string& candidate : candidates)
            if (IsFile(folder / candidate))
                return folder / candidate;
    }
    return {};
}

std::vector<platform::ModuleExport> ReadExports(void* library)
{
    std::vector<platform::ModuleExport> exports;
    auto table = reinterpret_cast<PFN_DLLEXPORTTABLE>(dlsym(library, kDllExportTableSymbol));
    if (table == nullptr)
        return exports;
    DWORD count = 0;
    const DllExport* entries = table(&count);
    for (DWORD i = 0; entries != nullptr && i < count; ++i)
        exports.push_back({ entries[i].name != nullptr ? entries[i].name : L"", entries[i].ordinal, entries[i].proc });
    return exports;
}

HMODULE LoadSharedModule(ModuleTable& table, std::wstring_view fileName)
{
    fs::path path = FindLibrary(table, fileName);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::error_code error;
    std::string key = fs::weakly_canonical(path, error).string();
    if (error)
        key = path.string();
    auto found = table.sharedModules.find(key);
    if (found != table.sharedModules.end() && found->second.loads > 0) {
        ++found->second.loads;
        return reinterpret_cast<HMODULE>(found->second.handle);
    }

    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        // The file is there but is no library this process can run.
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    SharedModule& module = table.sharedModules[key];
    module.library = library;
    module.dllMain = reinterpret_cast<PFN_DLLMAIN>(dlsym(library, kDllMainSymbol));
    module.exports = ReadExports(library);
    module.loads = 1;
    module.handle = table.NewHandle();
    auto instance = reinterpret_cast<HINSTANCE>(module.handle);
    if (module.dllMain != nullptr && !module.dllMain(instance, DLL_PROCESS_ATTACH, nullptr)) {
        // As on the device: a refused attach is followed by the detach, then the unload.
        module.dllMain(instance, DLL_PROCESS_DETACH, nullptr);
        dlclose(library);
        table.sharedModules.erase(key);
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
    }
    return instance;
}

void FreeSharedModule(ModuleTable& table, SharedModule& module)
{
    if (--module.loads > 0)
        return;
    if (module.dllMain != nullptr)
        module.dllMain(reinterpret_cast<HINSTANCE>(module.handle), DLL_PROCESS_DETACH, nullptr);
    dlclose(module.library);
    for (auto it = table.sharedModules.begin(); it != table.sharedModules.end(); ++it) {
        if (&it->second == &module) {
            table.sharedModules.erase(it);
            break;
        }
    }
}

FARPROC FindExport(const std::vector<platform::ModuleExport>& exports, LPCWSTR lpProcName)
{
    bool byOrdinal = IS_INTRESOURCE(lpProcName);
    WORD ordinal = static_cast<WORD>(reinterpret_cast<uintptr_t>(lpProcName));
    for (const platform::ModuleExport& entry : exports) {
        bool match = byOrdinal ? (entry.ordinal != 0 && entry.ordinal == ordinal)
                               : (!entry.name.empty() && entry.name == lpProcName);
        if (match && entry.proc != nullptr)
            return entry.proc;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
    if (lpLibFileName == nullptr || *lpLibFileName == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    std::wstring_view fileName(lpLibFileName);
    if (fileName.find(L'/') == std::wstring_view::npos) {
        auto it = table.platformModules.find(KeyOf(fileName));
        if (it != table.platformModules.end() && it->second.registered) {
            PlatformModule& module = it->second;
            if (module.loads++ == 0)
                module.handle = table.NewHandle();
            return reinterpret_cast<HMODULE>(module.handle);
        }
    }
    return LoadSharedModule(table, fileName);
}

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    const std::vector<platform::ModuleExport>* exports = nullptr;
    if (PlatformModule* module = PlatformByHandle(table, hModule); module != nullptr && module->registered)
        exports = &module->exports;
    else if (SharedModule* shared = SharedByHandle(table, hModule); shared != nullptr)
        exports = &shared->exports;
    if (exports == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (lpProcName == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return FindExport(*exports, lpProcName);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (PlatformModule* module = PlatformByHandle(table, hLibModule); module != nullptr) {
        --module->loads;
        return TRUE;
    }
    if (SharedModule* module = SharedByHandle(table, hLibModule); module != nullptr) {
        FreeSharedModule(table, *module);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

namespace platform {

void RegisterPlatformModule(const std::wstring& fileName, std::vector<ModuleExport> exports)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    PlatformModule& module = table.platformModules[KeyOf(fileName)];
    module.exports = std::move(exports);
    module.registered = true;
}

void UnregisterPlatformModule(const std::wstring& fileName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.platformModules.find(KeyOf(fileName));
    if (it == table.platformModules.end())
        return;
    it->second.registered = false;
    it->second.exports.clear();
    if (it->second.loads == 0)
        table.platformModules.erase(it);
}

int ModuleLoadCount(const std::wstring& fileName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.platformModules.find(KeyOf(fileName));
    return it == table.platformModules.end() ? 0 : it->second.loads;
}

int ModuleLoadCount(HMODULE module)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (PlatformModule* found = PlatformByHandle(table, module); found != nullptr)
        return found->loads;
    SharedModule* shared = SharedByHandle(table, module);
    return shared != nullptr ? shared->loads : 0;
}

void SetModuleSearchPath(std::vector<std::string> folders)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.searchPath = std::move(folders);
}

} // namespace platform
