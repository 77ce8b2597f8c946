// The device's interface indexes on a Linux host. The system's loops over interfaces stop at a
// small index, and a host with containers, bridges and veth pairs has dozens of links, so the
// order puts first what a user means by "the network": the loopback link is 1, then the link
// the default route leaves through, then the physical links (those with a device behind them
// in /sys), then the virtual ones (bridges, veth, tunnels, ...), each group in the kernel's
// index order, densely from 2. The order follows from the links and the default route alone,
// so indexes hold from one query to the next while those stay as they are.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/WinTypes.h"
#include "platform/net/linux/Netlink.h"

namespace platform::linuxnet {

struct LinkOrderInput {
    int kernelIndex = 0;
    bool loopback = false;
    bool physical = false;
};

// The kernel index of the link the main table's default route leaves through: the unicast
// default route of the lowest metric, the lowest kernel index among equals; 0 when none.
int DefaultRouteLink(const std::vector<KernelRoute>& routes);

// The device index of each link, in the order given. Only the first loopback link (in kernel
// index order) is 1; a second one counts as virtual.
std::vector<DWORD> AssignDeviceIndexes(const std::vector<LinkOrderInput>& links, int defaultRouteLink);

} // namespace platform::linuxnet
