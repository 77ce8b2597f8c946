// The registry's store: the hive written only when a handle is closed or flushed while
// dirty, atomically; an unparsable hive moved aside; the read-only mode; the lock that keeps
// a second writer process out; and the hive surviving a writer killed at any moment.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "RegistryTestHelpers.h"
#include "platform/registry/RegistryExchange.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Utf16.h"
#include "support/RegistryScope.h"
#include "support/TestSupport.h"

using namespace platform;
using namespace registry_test;
namespace fs = std::filesystem;

namespace {

void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<fs::path> CorruptCopies(const fs::path& folder)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
            found.push_back(entry.path());
    return found;
}

// Runs body in a child process and returns its exit code (or 128 + signal).
template <typename Body>
int InChild(Body&& body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class RegistryStore : public ::testing::Test {
protected:
    void TearDown() override { CloseRegistryStore(); }

    testing_support::ScratchFolder m_folder;
    fs::path m_hive = m_folder.Path() / "registry.reg";
};

} // namespace

TEST_F(RegistryStore, HiveIsWrittenWhenAHandleIsClosedOrFlushedWhileDirty)
{
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Tavrel\\Velmora");
    ASSERT_EQ(Set(key, L"ScrollRate", REG_DWORD, Dword(5)), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(m_hive)); // nothing written while the key is open
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_NE(testing_support::ReadWholeFile(m_hive).find("\"ScrollRate\"=dword:00000005"), std::string::npos);

    key = Create(HKEY_CURRENT_USER, L"Software\\Tavrel\\Velmora");
    ASSERT_EQ(Set(key, L"FontSize", REG_DWORD, Dword(400)), ERROR_SUCCESS);
    EXPECT_EQ(testing_support::ReadWholeFile(m_hive).find("FontSize"), std::string::npos);
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_NE(testing_support::ReadWholeFile(m_hive).find("\"FontSize\"=dword:00000190"), std::string::npos);

    ASSERT_EQ(Set(key, L"Last", REG_SZ, Sz(L"at close")), ERROR_SUCCESS);
    EXPECT_EQ(CloseRegistryStore(), ERROR_SUCCESS); // the open handle does not stop the write
    EXPECT_NE(testing_support::ReadWholeFile(m_hive).find("\"Last\"=\"at close\""), std::string::npos);
    EXPECT_FALSE(fs::exists(m_hive.string() + ".tmp"));

    // And it loads back.
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software\\tavrel\\velmora", 0, 0, &again), ERROR_SUCCESS);
    EXPECT_EQ(Get(again, L"ScrollRate").data, Dword(5));
    EXPECT_EQ(Get(again, L"Last").data, Sz(L"at close"));
    RegCloseKey(again);
}

TEST_F(RegistryStore, ChangesAreWrittenWhenTheProcessEndsWithoutClosing)
{
    int child = InChild([this] {
        if (!OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok())
            return 1;
        HKEY key = Create(HKEY_CURRENT_USER, L"Software");
        Set(key, L"AtExit", REG_DWORD, Dword(1));
        std::exit(0); // the key is still open and the store was never closed
    });
    EXPECT_EQ(child, 0);
    EXPECT_NE(testing_support::ReadWholeFile(m_hive).find("\"AtExit\"=dword:00000001"), std::string::npos);
}

TEST_F(RegistryStore, FolderIsCreatedAndALeftoverTemporaryFileRemoved)
{
    fs::path nested = m_folder.Path() / "a" / "b" / "registry.reg";
    ASSERT_TRUE(OpenRegistryStore(nested, RegistryStoreMode::ReadWrite).Ok());
    EXPECT_TRUE(fs::exists(nested.parent_path()));
    CloseRegistryStore();

    WriteAll(m_hive, "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Kept]\n");
    WriteAll(m_hive.string() + ".tmp", "half a hive from a writer that died");
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    EXPECT_FALSE(fs::exists(m_hive.string() + ".tmp"));
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Kept", 0, 0, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryStore, UnparsableHiveIsMovedAsideAndReported)
{
    const std::string garbage = "this is not a registry file\n";
    WriteAll(m_hive, garbage);
    testing::internal::CaptureStderr();
    RegistryStoreResult result = OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite);
    std::string reported = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(result.Ok());
    ASSERT_FALSE(result.movedAsideTo.empty());
    EXPECT_EQ(testing_support::ReadWholeFile(result.movedAsideTo), garbage);
    EXPECT_NE(result.movedAsideTo.filename().string().find("registry.reg.corrupt-"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_hive));
    // One line, naming both files.
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1);
    EXPECT_NE(reported.find(m_hive.string()), std::string::npos);
    EXPECT_NE(reported.find(result.movedAsideTo.string()), std::string::npos);

    // The registry starts empty and the next write makes a good hive.
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    key = Create(HKEY_CURRENT_USER, L"Software");
    RegCloseKey(key);
    EXPECT_EQ(testing_support::ReadWholeFile(m_hive).rfind("Windows Registry Editor Version 5.00", 0), 0u);

    // A second bad hive in the same second does not overwrite the first copy.
    CloseRegistryStore();
    WriteAll(m_hive, "[still not]\n");
    testing::internal::CaptureStderr();
    RegistryStoreResult second = OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite);
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(second.Ok());
    EXPECT_NE(second.movedAsideTo, result.movedAsideTo);
    EXPECT_EQ(testing_support::ReadWholeFile(result.movedAsideTo), garbage);
    EXPECT_EQ(CorruptCopies(m_folder.Path()).size(), 2u);
}

TEST_F(RegistryStore, HiveWithABadLineKeepsItsGoodKeysAndTheOriginal)
{
    const std::string damaged = "Windows Registry Editor Version 5.00\n"
                                "[HKEY_CURRENT_USER\\Before]\n"
                                "\"A\"=dword:00000007\n"
                                "\"B\"=dword:xyz\n" // line 4: a bad value, its key stays
                                "\"C\"=\"kept\"\n"
                                "[HKEY_CURRENT_USER\\Bad\\\\Key]\n" // line 6: a bad key, its values go with it
                                "\"Lost\"=dword:00000001\n"
                                "[HKEY_CURRENT_USER\\After]\n"
                                "\"D\"=dword:00000009\n"
                                "\"E\"=hex:01,0";
    WriteAll(m_hive, damaged + std::string(12, '\0')); // cut short, NUL blocks after it
    testing::internal::CaptureStderr();
    RegistryStoreResult result = OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite);
    std::string reported = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.damage.rfind("line 4: ", 0), 0u) << result.damage;
    EXPECT_NE(result.damage.find("2 more bad lines"), std::string::npos) << result.damage;
    EXPECT_NE(reported.find("line 4"), std::string::npos);
    EXPECT_NE(reported.find(result.movedAsideTo.string()), std::string::npos);
    EXPECT_EQ(testing_support::ReadWholeFile(result.movedAsideTo), damaged + std::string(12, '\0'));

    HKEY before = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Before", 0, 0, &before), ERROR_SUCCESS);
    EXPECT_EQ(Get(before, L"A").data, Dword(7));
    EXPECT_EQ(Get(before, L"C").data, Sz(L"kept"));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(before, L"B", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(before, L"Lost", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(before);
    HKEY after = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"After", 0, 0, &after), ERROR_SUCCESS);
    EXPECT_EQ(Get(after, L"D").data, Dword(9));
    RegCloseKey(after);

    // The good keys are written back at once: the hive is whole again without a change.
    std::string rewritten = testing_support::ReadWholeFile(m_hive);
    EXPECT_NE(rewritten.find("[HKEY_CURRENT_USER\\After]"), std::string::npos);
    EXPECT_EQ(rewritten.find("Lost"), std::string::npos);
    CloseRegistryStore();
    RegistryStoreResult again = OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly);
    EXPECT_TRUE(again.Ok());
    EXPECT_TRUE(again.damage.empty());
}

TEST_F(RegistryStore, ReadOnlyHiveWithABadLineIsLoadedWithoutItAndLeftAlone)
{
    const std::string damaged = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Good]\n\"A\"=dword:00000003\n"
                                "nonsense\n";
    WriteAll(m_hive, damaged);
    testing::internal::CaptureStderr();
    RegistryStoreResult result = OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly);
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(result.damage.rfind("line 4: ", 0), 0u) << result.damage;
    EXPECT_TRUE(result.movedAsideTo.empty());
    HKEY good = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Good", 0, 0, &good), ERROR_SUCCESS);
    EXPECT_EQ(Get(good, L"A").data, Dword(3));
    RegCloseKey(good);
    CloseRegistryStore();
    EXPECT_EQ(testing_support::ReadWholeFile(m_hive), damaged);
    EXPECT_TRUE(CorruptCopies(m_folder.Path()).empty());
}

TEST_F(RegistryStore, HivePathsThatAreNoRegularFileAreRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo(m_hive.c_str(), 0600), 0);
    for (RegistryStoreMode mode : { RegistryStoreMode::ReadOnly, RegistryStoreMode::ReadWrite }) {
        RegistryStoreResult result = OpenRegistryStore(m_hive, mode); // would block on a FIFO's open
        EXPECT_EQ(result.status, RegistryStoreStatus::Unreadable);
        EXPECT_NE(result.detail.find("not a regular file"), std::string::npos) << result.detail;
    }
    fs::path link = m_folder.Path() / "linked.reg";
    fs::create_symlink("/dev/zero", link); // a device that never ends
    RegistryStoreResult device = OpenRegistryStore(link, RegistryStoreMode::ReadOnly);
    EXPECT_EQ(device.status, RegistryStoreStatus::Unreadable);
    EXPECT_NE(device.detail.find("not a regular file"), std::string::npos) << device.detail;
    EXPECT_TRUE(fs::is_fifo(m_hive)); // left as it was
}

TEST_F(RegistryStore, ReadOnlyLoadsAndRefusesEveryChange)
{
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Tavrel");
    ASSERT_EQ(Set(key, L"V", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    RegCloseKey(key);
    CloseRegistryStore();
    const std::string before = testing_support::ReadWholeFile(m_hive);

    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly).Ok());
    HKEY existing = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tavrel", 0, nullptr, 0, 0, nullptr, &existing, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(Get(existing, L"V").data, Dword(1));
    EXPECT_EQ(Set(existing, L"V", REG_DWORD, Dword(2)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(existing, L"V"), ERROR_ACCESS_DENIED);
    HKEY created = nullptr;
    EXPECT_EQ(RegCreateKeyExW(existing, L"New", 0, nullptr, 0, 0, nullptr, &created, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tavrel"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software"), ERROR_ACCESS_DENIED);
    RegFileError error;
    EXPECT_EQ(ImportRegistryFile("REGEDIT4\n[HKEY_CURRENT_USER\\X]\n", error), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegFlushKey(existing), ERROR_SUCCESS);
    RegCloseKey(existing);
    CloseRegistryStore();
    EXPECT_EQ(testing_support::ReadWholeFile(m_hive), before);
}

TEST_F(RegistryStore, ReadOnlyLeavesAnUnparsableHiveWhereItIs)
{
    WriteAll(m_hive, "garbage\n");
    RegistryStoreResult result = OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly);
    EXPECT_EQ(result.status, RegistryStoreStatus::Unreadable);
    EXPECT_NE(result.detail.find("line 1"), std::string::npos);
    EXPECT_FALSE(IsRegistryStoreOpen());
    EXPECT_EQ(testing_support::ReadWholeFile(m_hive), "garbage\n");
    EXPECT_TRUE(CorruptCopies(m_folder.Path()).empty());
    // No file at all is an empty registry.
    EXPECT_TRUE(OpenRegistryStore(m_folder.Path() / "none.reg", RegistryStoreMode::ReadOnly).Ok());
}

TEST_F(RegistryStore, FailedWriteIsReportedAndRetried)
{
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    // A folder in the way of the temporary file makes every write fail.
    fs::create_directories(m_hive.string() + ".tmp/blocker");
    HKEY key = Create(HKEY_CURRENT_USER, L"Software");
    ASSERT_EQ(Set(key, L"V", REG_DWORD, Dword(9)), ERROR_SUCCESS);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegFlushKey(key), ERROR_CANTWRITE);
    EXPECT_EQ(RegFlushKey(key), ERROR_CANTWRITE);
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1); // once, not at every try
    EXPECT_FALSE(fs::exists(m_hive));

    fs::remove_all(m_hive.string() + ".tmp");
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_NE(testing_support::ReadWholeFile(m_hive).find("\"V\"=dword:00000009"), std::string::npos);
}

TEST_F(RegistryStore, AFailedWriteAtCloseSaysTheChangesAreLost)
{
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    HKEY key = Create(HKEY_CURRENT_USER, L"Software");
    ASSERT_EQ(Set(key, L"V", REG_DWORD, Dword(9)), ERROR_SUCCESS);
    fs::create_directories(m_hive.string() + ".tmp/blocker");
    testing::internal::CaptureStderr();
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(CloseRegistryStore(), ERROR_CANTWRITE);
    std::string reported = testing::internal::GetCapturedStderr();
    // The first failure promises a later write; the last one, with no later chance, does not.
    EXPECT_NE(reported.find("next chance)\n"), std::string::npos) << reported;
    EXPECT_NE(reported.find("(the changes since its last write are lost)\n"), std::string::npos) << reported;
}

TEST_F(RegistryStore, SecondWriterProcessIsRefused)
{
    ASSERT_TRUE(OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok());
    HKEY key = Create(HKEY_CURRENT_USER, L"Software");
    RegCloseKey(key);

    int child = InChild([this] {
        RegistryStoreResult second = OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite);
        if (second.status != RegistryStoreStatus::InUse || second.detail.find(m_hive.string()) == std::string::npos)
            return 1;
        // Readers are not kept out.
        if (!OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly).Ok())
            return 2;
        HKEY seen = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, 0, &seen) != ERROR_SUCCESS)
            return 3;
        return 0;
    });
    EXPECT_EQ(child, 0);

    CloseRegistryStore();
    child = InChild([this] { return OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok() ? 0 : 1; });
    EXPECT_EQ(child, 0);
}

TEST_F(RegistryStore, HiveSurvivesAWriterKilledAtAnyMoment)
{
    constexpr int kValues = 200;
    constexpr int kRounds = 100;
    const unsigned seed = std::random_device {}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pauseUs(0, 10000);
    uint32_t lastGeneration = 0;
    int roundsThatAdvanced = 0;

    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            // Rewrites the hive for ever; every value carries the same generation number.
            if (!OpenRegistryStore(m_hive, RegistryStoreMode::ReadWrite).Ok())
                ::_exit(3);
            HKEY key = Create(HKEY_CURRENT_USER, L"Durability");
            DWORD generation = 0;
            DWORD size = sizeof generation;
            RegQueryValueExW(key, L"Generation", nullptr, nullptr, reinterpret_cast<BYTE*>(&generation), &size);
            for (;;) {
                ++generation;
                for (int i = 0; i < kValues; ++i)
                    Set(key, (L"v" + std::to_wstring(i)).c_str(), REG_SZ,
                        Sz(L"generation " + std::to_wstring(generation) + L" of value " + std::to_wstring(i)));
                Set(key, L"Generation", REG_DWORD, Dword(generation));
                RegFlushKey(key);
                // From its first whole write on, the writer is killed somewhere in the next ones.
                if (ready[1] >= 0) {
                    if (::write(ready[1], "r", 1) != 1)
                        ::_exit(4);
                    ::close(ready[1]);
                    ready[1] = -1;
                }
            }
        }
        char signal = 0;
        ::close(ready[1]);
        ASSERT_EQ(::read(ready[0], &signal, 1), 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(pauseUs(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself, status " << status;

        RegistryStoreResult loaded = OpenRegistryStore(m_hive, RegistryStoreMode::ReadOnly);
        ASSERT_TRUE(loaded.Ok()) << "round " << round << " seed " << seed << ": " << loaded.detail;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Durability", 0, 0, &key) == ERROR_SUCCESS) {
            ReadBack generationValue = Get(key, L"Generation");
            ASSERT_EQ(generationValue.result, ERROR_SUCCESS) << "round " << round;
            uint32_t generation = 0;
            std::memcpy(&generation, generationValue.data.data(), sizeof generation);
            for (int i = 0; i < kValues; ++i) {
                ReadBack value = Get(key, (L"v" + std::to_wstring(i)).c_str());
                ASSERT_EQ(value.data, Sz(L"generation " + std::to_wstring(generation) + L" of value " + std::to_wstring(i)))
                    << "round " << round << " value " << i << " seed " << seed;
            }
            // At least the write before the signal is there; later ones may be too.
            ASSERT_GT(generation, lastGeneration) << "round " << round;
            roundsThatAdvanced += generation > lastGeneration + 1 ? 1 : 0;
            lastGeneration = generation;
        } else {
            FAIL() << "round " << round << ": the key is missing";
        }
        CloseRegistryStore();
    }
    EXPECT_TRUE(CorruptCopies(m_folder.Path()).empty());
    std::printf("hive durability: %d rounds, %d of them with more than one whole write, last generation %u\n", kRounds,
        roundsThatAdvanced, lastGeneration);
}

TEST(RegistryExchange, ImportAppliesAWholeFileOrNothing)
{
    testing_support::MemoryRegistryScope registry;
    HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Tavrel\\Velmora");
    ASSERT_EQ(Set(key, L"Old", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    HKEY doomed = Create(key, L"Doomed");

    RegFileError error;
    EXPECT_EQ(ImportRegistryFile("Windows Registry Editor Version 5.00\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n"
                                 "\"New\"=\"x\"\n"
                                 "\"Broken\"=dword:xyz\n",
                  error),
        ERROR_BADDB);
    EXPECT_EQ(error.line, 4u);
    EXPECT_EQ(Get(key, L"New").result, ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(ImportRegistryFile("Windows Registry Editor Version 5.00\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora]\n"
                                 "\"New\"=\"x\"\n"
                                 "\"Old\"=-\n"
                                 "[-HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora\\Doomed]\n",
                  error),
        ERROR_SUCCESS);
    EXPECT_EQ(Get(key, L"New").data, Sz(L"x"));
    EXPECT_EQ(Get(key, L"Old").result, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Get(doomed, L"x").result, ERROR_KEY_DELETED);
    RegCloseKey(doomed);
    RegCloseKey(key);
}

TEST(RegistryExchange, ExportWritesTheKeyUnderItsFullPath)
{
    testing_support::MemoryRegistryScope registry;
    HKEY key = Create(HKEY_LOCAL_MACHINE, L"comm\\NE2000");
    ASSERT_EQ(Set(key, L"Group", REG_SZ, Sz(L"NDIS")), ERROR_SUCCESS);
    RegCloseKey(Create(key, L"Parms"));
    RegCloseKey(key);
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, L"Comm2"));

    std::string text;
    ASSERT_EQ(ExportRegistryKey(HKEY_LOCAL_MACHINE, L"COMM", text), ERROR_SUCCESS);
    EXPECT_EQ(text,
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\comm]\n\n"
        "[HKEY_LOCAL_MACHINE\\comm\\NE2000]\n"
        "\"Group\"=\"NDIS\"\n\n"
        "[HKEY_LOCAL_MACHINE\\comm\\NE2000\\Parms]\n");
    EXPECT_EQ(ExportRegistryKey(HKEY_LOCAL_MACHINE, L"Nothing", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ExportRegistryKey(HKEY_USERS, L"", text), ERROR_INVALID_HANDLE);
}
