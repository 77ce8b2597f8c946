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

#include "ScratchFolder.h"
#include "platform/registry/RegistryStore.h"

namespace {

namespace fs = std::filesystem;

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
    EmptyFuzzScratchFolder();
    const fs::path hive = FuzzScratchFolder() / "registry.reg";
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
