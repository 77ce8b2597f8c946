// The resolver configuration's name server lines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/net/linux/ResolverConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::linuxnet::ParseResolvConf(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
