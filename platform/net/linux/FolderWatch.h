// Tells whether anything in a few folders changed, through inotify, so that their files are
// looked at again only then instead of being stat'ed every tick. A folder that does not exist
// yet is waited for through its nearest existing parent. Where inotify cannot be had (no
// instance or watch left, a folder that cannot be watched) every look counts as a change, and
// the caller looks at its files as it would without a watch.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace platform::linuxnet {

class FolderWatch {
public:
    explicit FolderWatch(std::vector<std::filesystem::path> folders);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Whether inotify watches every folder (or the parent it waits for it in).
    bool Watching() const { return m_watching; }
    // Reads the queued events without waiting: true when something in a folder changed since
    // the last call (a file written, made, removed or renamed; the folder itself made or
    // removed), and always when not watching.
    bool Changed();
    // Readable while events wait; -1 when not watching.
    int Handle() const { return m_watching ? m_fd : -1; }

private:
    // What a watch stands for: a folder itself (any event counts), or the parent of missing
    // folders (only the making of the next step towards one counts).
    struct Role {
        std::filesystem::path path;
        bool folder = false;
        std::set<std::string> awaited;
    };
    void Arm();

    std::vector<std::filesystem::path> m_folders;
    int m_fd = -1;
    bool m_watching = false;
    std::map<int, Role> m_roles; // by watch descriptor
};

} // namespace platform::linuxnet
