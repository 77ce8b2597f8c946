// The usage report's month totals kept on this machine's disk, outside the log folder, so that a
// year's report reads twelve small files instead of parsing twelve month files again. One cache
// file per month file, named by a hash of the month file's place, holding the month file's
// identity (device, inode, size, modification and change times in nanoseconds) and the tables
// that were asked for. A cache file is believed only while the month file has that very
// identity, and only totals of a month file left alone for a while are kept: a write in the
// same coarse clock tick as the parse would otherwise leave the change time as it was.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "usage/MonthTotalsStore.h"

namespace host {

struct MonthTotalsRecord {
    MonthTotalsKey key;
    UsageTable added {};
};

// What a cache file holds for one month file.
struct MonthTotalsContent {
    MonthFileIdentity identity;
    std::vector<MonthTotalsRecord> records;
    std::optional<std::vector<std::wstring>> names;
};

// A cache file's text, and back. Names and selectors are kept character by character, so that
// whatever a month file names comes back as it was. The text ends with a checksum of what comes
// before it; a text that does not parse whole, or whose checksum is wrong, is none.
std::string FormatMonthTotalsFile(const MonthTotalsContent& content);
std::optional<MonthTotalsContent> ParseMonthTotalsFile(std::string_view text);

class MonthTotalsCache final : public MonthTotalsStore {
public:
    // How long a month file must have gone unchanged before its totals are kept.
    static constexpr std::chrono::milliseconds kQuiet { 1000 };
    // Tables kept per month file; the oldest asked for goes first.
    static constexpr size_t kRecordsPerFile = 16;

    explicit MonthTotalsCache(std::filesystem::path folder, std::chrono::milliseconds quiet = kQuiet);

    // $XDG_CACHE_HOME/velmora/usage, else ~/.cache/velmora/usage; nothing without either.
    static std::optional<std::filesystem::path> DefaultFolder();

    bool Find(const std::wstring& path, const MonthTotalsKey& key, UsageTable& added, MonthFileIdentity& identity) override;
    void Keep(const MonthFileIdentity& identity, const MonthTotalsKey& key, const UsageTable& added) override;
    bool FindNames(const std::wstring& path, std::vector<std::wstring>& names, MonthFileIdentity& identity) override;
    void KeepNames(const MonthFileIdentity& identity, const std::vector<std::wstring>& names) override;

    // Where the cache file of a month file at that place on this machine is.
    std::filesystem::path CacheFileFor(const std::string& where) const;

private:
    // The cache file's content for the month file as it is now; nothing in it when it holds
    // nothing for that identity.
    MonthTotalsContent& Load(const MonthFileIdentity& identity);
    // The same for the month file at that device path, its identity now into `identity`; null
    // when the file cannot be identified.
    const MonthTotalsContent* LoadFor(const std::wstring& path, MonthFileIdentity& identity);
    // True when what a parse begun at that identity found may be kept.
    bool StillQuiet(const MonthFileIdentity& identity) const;
    void Save(const MonthTotalsContent& content) const;

    std::filesystem::path m_folder;
    std::chrono::milliseconds m_quiet;
    std::map<std::string, MonthTotalsContent> m_loaded; // by the month file's place
};

// The month file's identity now, from the device path through the machine's file system;
// unknown when the file system is not the machine's or the file is not a regular file.
MonthFileIdentity IdentifyMonthFile(const std::wstring& devicePath);

} // namespace host
