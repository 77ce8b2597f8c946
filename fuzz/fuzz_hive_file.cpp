// The hive as a file on disk, whatever it holds: opening the store never crashes and never
// refuses a regular file; when the file had bad lines the original is kept aside byte for
// byte, and what is left in its place opens again without a fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/registry/RegistryStore.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Folder()
{
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "fuzz-hive-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        // Kept in a plain buffer: the path object is gone by the time exit handlers run.
        static char removeAtExit[4096];
        std::snprintf(removeAtExit, sizeof removeAtExit, "%s", pattern.c_str());
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(removeAtExit, ignored);
        });
        return fs::path(pattern);
    }();
    return folder;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform;
    const fs::path& folder = Folder();
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
    const fs::path hive = folder / "registry.reg";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(hive, std::ios::binary) << bytes;

    RegistryStoreResult opened = OpenRegistryStore(hive, RegistryStoreMode::ReadWrite);
    if (!opened.Ok())
        std::abort(); // a regular file is always taken, damaged or not
    CloseRegistryStore();
    if (!opened.damage.empty() && ReadAll(opened.movedAsideTo) != bytes)
        std::abort(); // the original was not kept whole
    RegistryStoreResult again = OpenRegistryStore(hive, RegistryStoreMode::ReadOnly);
    if (!again.Ok() || !again.damage.empty())
        std::abort(); // what the store left behind is itself damaged
    CloseRegistryStore();
    return 0;
}
