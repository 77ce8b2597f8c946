#include "platform/winsock/SocketBackend.h"

#include <atomic>

#include "platform/winsock/linux/LinuxSockets.h"

namespace platform {

namespace {
std::atomic<SocketBackend*> g_installedSocketBackend { nullptr };
std::atomic<int> g_stopDescriptor { -1 };
}

SocketBackend& CurrentSocketBackend()
{
    SocketBackend* installed = g_installedSocketBackend.load();
    if (installed != nullptr)
        return *installed;
    static LinuxSockets linuxBackend;
    return linuxBackend;
}

void InstallSocketBackend(SocketBackend* backend)
{
    g_installedSocketBackend.store(backend);
}

void SetStopDescriptor(int fd)
{
    g_stopDescriptor.store(fd);
}

int StopDescriptor()
{
    return g_stopDescriptor.load();
}

} // namespace platform
