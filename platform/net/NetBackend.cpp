#include "platform/net/NetBackend.h"

#include <atomic>

#include "platform/net/linux/LinuxNetBackend.h"

namespace platform {

namespace {
std::atomic<NetBackend*> g_installedNetBackend { nullptr };
}

NetBackend& CurrentNetBackend()
{
    NetBackend* installed = g_installedNetBackend.load();
    if (installed != nullptr)
        return *installed;
    // Built on first use, so that programs that never ask the network never open a socket.
    static LinuxNetBackend linuxBackend;
    return linuxBackend;
}

void InstallNetBackend(NetBackend* backend)
{
    g_installedNetBackend.store(backend);
}

const NetRoute* BestRoute(const std::vector<NetRoute>& routes, DWORD destination)
{
    const NetRoute* best = nullptr;
    for (const NetRoute& route : routes) {
        DWORD mask = PrefixToMask(route.prefixLength);
        if ((destination & mask) != (route.destination & mask))
            continue;
        if (best == nullptr || route.prefixLength > best->prefixLength
            || (route.prefixLength == best->prefixLength && route.metric < best->metric))
            best = &route;
    }
    return best;
}

std::string FormatIpv4(DWORD address)
{
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += std::to_string((address >> shift) & 0xFF);
        if (shift != 0)
            out += '.';
    }
    return out;
}

DWORD PrefixToMask(int prefixLength)
{
    if (prefixLength <= 0)
        return 0;
    if (prefixLength >= 32)
        return 0xFFFFFFFFu;
    return ~((1u << (32 - prefixLength)) - 1);
}

} // namespace platform
