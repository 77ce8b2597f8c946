#include "platform/module/ModuleLoader.h"

#include <map>
#include <mutex>

#include "platform/core/LastError.h"
#include "platform/text/WideString.h"

namespace {

struct Module {
    std::vector<platform::ModuleExport> exports;
    bool registered = true;
    int loads = 0;
    uintptr_t handle = 0;
};

struct ModuleTable {
    std::mutex mutex;
    std::map<std::wstring, Module> modules; // by lower-case file name
    uintptr_t nextHandle = 0x7A0000;
};

ModuleTable& Table()
{
    static ModuleTable table;
    return table;
}

std::wstring KeyOf(std::wstring_view fileName)
{
    size_t slash = fileName.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos)
        fileName.remove_prefix(slash + 1);
    return WideToLower(fileName);
}

Module* ByHandle(ModuleTable& table, HMODULE handle)
{
    for (auto& [name, module] : table.modules)
        if (module.loads > 0 && module.handle == reinterpret_cast<uintptr_t>(handle))
            return &module;
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
    auto it = table.modules.find(KeyOf(lpLibFileName));
    if (it == table.modules.end() || !it->second.registered) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    Module& module = it->second;
    if (module.loads++ == 0) {
        // A fresh handle for every first load: a stale one never resolves again.
        module.handle = table.nextHandle;
        table.nextHandle += 0x10000;
    }
    return reinterpret_cast<HMODULE>(module.handle);
}

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    Module* module = ByHandle(table, hModule);
    if (module == nullptr || !module->registered) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (lpProcName == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    bool byOrdinal = IS_INTRESOURCE(lpProcName);
    WORD ordinal = static_cast<WORD>(reinterpret_cast<uintptr_t>(lpProcName));
    for (const platform::ModuleExport& entry : module->exports) {
        bool match = byOrdinal ? (entry.ordinal != 0 && entry.ordinal == ordinal) : (!entry.name.empty() && entry.name == lpProcName);
        if (match && entry.proc != nullptr)
            return entry.proc;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    Module* module = ByHandle(table, hLibModule);
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --module->loads;
    return TRUE;
}

namespace platform {

void RegisterPlatformModule(const std::wstring& fileName, std::vector<ModuleExport> exports)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    Module& module = table.modules[KeyOf(fileName)];
    module.exports = std::move(exports);
    module.registered = true;
}

void UnregisterPlatformModule(const std::wstring& fileName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(KeyOf(fileName));
    if (it == table.modules.end())
        return;
    it->second.registered = false;
    it->second.exports.clear();
    if (it->second.loads == 0)
        table.modules.erase(it);
}

int ModuleLoadCount(const std::wstring& fileName)
{
    ModuleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.modules.find(KeyOf(fileName));
    return it == table.modules.end() ? 0 : it->second.loads;
}

} // namespace platform
