#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/tools/MonthTotalsCache.h"
#include "platform/text/Utf16.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

host::MonthTotalsRecord Record(DWORD interval, int month, int day, const std::wstring& selector, ULONG64 first)
{
    host::MonthTotalsRecord record;
    record.key = { interval, month, day, selector };
    for (size_t i = 0; i < UsageTableSize; ++i)
        record.added[i] = first + i * 7919;
    return record;
}

MonthFileIdentity Identity()
{
    MonthFileIdentity identity;
    identity.known = true;
    identity.where = "/home/someone/logs dir/UsageData202612.txt";
    identity.device = 65024;
    identity.inode = 10961586;
    identity.size = 593034;
    identity.modifiedNs = 1796651771444204311;
    identity.changedNs = 1796651772000000007;
    return identity;
}

TEST(MonthTotalsFile, RoundTripsEveryFieldAndRefusesDamage)
{
    host::MonthTotalsRecord largest = Record(3, 12, 31, L"USB Sync Cable \u00e9\u4e2d", 1);
    largest.added[UsageTableSize - 1] = std::numeric_limits<ULONG64>::max();
    largest.added[UsageTableReceived] = (1ull << 32) + 8000;
    host::MonthTotalsContent content;
    content.identity = Identity();
    content.records = { Record(1, 3, 1, L"", 0), largest };
    // A lone surrogate half, as a damaged month file can name an interface, and the largest
    // character: both must come back as they were.
    content.names = std::vector<std::wstring> { L"ne20001", std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x",
        std::wstring(1, static_cast<wchar_t>(0x10FFFF)) };
    const std::string text = host::FormatMonthTotalsFile(content);

    std::optional<host::MonthTotalsContent> read = host::ParseMonthTotalsFile(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->identity, Identity());
    ASSERT_EQ(read->records.size(), 2u);
    EXPECT_EQ(read->records[0].key, content.records[0].key);
    EXPECT_EQ(read->records[1].key, largest.key);
    EXPECT_EQ(read->records[1].added, largest.added);
    EXPECT_EQ(read->names, content.names);

    // No names kept is not an empty list of names.
    content.names.reset();
    ASSERT_TRUE(host::ParseMonthTotalsFile(host::FormatMonthTotalsFile(content)));
    EXPECT_FALSE(host::ParseMonthTotalsFile(host::FormatMonthTotalsFile(content))->names);

    // A cut-off file (a full disk, a crash before the rename), a changed digit anywhere, or a
    // file of another kind is no cache at all.
    EXPECT_FALSE(host::ParseMonthTotalsFile(text.substr(0, text.size() / 2)));
    std::string changed = text;
    changed[changed.find(" 7920 ") + 1] = '8';
    EXPECT_FALSE(host::ParseMonthTotalsFile(changed));
    EXPECT_FALSE(host::ParseMonthTotalsFile(""));
    EXPECT_FALSE(host::ParseMonthTotalsFile("velmora month totals 2\n" + text.substr(text.find('\n') + 1)));
}

TEST(MonthTotalsFile, PlacesHashApartAndTheDefaultFolderFollowsTheCacheHome)
{
    host::MonthTotalsCache cache("/cache");
    EXPECT_NE(cache.CacheFileFor("/a/UsageData200603.txt"), cache.CacheFileFor("/a/UsageData200604.txt"));
    EXPECT_EQ(cache.CacheFileFor("/a/UsageData200603.txt").parent_path(), fs::path("/cache"));
}

// The program over month files of a folder of its own, with a cache folder of its own.
class MonthTotalsCacheRun : public ::testing::Test {
protected:
    MonthTotalsCacheRun() { Write(kMarch); }

    void Write(const std::wstring& text)
    {
        fs::create_directories(m_logs);
        std::ofstream(m_logs / "UsageData200603.txt", std::ios::binary | std::ios::trunc) << EncodeUtf16Le(text);
    }

    std::string Report(const std::string& more = "") const
    {
        std::string command = "XDG_CACHE_HOME='" + m_cacheHome.string() + "' " + std::string(VELMORA_BINARY_DIR)
            + "/velmora usage report --interval daily --date 2006-03-07 --log-dir '" + m_logs.string() + "' --data '"
            + (m_scratch.Path() / "data").string() + "' " + more + " 2>&1";
        std::string output;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr)
            return output;
        std::array<char, 4096> buffer;
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            output.append(buffer.data(), n);
        ::pclose(pipe);
        return output;
    }

    std::vector<fs::path> CacheFiles() const
    {
        std::vector<fs::path> files;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_cacheHome / "velmora" / "usage", error))
            files.push_back(entry.path());
        return files;
    }

    static std::optional<host::MonthTotalsContent> ReadCacheFile(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return host::ParseMonthTotalsFile(std::string(std::istreambuf_iterator<char>(in), {}));
    }

    static void WaitPastTheQuietTime()
    {
        std::this_thread::sleep_for(host::MonthTotalsCache::kQuiet + std::chrono::milliseconds(100));
    }

    static constexpr const wchar_t* kMarch = L"2006-3-7-14 *1* \tne20001 1048576 52428 \r\n";
    testing_support::ScratchFolder m_scratch;
    fs::path m_logs = m_scratch.Path() / "logs";
    fs::path m_cacheHome = m_scratch.Path() / "cache";
};

TEST_F(MonthTotalsCacheRun, KeepsOnlyQuietFilesAndBelievesThemOnlyWhileTheyAreTheSameFile)
{
    // Just written: the change time could still be shared with a later write.
    const std::string first = Report();
    EXPECT_NE(first.find("7 (Tue)            1 MB      51 KB       1 MB\n"), std::string::npos) << first;
    EXPECT_TRUE(CacheFiles().empty());

    WaitPastTheQuietTime();
    EXPECT_EQ(Report(), first);
    std::vector<fs::path> files = CacheFiles();
    ASSERT_EQ(files.size(), 1u);

    // Shown from the cache: put other totals in it for the same identity.
    std::optional<host::MonthTotalsContent> content = ReadCacheFile(files[0]);
    ASSERT_TRUE(content);
    ASSERT_EQ(content->records.size(), 1u);
    content->records[0].added[7] = 3000;
    content->records[0].added[UsageTableReceived + 7] = 7000;
    std::ofstream(files[0], std::ios::binary | std::ios::trunc) << host::FormatMonthTotalsFile(*content);
    EXPECT_NE(Report().find("7 (Tue)            2 KB       6 KB       9 KB\n"), std::string::npos) << Report();
    EXPECT_EQ(Report("--no-cache"), first);

    // The same number of bytes with other digits: the change time tells them apart.
    Write(L"2006-3-7-14 *1* \tne20001 2097152 52428 \r\n");
    const std::string rewritten = Report();
    EXPECT_NE(rewritten.find("7 (Tue)            2 MB      51 KB       2 MB\n"), std::string::npos) << rewritten;

    // A file held by the device is met as held, whatever the cache knows of it.
    WaitPastTheQuietTime();
    EXPECT_EQ(Report(), rewritten);
    int held = ::open((m_logs / "UsageData200603.txt").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_NE(Report().find("UsageData200603.txt': in use"), std::string::npos);
    ::close(held);
}

TEST_F(MonthTotalsCacheRun, ADamagedOrForeignCacheFileIsParsedAround)
{
    WaitPastTheQuietTime();
    const std::string first = Report();
    std::vector<fs::path> files = CacheFiles();
    ASSERT_EQ(files.size(), 1u);
    std::ofstream(files[0], std::ios::binary | std::ios::trunc) << "velmora month totals 1\nfile";
    EXPECT_EQ(Report(), first);

    // Another month file's totals under this one's name.
    host::MonthTotalsContent other;
    other.identity.known = true;
    other.identity.where = "/elsewhere/UsageData200603.txt";
    other.records = { Record(2, 3, 7, L"", 5) };
    std::ofstream(files[0], std::ios::binary | std::ios::trunc) << host::FormatMonthTotalsFile(other);
    EXPECT_EQ(Report(), first);
}

TEST_F(MonthTotalsCacheRun, TheNamesAnInterfaceIsCheckedAgainstComeFromTheCacheToo)
{
    Write(L"2006-3-7-14 *2* \tne20001 1048576 52428 \tusb+sync+cable 5 6 \r\n"
          L"2006-3-7-15 *1* \tne20001 7 9 \r\n");
    WaitPastTheQuietTime();
    const std::string cable = Report("--interface 'USB Sync Cable'");
    EXPECT_NE(cable.find("7 (Tue)             5 B        6 B       11 B\n"), std::string::npos) << cable;
    std::vector<fs::path> files = CacheFiles();
    ASSERT_EQ(files.size(), 1u);
    std::optional<host::MonthTotalsContent> content = ReadCacheFile(files[0]);
    ASSERT_TRUE(content && content->names);
    EXPECT_EQ(*content->names, (std::vector<std::wstring> { L"ne20001", L"usb sync cable" }));

    // Names read from the cache: one it lacks is unknown, as the month file would have it.
    content->names = std::vector<std::wstring> { L"ne20001" };
    std::ofstream(files[0], std::ios::binary | std::ios::trunc) << host::FormatMonthTotalsFile(*content);
    EXPECT_NE(Report("--interface 'USB Sync Cable'").find("unknown interface 'USB Sync Cable': the usage logs name 'ne20001'"),
        std::string::npos);
    EXPECT_EQ(Report("--interface 'USB Sync Cable' --no-cache"), cable);
}

} // namespace
