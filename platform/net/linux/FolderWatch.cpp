#include "platform/net/linux/FolderWatch.h"

#include <cerrno>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace platform::linuxnet {

namespace {

// A folder's files written (also through a descriptor kept open, as dhclient does), made,
// removed, renamed or touched, and the folder itself going away.
constexpr uint32_t kFolderEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// A parent of a missing folder: the next step towards it made, or the parent itself going away.
constexpr uint32_t kParentEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

FolderWatch::FolderWatch(std::vector<std::filesystem::path> folders)
    : m_folders(std::move(folders))
{
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_watching = m_fd >= 0;
    if (m_watching)
        Arm();
}

FolderWatch::~FolderWatch()
{
    if (m_fd >= 0)
        close(m_fd);
}

void FolderWatch::Arm()
{
    std::map<int, Role> roles;
    for (const std::filesystem::path& folder : m_folders) {
        std::filesystem::path at = folder.lexically_normal();
        if (!at.has_filename() && at.has_relative_path())
            at = at.parent_path(); // "/var/lib/dhcp/"
        std::string awaited;
        while (true) {
            // Masks only ever widen (IN_MASK_ADD): two paths may name one folder.
            uint32_t mask = awaited.empty() ? kFolderEvents : kParentEvents;
            int wd = inotify_add_watch(m_fd, at.c_str(), mask | IN_MASK_ADD);
            if (wd >= 0) {
                Role& role = roles[wd];
                role.path = at;
                if (awaited.empty())
                    role.folder = true;
                else
                    role.awaited.insert(awaited);
                break;
            }
            bool missing = errno == ENOENT || errno == ENOTDIR;
            if (!missing || at.parent_path().empty() || at.parent_path() == at) {
                // Out of watches, or a folder inotify refuses: look every time.
                m_watching = false;
                return;
            }
            awaited = at.filename().string();
            at = at.parent_path();
        }
    }
    // Watches nobody needs any more (a folder that now exists needs no parent's).
    for (const auto& [wd, role] : m_roles)
        if (roles.count(wd) == 0)
            inotify_rm_watch(m_fd, wd);
    m_roles = std::move(roles);
}

bool FolderWatch::Changed()
{
    if (!m_watching)
        return true;
    bool changed = false;
    bool rearm = false;
    alignas(inotify_event) char buffer[4096];
    while (true) {
        ssize_t received = read(m_fd, buffer, sizeof(buffer));
        if (received < 0 && errno == EINTR)
            continue;
        if (received <= 0)
            break;
        for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= received;) {
            inotify_event event;
            std::memcpy(&event, buffer + offset, sizeof(event));
            const char* text = buffer + offset + sizeof(inotify_event);
            std::string name(text, strnlen(text, event.len));
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
            if ((event.mask & IN_Q_OVERFLOW) != 0) {
                changed = rearm = true;
                continue;
            }
            auto role = m_roles.find(event.wd);
            if (role == m_roles.end())
                continue; // a watch given up (its IN_IGNORED, or events queued before)
            bool self = (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0;
            bool awaitedStep = (event.mask & (IN_CREATE | IN_MOVED_TO)) != 0 && role->second.awaited.count(name) != 0;
            if (self || awaitedStep || role->second.folder)
                changed = true;
            if (self || awaitedStep)
                rearm = true;
        }
    }
    if (rearm)
        Arm();
    return changed || !m_watching;
}

} // namespace platform::linuxnet
