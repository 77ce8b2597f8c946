// The DHCP clients' lease files, and which lease is in force on an interface.
//   systemd-networkd  /run/systemd/netif/leases/<kernel index>        KEY=VALUE lines
//   NetworkManager    /var/lib/NetworkManager/internal-<uuid>-<if>.lease   KEY=VALUE lines
//                     /var/lib/NetworkManager/dhclient-<uuid>-<if>.lease   dhclient's format
//   dhclient          /var/lib/dhcp/dhclient*.lease[s], /var/lib/dhclient/  lease { ... } blocks
//   dhcpcd            /var/lib/dhcpcd/<if>.lease, /var/lib/dhcpcd/dhcpcd-<if>.lease  the DHCP
//                     server's answer as received (BOOTP message with options)
// A lease counts for an interface only while the interface holds the leased address, so a
// stale file never makes a statically configured interface look like DHCP. The folders are
// watched (platform/net/linux/FolderWatch.h) and looked at again only when something in them
// changed; then only files whose modification time, size or inode changed are parsed again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/NetBackend.h"
#include "platform/net/linux/FolderWatch.h"

namespace platform::linuxnet {

struct ParsedLease {
    std::string interfaceName; // as the file says it (dhclient); else empty
    uint32_t address = 0;      // host byte order
    uint32_t server = 0;
    int64_t obtained = 0;      // seconds since 1970 UTC; 0 when the file does not say
    int64_t expires = 0;       // 0 when the file does not say
    int64_t lifetime = 0;      // seconds; 0 when unknown
};

// networkd's and NetworkManager's internal client's files.
std::optional<ParsedLease> ParseKeyValueLease(std::string_view text);
// Every IPv4 lease block of a dhclient file, in file order.
std::vector<ParsedLease> ParseDhclientLeases(std::string_view text);
// A dhcpcd lease: the DHCP message bytes.
std::optional<ParsedLease> ParseDhcpMessageLease(std::string_view bytes);

struct LeaseFound {
    NetLease lease;
    DhcpClient client = DhcpClient::None;
};

class LeaseFiles {
public:
    // The folders to read, by client; the defaults are the machine's.
    struct Folders {
        std::filesystem::path networkd = "/run/systemd/netif/leases";
        std::filesystem::path networkManager = "/var/lib/NetworkManager";
        std::vector<std::filesystem::path> dhclient { "/var/lib/dhcp", "/var/lib/dhclient" };
        std::filesystem::path dhcpcd = "/var/lib/dhcpcd";
    };
    LeaseFiles();
    explicit LeaseFiles(Folders folders);

    // Looks at the folders again when their watch says something in them changed (every time
    // where they cannot be watched), and the first time.
    void Refresh();
    // The lease in force on the interface: one that names it and leases one of its addresses;
    // the latest-expiring when several do.
    std::optional<LeaseFound> Find(int kernelIndex, const std::string& name, const std::vector<uint32_t>& addresses) const;
    // How many files were parsed since construction (to show that unchanged ones are not).
    int ParseCount() const { return m_parseCount; }
    // How many times the folders were looked at (to show that unchanged ones are not).
    int ScanCount() const { return m_scanCount; }
    // Whether the folders are watched rather than looked at on every refresh.
    bool Watching() const { return m_watch.Watching(); }

private:
    enum class Format : uint8_t { KeyValue, Dhclient, DhcpMessage };
    struct FileState {
        int64_t mtimeNs = 0;
        int64_t size = -1;
        uint64_t inode = 0;
        DhcpClient client = DhcpClient::None;
        int kernelIndex = 0;      // networkd: from the file name
        std::string interfaceName; // NetworkManager, dhcpcd: from the file name
        std::vector<ParsedLease> leases;
    };
    struct FolderState {
        int64_t mtimeNs = -1;
        std::vector<std::filesystem::path> files;
    };

    void RefreshFolder(const std::filesystem::path& folder, DhcpClient client);
    void RefreshFile(const std::filesystem::path& path, DhcpClient client);

    Folders m_folders;
    FolderWatch m_watch;
    std::map<std::filesystem::path, FolderState> m_folderStates;
    std::map<std::filesystem::path, FileState> m_files;
    int m_parseCount = 0;
    int m_scanCount = 0;
};

} // namespace platform::linuxnet
