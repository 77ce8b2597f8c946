#include "platform/winsock/SocketBackend.h"

#include <atomic>

#include "platform/winsock/linux/LinuxSockets.h"

namespace platform {

namespace {
std::atomic<SocketBackend*> g_installedSocketBackend { nullptr };
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

} // namespace platform
