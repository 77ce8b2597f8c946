#include "platform/net/linux/ResolverConfig.h"

#include <fstream>

#include <sys/stat.h>

#include "platform/text/NumberText.h"

namespace platform::linuxnet {

namespace {
constexpr uint32_t kResolvedStub = 0x7F000035; // 127.0.0.53
}

std::vector<uint32_t> ParseResolvConf(std::string_view text)
{
    std::vector<uint32_t> servers;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t i = 0;
        auto skipBlanks = [&line, &i]() {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
                ++i;
        };
        skipBlanks();
        constexpr std::string_view kKeyword = "nameserver";
        if (line.substr(i, kKeyword.size()) != kKeyword)
            continue;
        i += kKeyword.size();
        if (i >= line.size() || (line[i] != ' ' && line[i] != '\t'))
            continue;
        skipBlanks();
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#' && line[i] != ';')
            ++i;
        if (auto address = ParseIpv4(line.substr(start, i - start)))
            servers.push_back(*address);
    }
    return servers;
}

ResolverConfig::ResolverConfig()
    : ResolverConfig("/etc/resolv.conf", "/run/systemd/resolve/resolv.conf")
{
}

ResolverConfig::ResolverConfig(std::filesystem::path resolvConf, std::filesystem::path resolvedUpstream)
    : m_resolvConf(std::move(resolvConf))
    , m_resolvedUpstream(std::move(resolvedUpstream))
{
}

const std::vector<uint32_t>& ResolverConfig::Read(const std::filesystem::path& path, Cached& cache)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        cache = Cached {};
        return cache.servers;
    }
    int64_t mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    if (cache.mtimeNs == mtimeNs && cache.size == static_cast<int64_t>(info.st_size) && cache.inode == info.st_ino)
        return cache.servers;
    cache.mtimeNs = mtimeNs;
    cache.size = static_cast<int64_t>(info.st_size);
    cache.inode = info.st_ino;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    text.resize(256 * 1024);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    cache.servers = ParseResolvConf(text);
    ++m_parseCount;
    return cache.servers;
}

const std::vector<uint32_t>& ResolverConfig::Servers()
{
    const std::vector<uint32_t>& servers = Read(m_resolvConf, m_main);
    if (servers.size() == 1 && servers[0] == kResolvedStub) {
        const std::vector<uint32_t>& upstream = Read(m_resolvedUpstream, m_upstream);
        if (!upstream.empty())
            return upstream;
    }
    return servers;
}

} // namespace platform::linuxnet
