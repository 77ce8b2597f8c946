#include "platform/ui/backend/RenderBackend.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/debug/DebugConsole.h"

namespace platform::ui {

namespace {

RenderBackend* g_renderer = nullptr;
bool g_realDisplay = false;

// A backend lies beside the core library: found from where this code was loaded, so that
// a build tree and an installed program both work without a search path.
std::filesystem::path BackendPath(const char* name)
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&LoadRenderer), &info) == 0 || info.dli_fname == nullptr)
        return name;
    return std::filesystem::path(info.dli_fname).parent_path() / name;
}

bool LoadBackend(const char* name, std::string& error)
{
    if (g_renderer != nullptr)
        return true;
    std::filesystem::path path = BackendPath(name);
    // Deliberately never closed: windows, fonts and the toolkit's own objects live until the
    // process ends.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = "cannot load the rendering backend " + path.string() + ": " + (reason != nullptr ? reason : "unknown error");
        return false;
    }
    auto create = reinterpret_cast<decltype(&VelmoraCreateRenderBackend)>(dlsym(library, "VelmoraCreateRenderBackend"));
    if (create == nullptr) {
        error = "the rendering backend " + path.string() + " has no entry point";
        return false;
    }
    g_renderer = create(g_realDisplay);
    if (g_renderer == nullptr) {
        error = "the rendering backend " + path.string() + " could not start";
        return false;
    }
    return true;
}

} // namespace

bool LoadRenderer(std::string& error)
{
    return LoadBackend("libvelplatform-qt.so", error);
}

bool LoadScreenlessRenderer(std::string& error)
{
    std::string reason;
    if (LoadBackend("libvelplatform-headless.so", reason))
        return true;
    OutputDebugStringA(("LoadScreenlessRenderer: " + reason + "; drawing through Qt\n").c_str());
    return LoadRenderer(error);
}

RenderBackend& Renderer()
{
    if (g_renderer == nullptr) {
        std::string error;
        if (!LoadRenderer(error)) {
            std::fprintf(stderr, "Renderer: %s\n", error.c_str());
            std::abort();
        }
    }
    return *g_renderer;
}

RenderBackend* LoadedRenderer()
{
    return g_renderer;
}

} // namespace platform::ui

namespace platform {

bool UseRealDisplay()
{
    // The backend chooses its display once, when it is loaded.
    if (ui::g_renderer != nullptr)
        return ui::g_realDisplay;
    ui::g_realDisplay = true;
    return true;
}

} // namespace platform
