// /proc/net/dev's rows as the Linux backend reads its counters: any text, and the rows put on
// links of the same names.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/net/linux/ProcNetDev.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::linuxnet;
    std::vector<LinkCounters> rows = ParseProcNetDev(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<KernelLink> links(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name.empty() || rows[i].name.find_first_of(" :\n") != std::string::npos)
            __builtin_trap();
        links[rows.size() - 1 - i].name = rows[i].name;
    }
    ApplyCounters(rows, links);
    return 0;
}
