#include "platform/net/linux/NetlinkMonitor.h"

#include <cerrno>

#include <linux/netlink.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform::linuxnet {

NetlinkMonitor::~NetlinkMonitor()
{
    if (m_fd >= 0)
        close(m_fd);
}

int NetlinkMonitor::Open(uint32_t groups)
{
    if (m_fd >= 0)
        return 0;
    m_fd = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (m_fd < 0)
        return errno;
    sockaddr_nl local {};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        int error = errno;
        close(m_fd);
        m_fd = -1;
        return error;
    }
    return 0;
}

bool NetlinkMonitor::Drain()
{
    if (m_fd < 0)
        return false;
    bool changed = false;
    // What a notification says does not matter, only that one came: a datagram larger than the
    // buffer is cut off and dropped whole.
    char buffer[4096];
    while (true) {
        ssize_t received = recv(m_fd, buffer, sizeof(buffer), MSG_DONTWAIT);
        if (received >= 0) {
            changed = true;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno == ENOBUFS) {
            changed = true; // notifications were lost
            continue;
        }
        // EAGAIN: nothing more. Any other error leaves the caller to read the records again.
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            changed = true;
        return changed;
    }
}

} // namespace platform::linuxnet
