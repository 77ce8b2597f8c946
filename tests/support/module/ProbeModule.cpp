// A shared-library module for the module loader's tests. It notes each attach and detach, with
// the instance it was given, in the file that PROBE_MODULE_LOG names, and refuses to attach
// while PROBE_MODULE_REFUSE is set.
#include <cstdio>
#include <cstdlib>

#include "platform/module/ModuleLoader.h"

namespace {

HINSTANCE g_hInstance = nullptr;

void Note(const char* what, HINSTANCE instance)
{
    const char* path = std::getenv("PROBE_MODULE_LOG");
    if (path == nullptr)
        return;
    if (FILE* file = std::fopen(path, "a"); file != nullptr) {
        std::fprintf(file, "%s %p\n", what, static_cast<void*>(instance));
        std::fclose(file);
    }
}

HINSTANCE AttachedInstance()
{
    return g_hInstance;
}

int Seven()
{
    return 7;
}

const DllExport kExports[] = {
    { 1, L"AttachedInstance", reinterpret_cast<FARPROC>(&AttachedInstance) },
    { 2, nullptr, reinterpret_cast<FARPROC>(&Seven) },
};

} // namespace

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Note("attach", instance);
        if (std::getenv("PROBE_MODULE_REFUSE") != nullptr)
            return FALSE;
        g_hInstance = instance;
    } else if (reason == DLL_PROCESS_DETACH) {
        Note("detach", instance);
        g_hInstance = nullptr;
    }
    return TRUE;
}

extern "C" const DllExport* DllExportTable(DWORD* count)
{
    *count = sizeof(kExports) / sizeof(kExports[0]);
    return kExports;
}
