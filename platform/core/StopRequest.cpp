#include "platform/core/StopRequest.h"

#include <atomic>

#include <poll.h>

namespace platform {

namespace {

std::atomic<int> g_stopDescriptor { -1 };

} // namespace

void InstallStopDescriptor(int fd)
{
    g_stopDescriptor = fd;
}

int StopDescriptor()
{
    return g_stopDescriptor;
}

bool StopRequested()
{
    pollfd watch { g_stopDescriptor, POLLIN, 0 };
    return watch.fd >= 0 && poll(&watch, 1, 0) > 0 && (watch.revents & POLLIN) != 0;
}

} // namespace platform
