// The resolver's name servers, from /etc/resolv.conf. When that names only the local stub of
// systemd-resolved (127.0.0.53), the servers it forwards to are read from resolved's own file
// instead, so that the report shows the servers the machine really asks. A file is parsed
// again only when its modification time, size or inode changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace platform::linuxnet {

// IPv4 "nameserver" entries in file order (IPv6 ones are not the device's business).
std::vector<uint32_t> ParseResolvConf(std::string_view text);

class ResolverConfig {
public:
    ResolverConfig();
    ResolverConfig(std::filesystem::path resolvConf, std::filesystem::path resolvedUpstream);

    const std::vector<uint32_t>& Servers();
    int ParseCount() const { return m_parseCount; }

private:
    struct Cached {
        int64_t mtimeNs = -1;
        int64_t size = -1;
        uint64_t inode = 0;
        std::vector<uint32_t> servers;
    };
    const std::vector<uint32_t>& Read(const std::filesystem::path& path, Cached& cache);

    std::filesystem::path m_resolvConf;
    std::filesystem::path m_resolvedUpstream;
    Cached m_main;
    Cached m_upstream;
    int m_parseCount = 0;
};

} // namespace platform::linuxnet
