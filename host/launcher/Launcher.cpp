// The velmora executable: answers --version itself and hands everything else to the program's
// library. It uses the C library alone, so that a version query costs a process start and
// nothing more: no C++ runtime, no platform library, no module.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <dlfcn.h>
#include <unistd.h>

namespace {

using ProgramMain = int (*)(int argc, char** argv, int64_t startedNs);

int64_t MonotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The program's own reading of the command line: --data DIR (or --data=DIR) may come first.
bool AsksForVersion(int argc, char** argv)
{
    int at = 1;
    while (at < argc) {
        if (std::strcmp(argv[at], "--data") == 0)
            at += 2;
        else if (std::strncmp(argv[at], "--data=", 7) == 0)
            at += 1;
        else
            break;
    }
    return at < argc && std::strcmp(argv[at], "--version") == 0;
}

constexpr char kProgramLibrary[] = "libvelmora-program.so";

// The library's path in the executable's folder; its bare name, for the loader's search, when
// the executable's own path cannot be read or is too long.
const char* ProgramLibraryPath()
{
    static char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return kProgramLibrary;
    path[length] = '\0';
    char* slash = std::strrchr(path, '/');
    if (slash == nullptr || static_cast<size_t>(slash + 1 - path) + sizeof kProgramLibrary > sizeof path)
        return kProgramLibrary;
    std::memcpy(slash + 1, kProgramLibrary, sizeof kProgramLibrary);
    return path;
}

} // namespace

// The font configuration library keeps a few allocations of its own to the end of the process
// (once Qt has asked it for a font); they are not ours to free, so the sanitizer build's leak
// checker ignores them, as in the test programs. The checker looks for this in the executable.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    const int64_t started = MonotonicNs();
    if (AsksForVersion(argc, argv)) {
        std::puts("velmora " VELMORA_VERSION);
        return 0;
    }
    // Beside the executable, named by its full path: a sanitizer that wraps dlopen would make
    // the search use its own run path instead of the executable's.
    void* program = dlopen(ProgramLibraryPath(), RTLD_LAZY);
    if (program == nullptr) {
        std::fprintf(stderr, "velmora: cannot load the program's library: %s\n", dlerror());
        return 127;
    }
    auto run = reinterpret_cast<ProgramMain>(dlsym(program, "VelmoraProgramMain"));
    if (run == nullptr) {
        std::fprintf(stderr, "velmora: the program's library has no entry: %s\n", dlerror());
        return 127;
    }
    // Never closed: the program's static objects end with the process, as they always did.
    return run(argc, argv, started);
}
