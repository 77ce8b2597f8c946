#include "platform/net/linux/InterfaceOrder.h"

#include <algorithm>
#include <tuple>

#include <linux/rtnetlink.h>

namespace platform::linuxnet {

int DefaultRouteLink(const std::vector<KernelRoute>& routes)
{
    const KernelRoute* best = nullptr;
    for (const KernelRoute& route : routes) {
        if (route.table != RT_TABLE_MAIN || route.type != RTN_UNICAST || route.prefixLength != 0 || route.outputIndex <= 0)
            continue;
        if (best == nullptr
            || std::tie(route.priority, route.outputIndex) < std::tie(best->priority, best->outputIndex))
            best = &route;
    }
    return best != nullptr ? best->outputIndex : 0;
}

std::vector<DWORD> AssignDeviceIndexes(const std::vector<LinkOrderInput>& links, int defaultRouteLink)
{
    enum Group { Loopback, DefaultRoute, Physical, Virtual };
    int loopbackIndex = 0;
    for (const LinkOrderInput& link : links)
        if (link.loopback && (loopbackIndex == 0 || link.kernelIndex < loopbackIndex))
            loopbackIndex = link.kernelIndex;
    auto groupOf = [&](const LinkOrderInput& link) {
        if (link.loopback && link.kernelIndex == loopbackIndex)
            return Loopback;
        if (link.kernelIndex == defaultRouteLink)
            return DefaultRoute;
        return link.physical ? Physical : Virtual;
    };

    std::vector<size_t> order(links.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return std::make_tuple(groupOf(links[a]), links[a].kernelIndex) < std::make_tuple(groupOf(links[b]), links[b].kernelIndex);
    });
    std::vector<DWORD> indexes(links.size(), 0);
    DWORD next = 2;
    for (size_t position : order)
        indexes[position] = groupOf(links[position]) == Loopback ? 1 : next++;
    return indexes;
}

} // namespace platform::linuxnet
