#include "platform/net/linux/LeaseFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

#include "platform/text/NumberText.h"

namespace platform::linuxnet {

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// "2023/01/04" and "01:02:03" (UTC) as seconds since 1970.
std::optional<int64_t> ParseDhclientTime(std::string_view date, std::string_view time)
{
    int values[6];
    auto parseFields = [](std::string_view text, char separator, int* out) {
        for (int i = 0; i < 3; ++i) {
            size_t end = i < 2 ? text.find(separator) : text.size();
            if (end == std::string_view::npos)
                return false;
            std::optional<int64_t> value = ParseInteger(text.substr(0, end));
            if (!value || *value < 0 || *value > 100000)
                return false;
            out[i] = static_cast<int>(*value);
            text = i < 2 ? text.substr(end + 1) : std::string_view();
        }
        return true;
    };
    if (!parseFields(date, '/', values) || !parseFields(time, ':', values + 3))
        return std::nullopt;
    if (values[1] < 1 || values[1] > 12 || values[2] < 1 || values[2] > 31 || values[3] > 23 || values[4] > 59 || values[5] > 60)
        return std::nullopt;
    return DaysFromCivil(values[0], values[1], values[2]) * 86400 + values[3] * 3600 + values[4] * 60 + values[5];
}

// dhclient's file as words, strings and the punctuation { } ;, comments dropped.
std::vector<std::string> DhclientTokens(std::string_view text)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < text.size()) {
        char ch = text[i];
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') {
            ++i;
        } else if (ch == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (ch == '{' || ch == '}' || ch == ';') {
            tokens.emplace_back(1, ch);
            ++i;
        } else if (ch == '"') {
            std::string word;
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                word += text[i];
            }
            ++i;
            tokens.push_back(std::move(word));
        } else {
            size_t start = i;
            while (i < text.size() && std::string_view(" \t\r\n{};\"#").find(text[i]) == std::string_view::npos)
                ++i;
            tokens.emplace_back(text.substr(start, i - start));
        }
    }
    return tokens;
}

std::optional<std::string> ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // Lease files are small; a runaway one is read only in part.
    std::string text;
    text.resize(1 << 20);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::optional<ParsedLease> ParseKeyValueLease(std::string_view text)
{
    ParsedLease lease;
    bool haveAddress = false;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string_view::npos)
            continue;
        std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (key == "ADDRESS") {
            if (auto address = ParseIpv4(value)) {
                lease.address = *address;
                haveAddress = true;
            }
        } else if (key == "SERVER_ADDRESS") {
            if (auto address = ParseIpv4(value))
                lease.server = *address;
        } else if (key == "LIFETIME") {
            if (auto seconds = ParseInteger(value); seconds && *seconds >= 0)
                lease.lifetime = *seconds;
        }
    }
    if (!haveAddress)
        return std::nullopt;
    return lease;
}

std::vector<ParsedLease> ParseDhclientLeases(std::string_view text)
{
    std::vector<ParsedLease> leases;
    std::vector<std::string> tokens = DhclientTokens(text);
    size_t i = 0;
    auto skipBlock = [&tokens, &i]() {
        // i is just past a "{": skip to its matching "}".
        int depth = 1;
        while (i < tokens.size() && depth > 0) {
            if (tokens[i] == "{")
                ++depth;
            else if (tokens[i] == "}")
                --depth;
            ++i;
        }
    };
    while (i < tokens.size()) {
        if (tokens[i] == "{") {
            ++i;
            skipBlock();
            continue;
        }
        if (tokens[i] != "lease" || i + 1 >= tokens.size() || tokens[i + 1] != "{") {
            ++i;
            continue;
        }
        i += 2;
        ParsedLease lease;
        bool haveAddress = false;
        int64_t leaseTime = 0;
        while (i < tokens.size() && tokens[i] != "}") {
            std::vector<std::string> statement;
            while (i < tokens.size() && tokens[i] != ";" && tokens[i] != "}") {
                if (tokens[i] == "{") {
                    ++i;
                    skipBlock();
                    continue;
                }
                statement.push_back(tokens[i++]);
            }
            if (i < tokens.size() && tokens[i] == ";")
                ++i;
            if (statement.size() >= 2 && statement[0] == "interface") {
                lease.interfaceName = statement[1];
            } else if (statement.size() >= 2 && statement[0] == "fixed-address") {
                if (auto address = ParseIpv4(statement[1])) {
                    lease.address = *address;
                    haveAddress = true;
                }
            } else if (statement.size() >= 3 && statement[0] == "option" && statement[1] == "dhcp-server-identifier") {
                if (auto address = ParseIpv4(statement[2]))
                    lease.server = *address;
            } else if (statement.size() >= 3 && statement[0] == "option" && statement[1] == "dhcp-lease-time") {
                if (auto seconds = ParseInteger(statement[2]); seconds && *seconds >= 0)
                    leaseTime = *seconds;
            } else if (statement.size() >= 3 && statement[0] == "expire") {
                if (statement[1] == "epoch") {
                    if (auto seconds = ParseInteger(statement[2]))
                        lease.expires = *seconds;
                } else if (statement.size() >= 4) {
                    if (auto seconds = ParseDhclientTime(statement[2], statement[3]))
                        lease.expires = *seconds;
                }
            }
        }
        if (i < tokens.size())
            ++i; // the closing "}"
        if (!haveAddress)
            continue;
        lease.lifetime = leaseTime;
        if (lease.expires != 0 && leaseTime != 0)
            lease.obtained = lease.expires - leaseTime;
        leases.push_back(lease);
    }
    return leases;
}

std::optional<ParsedLease> ParseDhcpMessageLease(std::string_view bytes)
{
    constexpr size_t kOptionsOffset = 240; // BOOTP header (236) and the magic cookie
    if (bytes.size() < kOptionsOffset)
        return std::nullopt;
    auto byteAt = [&bytes](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    auto word = [&byteAt](size_t i) {
        return (uint32_t(byteAt(i)) << 24) | (uint32_t(byteAt(i + 1)) << 16) | (uint32_t(byteAt(i + 2)) << 8) | byteAt(i + 3);
    };
    if (word(236) != 0x63825363u)
        return std::nullopt;
    ParsedLease lease;
    lease.address = word(16); // yiaddr
    if (lease.address == 0)
        return std::nullopt;
    size_t i = kOptionsOffset;
    while (i < bytes.size()) {
        uint8_t code = byteAt(i++);
        if (code == 0)
            continue;
        if (code == 255 || i >= bytes.size())
            break;
        size_t length = byteAt(i++);
        if (length > bytes.size() - i)
            break;
        if (code == 51 && length == 4)
            lease.lifetime = word(i);
        else if (code == 54 && length == 4)
            lease.server = word(i);
        i += length;
    }
    return lease;
}

LeaseFiles::LeaseFiles()
    : LeaseFiles(Folders {})
{
}

namespace {

std::vector<std::filesystem::path> AllFolders(const LeaseFiles::Folders& folders)
{
    std::vector<std::filesystem::path> all { folders.networkd, folders.networkManager, folders.dhcpcd };
    all.insert(all.end(), folders.dhclient.begin(), folders.dhclient.end());
    return all;
}

} // namespace

LeaseFiles::LeaseFiles(Folders folders)
    : m_folders(std::move(folders))
    , m_watch(AllFolders(m_folders))
{
}

void LeaseFiles::Refresh()
{
    // The watch is asked first, so that a change made while the folders are read shows next time.
    if (!m_watch.Changed() && m_scanCount != 0)
        return;
    ++m_scanCount;
    RefreshFolder(m_folders.networkd, DhcpClient::Networkd);
    RefreshFolder(m_folders.networkManager, DhcpClient::NetworkManager);
    for (const auto& folder : m_folders.dhclient)
        RefreshFolder(folder, DhcpClient::Dhclient);
    RefreshFolder(m_folders.dhcpcd, DhcpClient::Dhcpcd);
}

void LeaseFiles::RefreshFolder(const std::filesystem::path& folder, DhcpClient client)
{
    FolderState& state = m_folderStates[folder];
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        for (const auto& path : state.files)
            m_files.erase(path);
        state = FolderState {};
        return;
    }
    int64_t mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    if (mtimeNs != state.mtimeNs) {
        // Files came or went: list the folder again.
        std::vector<std::filesystem::path> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            std::string name = entry.path().filename().string();
            bool wanted = false;
            switch (client) {
            case DhcpClient::Networkd:
                wanted = !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
                break;
            case DhcpClient::NetworkManager:
                wanted = EndsWith(name, ".lease") && (StartsWith(name, "internal-") || StartsWith(name, "dhclient-"));
                break;
            case DhcpClient::Dhclient:
                wanted = StartsWith(name, "dhclient") && (EndsWith(name, ".lease") || EndsWith(name, ".leases"));
                break;
            case DhcpClient::Dhcpcd:
                wanted = EndsWith(name, ".lease");
                break;
            case DhcpClient::None:
                break;
            }
            if (wanted)
                files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& path : state.files)
            if (!std::binary_search(files.begin(), files.end(), path))
                m_files.erase(path);
        state.files = std::move(files);
        state.mtimeNs = mtimeNs;
    }
    for (const auto& path : state.files)
        RefreshFile(path, client);
}

void LeaseFiles::RefreshFile(const std::filesystem::path& path, DhcpClient client)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        m_files.erase(path);
        return;
    }
    int64_t mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    FileState& state = m_files[path];
    if (state.mtimeNs == mtimeNs && state.size == static_cast<int64_t>(info.st_size) && state.inode == info.st_ino)
        return;
    state = FileState {};
    state.mtimeNs = mtimeNs;
    state.size = static_cast<int64_t>(info.st_size);
    state.inode = info.st_ino;
    state.client = client;

    std::string name = path.filename().string();
    Format format = Format::KeyValue;
    switch (client) {
    case DhcpClient::Networkd:
        state.kernelIndex = static_cast<int>(ParseInteger(name).value_or(0));
        break;
    case DhcpClient::NetworkManager: {
        // internal-<uuid>-<if>.lease or dhclient-<uuid>-<if>.lease; a uuid has 36 characters.
        bool internal = StartsWith(name, "internal-");
        size_t start = 9 + 36 + 1; // both prefixes have 9 characters
        std::string_view stem = std::string_view(name).substr(0, name.size() - 6);
        if (stem.size() > start)
            state.interfaceName = std::string(stem.substr(start));
        format = internal ? Format::KeyValue : Format::Dhclient;
        break;
    }
    case DhcpClient::Dhclient:
        format = Format::Dhclient;
        break;
    case DhcpClient::Dhcpcd: {
        std::string_view stem = std::string_view(name).substr(0, name.size() - 6);
        if (StartsWith(stem, "dhcpcd-"))
            stem.remove_prefix(7);
        state.interfaceName = std::string(stem);
        format = Format::DhcpMessage;
        break;
    }
    case DhcpClient::None:
        break;
    }

    std::optional<std::string> text = ReadFileText(path);
    ++m_parseCount;
    if (!text)
        return;
    int64_t mtime = info.st_mtim.tv_sec;
    if (format == Format::Dhclient) {
        state.leases = ParseDhclientLeases(*text);
        for (ParsedLease& lease : state.leases)
            if (lease.obtained == 0 && lease.expires == 0 && lease.lifetime != 0) {
                lease.obtained = mtime;
                lease.expires = mtime + lease.lifetime;
            }
        return;
    }
    std::optional<ParsedLease> lease = format == Format::KeyValue ? ParseKeyValueLease(*text) : ParseDhcpMessageLease(*text);
    if (!lease)
        return;
    // These files keep no times of their own: the client wrote the file when it got the lease.
    lease->obtained = mtime;
    lease->expires = lease->lifetime != 0 ? mtime + lease->lifetime : 0;
    state.leases.push_back(*lease);
}

std::optional<LeaseFound> LeaseFiles::Find(int kernelIndex, const std::string& name, const std::vector<uint32_t>& addresses) const
{
    std::optional<LeaseFound> best;
    for (const auto& [path, state] : m_files) {
        for (const ParsedLease& lease : state.leases) {
            bool names = state.client == DhcpClient::Networkd
                ? state.kernelIndex == kernelIndex
                : (lease.interfaceName.empty() ? state.interfaceName : lease.interfaceName) == name;
            if (!names || std::find(addresses.begin(), addresses.end(), lease.address) == addresses.end())
                continue;
            if (best && best->lease.expires >= lease.expires)
                continue;
            LeaseFound found;
            found.client = state.client;
            found.lease.enabled = true;
            found.lease.server = lease.server;
            found.lease.obtained = lease.obtained;
            found.lease.expires = lease.expires;
            best = found;
        }
    }
    return best;
}

} // namespace platform::linuxnet
