// The DHCP clients' lease files: networkd's and NetworkManager's KEY=VALUE files, dhclient's
// lease blocks and dhcpcd's stored server answer, all three parsers on every input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/net/linux/LeaseFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::linuxnet;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseKeyValueLease(text);
    for (const ParsedLease& lease : ParseDhclientLeases(text))
        if (lease.lifetime < 0)
            __builtin_trap();
    ParseDhcpMessageLease(text);
    return 0;
}
