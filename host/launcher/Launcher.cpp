// The velmora executable: answers --version itself and hands everything else to the program's
// library. It uses the C library alone, so that a version query costs a process start and
// nothing more: no C++ runtime, no platform library, no module.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <dlfcn.h>

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
    // Found beside the executable (its run path), as its libraries were before.
    void* program = dlopen("libvelmora-program.so", RTLD_NOW);
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
