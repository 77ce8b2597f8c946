// Preloaded into a program under test: when the program ends, copies what it had mapped
// (/proc/self/maps) to the file named by VELMORA_TEST_MAPS_FILE, so that a test can tell which
// libraries the program loaded over its whole run.
#include <cstdlib>
#include <fstream>

namespace {

__attribute__((destructor)) void WriteMapsAtExit()
{
    const char* target = std::getenv("VELMORA_TEST_MAPS_FILE");
    if (target == nullptr || *target == '\0')
        return;
    std::ifstream maps("/proc/self/maps", std::ios::binary);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << maps.rdbuf();
}

} // namespace
