#include "platform/phone/PhoneBackend.h"

#include <atomic>

#include "platform/phone/linux/LinuxPhoneBackend.h"

namespace platform {

namespace {
std::atomic<PhoneBackend*> g_installedPhoneBackend { nullptr };
}

PhoneBackend& CurrentPhoneBackend()
{
    PhoneBackend* installed = g_installedPhoneBackend.load();
    if (installed != nullptr)
        return *installed;
    static LinuxPhoneBackend linuxBackend;
    return linuxBackend;
}

void InstallPhoneBackend(PhoneBackend* backend)
{
    g_installedPhoneBackend.store(backend);
}

} // namespace platform
