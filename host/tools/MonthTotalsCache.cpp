#include "host/tools/MonthTotalsCache.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <type_traits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/files/DevicePath.h"
#include "platform/files/Files.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/files/WholeFile.h"
#include "platform/text/WideString.h"

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr std::string_view kHeading = "velmora month totals 1\n";
constexpr std::string_view kChecksum = "checksum ";
// A cache file is a few kilobytes; anything much larger is not one of ours.
constexpr std::uintmax_t kLargestCacheFile = 1 << 20;

uint64_t Fnv1a(std::string_view bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ull;
    }
    return hash;
}

// Each code unit as hex digits, two for a byte and eight for a wide character, so that any
// value comes back as it was; "-" for nothing, since an empty field would vanish between two
// spaces.
template <typename Char>
std::string Hex(std::basic_string_view<Char> text)
{
    constexpr int kDigits = sizeof(Char) == 1 ? 2 : 8;
    if (text.empty())
        return "-";
    std::string out;
    char unit[9];
    for (Char ch : text) {
        std::snprintf(unit, sizeof unit, "%0*x", kDigits, static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(ch)));
        out += unit;
    }
    return out;
}

template <typename Char>
std::optional<std::basic_string<Char>> FromHex(std::string_view hex)
{
    constexpr size_t kDigits = sizeof(Char) == 1 ? 2 : 8;
    if (hex == "-")
        return std::basic_string<Char>();
    if (hex.empty() || hex.size() % kDigits != 0)
        return std::nullopt;
    std::basic_string<Char> out;
    for (size_t at = 0; at < hex.size(); at += kDigits) {
        uint32_t value = 0;
        auto [end, error] = std::from_chars(hex.data() + at, hex.data() + at + kDigits, value, 16);
        if (error != std::errc() || end != hex.data() + at + kDigits)
            return std::nullopt;
        out += static_cast<Char>(value);
    }
    return out;
}

// Splits a line into its space-separated words.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    while (!line.empty()) {
        size_t space = line.find(' ');
        words.push_back(line.substr(0, space));
        if (space == std::string_view::npos)
            break;
        line.remove_prefix(space + 1);
    }
    return words;
}

template <typename Number>
bool Read(std::string_view word, Number& value)
{
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

int64_t Nanoseconds(const struct timespec& time)
{
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The identity of the file at that place now. A file held by a writer (the device adding an
// hour's record holds it exclusively) has none, so that the reader meets the hold as it would
// without a cache.
MonthFileIdentity IdentifyHostFile(const std::string& where)
{
    MonthFileIdentity identity;
    int file = ::open(where.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (file < 0)
        return identity;
    struct stat status {};
    if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode) && ::flock(file, LOCK_SH | LOCK_NB) == 0) {
        identity.known = true;
        identity.where = where;
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        identity.size = static_cast<uint64_t>(status.st_size);
        identity.modifiedNs = Nanoseconds(status.st_mtim);
        identity.changedNs = Nanoseconds(status.st_ctim);
    }
    ::close(file);
    return identity;
}

} // namespace

std::string FormatMonthTotalsFile(const MonthTotalsContent& content)
{
    const MonthFileIdentity& identity = content.identity;
    std::string text(kHeading);
    text += "file " + Hex(std::string_view(identity.where)) + " " + std::to_string(identity.device) + " " + std::to_string(identity.inode)
        + " " + std::to_string(identity.size) + " " + std::to_string(identity.modifiedNs) + " "
        + std::to_string(identity.changedNs) + "\n";
    if (content.names) {
        text += "names";
        for (const std::wstring& name : *content.names)
            text += " " + Hex(std::wstring_view(name));
        text += "\n";
    }
    for (const MonthTotalsRecord& record : content.records) {
        text += "totals " + std::to_string(record.key.interval) + " " + std::to_string(record.key.month) + " "
            + std::to_string(record.key.day) + " " + Hex(std::wstring_view(record.key.selector));
        for (ULONG64 value : record.added)
            text += " " + std::to_string(value);
        text += "\n";
    }
    char sum[17];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(Fnv1a(text)));
    text += std::string(kChecksum) + sum + "\n";
    return text;
}

std::optional<MonthTotalsContent> ParseMonthTotalsFile(std::string_view text)
{
    if (text.size() < kHeading.size() || text.substr(0, kHeading.size()) != kHeading || text.back() != '\n')
        return std::nullopt;
    size_t sumAt = text.rfind(kChecksum);
    if (sumAt == std::string_view::npos || (sumAt > 0 && text[sumAt - 1] != '\n'))
        return std::nullopt;
    uint64_t sum = 0;
    std::string_view sumText = text.substr(sumAt + kChecksum.size());
    sumText.remove_suffix(1);
    auto [end, error] = std::from_chars(sumText.data(), sumText.data() + sumText.size(), sum, 16);
    if (error != std::errc() || end != sumText.data() + sumText.size() || sumText.size() != 16)
        return std::nullopt;
    std::string_view body = text.substr(0, sumAt);
    if (Fnv1a(body) != sum)
        return std::nullopt;

    MonthTotalsContent content;
    MonthFileIdentity& read = content.identity;
    body.remove_prefix(kHeading.size());
    bool haveFile = false;
    while (!body.empty()) {
        size_t lineEnd = body.find('\n');
        if (lineEnd == std::string_view::npos)
            return std::nullopt;
        std::vector<std::string_view> words = Words(body.substr(0, lineEnd));
        body.remove_prefix(lineEnd + 1);
        if (!haveFile) {
            std::optional<std::string> where;
            if (words.size() != 7 || words[0] != "file" || !(where = FromHex<char>(words[1])) || !Read(words[2], read.device)
                || !Read(words[3], read.inode) || !Read(words[4], read.size) || !Read(words[5], read.modifiedNs)
                || !Read(words[6], read.changedNs))
                return std::nullopt;
            read.where = *where;
            read.known = true;
            haveFile = true;
            continue;
        }
        if (words[0] == "names" && !content.names) {
            std::vector<std::wstring> names;
            for (size_t i = 1; i < words.size(); ++i) {
                std::optional<std::wstring> name = FromHex<wchar_t>(words[i]);
                if (!name)
                    return std::nullopt;
                names.push_back(std::move(*name));
            }
            content.names = std::move(names);
            continue;
        }
        if (words.size() != 5 + UsageTableSize || words[0] != "totals")
            return std::nullopt;
        MonthTotalsRecord record;
        std::optional<std::wstring> selector = FromHex<wchar_t>(words[4]);
        if (!Read(words[1], record.key.interval) || !Read(words[2], record.key.month) || !Read(words[3], record.key.day)
            || !selector)
            return std::nullopt;
        record.key.selector = std::move(*selector);
        for (size_t i = 0; i < UsageTableSize; ++i) {
            if (!Read(words[5 + i], record.added[i]))
                return std::nullopt;
        }
        content.records.push_back(std::move(record));
    }
    if (!haveFile)
        return std::nullopt;
    return content;
}

MonthFileIdentity IdentifyMonthFile(const std::wstring& devicePath)
{
    auto files = std::dynamic_pointer_cast<platform::LinuxFileSystem>(platform::CurrentFileSystem());
    platform::DevicePath path;
    fs::path host;
    if (!files || platform::DevicePath::Parse(devicePath, path) != ERROR_SUCCESS || files->HostPath(path, host) != ERROR_SUCCESS)
        return {};
    return IdentifyHostFile(host.string());
}

MonthTotalsCache::MonthTotalsCache(fs::path folder, std::chrono::milliseconds quiet)
    : m_folder(std::move(folder))
    , m_quiet(quiet)
{
}

std::optional<fs::path> MonthTotalsCache::DefaultFolder()
{
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg == '/')
        return fs::path(xdg) / "velmora" / "usage";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
        return fs::path(home) / ".cache" / "velmora" / "usage";
    return std::nullopt;
}

fs::path MonthTotalsCache::CacheFileFor(const std::string& where) const
{
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.totals", static_cast<unsigned long long>(Fnv1a(where)));
    return m_folder / name;
}

MonthTotalsContent& MonthTotalsCache::Load(const MonthFileIdentity& identity)
{
    MonthTotalsContent& loaded = m_loaded[identity.where];
    if (loaded.identity == identity)
        return loaded;
    loaded = MonthTotalsContent {};
    loaded.identity = identity;
    fs::path file = CacheFileFor(identity.where);
    std::error_code error;
    std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kLargestCacheFile)
        return loaded;
    // Unreadable: nothing, as for a damaged one.
    std::string text;
    platform::ReadWholeFile(file, text);
    // Another month file whose place hashes alike, or this one before it changed: nothing.
    if (std::optional<MonthTotalsContent> cached = ParseMonthTotalsFile(text); cached && cached->identity == identity)
        loaded = std::move(*cached);
    return loaded;
}

const MonthTotalsContent* MonthTotalsCache::LoadFor(const std::wstring& path, MonthFileIdentity& identity)
{
    identity = IdentifyMonthFile(path);
    return identity.known ? &Load(identity) : nullptr;
}

bool MonthTotalsCache::Find(const std::wstring& path, const MonthTotalsKey& key, UsageTable& added, MonthFileIdentity& identity)
{
    const MonthTotalsContent* content = LoadFor(path, identity);
    if (content == nullptr)
        return false;
    const MonthTotalsContent& loaded = *content;
    auto found = std::find_if(loaded.records.begin(), loaded.records.end(),
        [&key](const MonthTotalsRecord& record) { return record.key == key; });
    if (found == loaded.records.end())
        return false;
    added = found->added;
    return true;
}

bool MonthTotalsCache::FindNames(const std::wstring& path, std::vector<std::wstring>& names, MonthFileIdentity& identity)
{
    const MonthTotalsContent* loaded = LoadFor(path, identity);
    if (loaded == nullptr || !loaded->names)
        return false;
    names = *loaded->names;
    return true;
}

bool MonthTotalsCache::StillQuiet(const MonthFileIdentity& identity) const
{
    // Changed while it was read, or too lately to be sure a later change will show.
    if (!identity.known || IdentifyHostFile(identity.where) != identity)
        return false;
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now) - identity.changedNs >= std::chrono::nanoseconds(m_quiet).count();
}

void MonthTotalsCache::Keep(const MonthFileIdentity& identity, const MonthTotalsKey& key, const UsageTable& added)
{
    if (!StillQuiet(identity))
        return;
    MonthTotalsContent& loaded = Load(identity);
    std::erase_if(loaded.records, [&key](const MonthTotalsRecord& record) { return record.key == key; });
    loaded.records.push_back({ key, added });
    if (loaded.records.size() > kRecordsPerFile)
        loaded.records.erase(loaded.records.begin());
    Save(loaded);
}

void MonthTotalsCache::KeepNames(const MonthFileIdentity& identity, const std::vector<std::wstring>& names)
{
    if (!StillQuiet(identity))
        return;
    MonthTotalsContent& loaded = Load(identity);
    loaded.names = names;
    Save(loaded);
}

void MonthTotalsCache::Save(const MonthTotalsContent& content) const
{
    // A cache that cannot be written is only slower: the report stays right without it. The
    // temporary name is the process's own, so two reports at once never write into one file.
    std::error_code error;
    fs::create_directories(m_folder, error);
    fs::path file = CacheFileFor(content.identity.where);
    fs::path partial = file;
    partial += "." + std::to_string(::getpid()) + ".tmp";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << FormatMonthTotalsFile(content);
        out.flush();
        if (!out) {
            out.close();
            fs::remove(partial, error);
            return;
        }
    }
    fs::rename(partial, file, error);
    if (error)
        fs::remove(partial, error);
}

} // namespace host
