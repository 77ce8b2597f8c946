// The kernel's routing-socket replies as the Linux backend parses them: any bytes, no read
// outside them, and the composed snapshot holds together.
#include <cstddef>
#include <cstdint>

#include "platform/net/linux/LinuxNetBackend.h"
#include "platform/net/linux/Netlink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform::linuxnet;
    std::vector<KernelLink> links = ParseLinkMessages(data, size);
    std::vector<KernelAddress> addresses = ParseAddressMessages(data, size);
    std::vector<KernelRoute> routes = ParseRouteMessages(data, size);
    platform::LinuxNetBackend::Sources nowhere;
    nowhere.sysfs = "/nonexistent";
    nowhere.resolvConf = "/nonexistent";
    nowhere.resolvedUpstream = "/nonexistent";
    nowhere.leases.networkd = "/nonexistent";
    nowhere.leases.networkManager = "/nonexistent";
    nowhere.leases.dhclient = {};
    nowhere.leases.dhcpcd = "/nonexistent";
    static platform::LinuxNetBackend backend(nowhere);
    platform::NetSnapshot snapshot = backend.Compose(links, addresses, routes, platform::kNetAll);
    for (const platform::NetRoute& route : snapshot.routes)
        if (route.interfaceIndex == 0 || route.prefixLength < 0 || route.prefixLength > 32)
            __builtin_trap();
    return 0;
}
