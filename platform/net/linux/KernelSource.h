// What the Linux backend asks the kernel, one call per kernel read, so that the backend's
// caching can be checked against a counting fake and the machine's kernel is one
// implementation among others (LiveKernelSource).
#pragma once

#include <vector>

#include "platform/net/linux/Netlink.h"
#include "platform/net/linux/ProcNetDev.h"

namespace platform::linuxnet {

// What the kernel said since the last look.
enum class KernelChanges : uint8_t {
    None,    // nothing changed: what was read still holds
    Some,    // links, addresses or routes changed, or notifications were lost
    Unknown, // the kernel cannot tell (no notifications): read again once a tick
};

class KernelSource {
public:
    virtual ~KernelSource() = default;
    // Each returns 0 or an errno value.
    virtual int DumpLinks(std::vector<KernelLink>& out) = 0;
    virtual int DumpAddresses(std::vector<KernelAddress>& out) = 0;
    virtual int DumpRoutes(std::vector<KernelRoute>& out) = 0;
    virtual int ReadCounters(std::vector<LinkCounters>& out) = 0;
    // Takes in what the kernel said since the last call.
    virtual KernelChanges TakeChanges() = 0;
    // A descriptor that becomes readable when the kernel says something changed; -1 when none.
    virtual int WaitHandle() const = 0;
};

} // namespace platform::linuxnet
