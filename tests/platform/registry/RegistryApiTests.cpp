// The Reg* calls tested the way platform API tests are written: outputs pre-filled with
// sentinels to prove which ones are left alone, buffers one short, exact and one long, and
// the error code of every failure.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/registry/RegistryStore.h"
#include "RegistryTestHelpers.h"
#include "support/RegistryScope.h"

using namespace registry_test;

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;
constexpr uint8_t kFill = 0xAB;

class RegistryApi : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_key = Create(HKEY_CURRENT_USER, L"Software\\Tavrel\\Test");
        ASSERT_NE(m_key, nullptr);
    }
    void TearDown() override { RegCloseKey(m_key); }

    testing_support::MemoryRegistryScope m_registry;
    HKEY m_key = nullptr;
};

std::wstring EnumKeyName(HKEY key, DWORD index, LONG* result = nullptr)
{
    wchar_t name[300];
    DWORD count = 300;
    LONG got = RegEnumKeyExW(key, index, name, &count, nullptr, nullptr, nullptr, nullptr);
    if (result != nullptr)
        *result = got;
    return got == ERROR_SUCCESS ? std::wstring(name, count) : std::wstring();
}

std::wstring EnumValueName(HKEY key, DWORD index)
{
    wchar_t name[300];
    DWORD count = 300;
    if (RegEnumValueW(key, index, name, &count, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return L"<none>";
    return std::wstring(name, count);
}

} // namespace

TEST_F(RegistryApi, QueryValueBufferShortExactAndLong)
{
    ASSERT_EQ(Set(m_key, L"Text", REG_SZ, Sz(L"abc")), ERROR_SUCCESS); // 8 bytes

    // Size only.
    DWORD type = kSentinel;
    DWORD size = kSentinel;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 8u);

    // One short: ERROR_MORE_DATA, the size needed, the buffer untouched, the type filled.
    uint8_t buffer[16];
    std::memset(buffer, kFill, sizeof buffer);
    type = kSentinel;
    size = 7;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Text", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    for (uint8_t byte : buffer)
        EXPECT_EQ(byte, kFill);

    // Exact.
    size = 8;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Text", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8), Sz(L"abc"));
    EXPECT_EQ(buffer[8], kFill);

    // One long: the size comes back as the data's, the byte after it is left alone.
    std::memset(buffer, kFill, sizeof buffer);
    size = 9;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Text", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer[8], kFill);

    // Neither type nor data nor size: only whether it exists.
    EXPECT_EQ(RegQueryValueExW(m_key, L"Text", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
}

TEST_F(RegistryApi, QueryOfAMissingValueLeavesEveryOutputAlone)
{
    uint8_t buffer[8];
    std::memset(buffer, kFill, sizeof buffer);
    DWORD type = kSentinel;
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Missing", nullptr, &type, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, kSentinel);
    EXPECT_EQ(size, sizeof buffer);
    for (uint8_t byte : buffer)
        EXPECT_EQ(byte, kFill);
}

TEST_F(RegistryApi, QueryRefusesBadParameters)
{
    ASSERT_EQ(Set(m_key, L"N", REG_DWORD, Dword(5)), ERROR_SUCCESS);
    DWORD reserved = 0;
    DWORD size = 4;
    uint8_t buffer[4];
    EXPECT_EQ(RegQueryValueExW(m_key, L"N", &reserved, nullptr, buffer, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(m_key, L"N", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApi, ValuesKeepTypeAndBytesExactly)
{
    const std::vector<uint8_t> odd = { 'a', 0, 'b' }; // a REG_BINARY of odd length
    const std::vector<uint8_t> embedded = Sz(std::wstring(L"a\0b", 3));
    const std::vector<uint8_t> empty;
    ASSERT_EQ(Set(m_key, L"Odd", REG_BINARY, odd), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"Embedded", REG_MULTI_SZ, embedded), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(m_key, L"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"Short", REG_DWORD, { 1, 2 }), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"Custom", 0x12345678, { 9 }), ERROR_SUCCESS);

    EXPECT_EQ(Get(m_key, L"Odd").data, odd);
    EXPECT_EQ(Get(m_key, L"Embedded").data, embedded);
    EXPECT_EQ(Get(m_key, L"Empty").data, empty);
    EXPECT_EQ(Get(m_key, L"Empty").type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Get(m_key, L"Short").data, (std::vector<uint8_t> { 1, 2 }));
    EXPECT_EQ(Get(m_key, L"Custom").type, 0x12345678u);

    // Overwriting changes type and data in place.
    ASSERT_EQ(Set(m_key, L"Odd", REG_DWORD, Dword(7)), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Odd").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Get(m_key, L"Odd").data, Dword(7));

    EXPECT_EQ(RegSetValueExW(m_key, L"Bad", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Get(m_key, L"Bad").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, DefaultValueIsTheNullOrEmptyName)
{
    ASSERT_EQ(Set(m_key, nullptr, REG_SZ, Sz(L"dflt")), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"").data, Sz(L"dflt"));
    ASSERT_EQ(Set(m_key, L"", REG_SZ, Sz(L"other")), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, nullptr).data, Sz(L"other"));

    DWORD count = 0;
    ASSERT_EQ(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(RegDeleteValueW(m_key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    ASSERT_EQ(Set(m_key, L"ScrollRate", REG_DWORD, Dword(5)), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"SCROLLRATE", REG_DWORD, Dword(6)), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"scrollrate").data, Dword(6));
    EXPECT_EQ(EnumValueName(m_key, 0), L"ScrollRate");
    EXPECT_EQ(EnumValueName(m_key, 1), L"<none>");

    // Cyrillic folds too.
    ASSERT_EQ(Set(m_key, L"\u0418\u043C\u044F", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"\u0438\u041C\u042F").result, ERROR_SUCCESS);

    HKEY upper = Create(HKEY_CURRENT_USER, L"SOFTWARE\\TAVREL\\TEST");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(Get(upper, L"ScrollRate").data, Dword(6));
    HKEY software = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"software", 0, KEY_ALL_ACCESS, &software), ERROR_SUCCESS);
    EXPECT_EQ(EnumKeyName(software, 0), L"Tavrel");
    RegCloseKey(software);
    RegCloseKey(upper);
}

TEST_F(RegistryApi, CreateReportsDispositionAndMakesIntermediateKeys)
{
    HKEY key = nullptr;
    DWORD disposition = kSentinel;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Comm\\NE2000\\Parms\\Tcpip", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"comm\\ne2000", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(EnumKeyName(key, 0), L"Parms");
    RegCloseKey(key);
}

TEST_F(RegistryApi, OpenOfAMissingKeyFailsAndNullsTheHandle)
{
    HKEY key = reinterpret_cast<HKEY>(static_cast<uintptr_t>(kSentinel));
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nobody", 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, nullptr), ERROR_INVALID_PARAMETER);
    // Nothing was created on the way.
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Nobody", 0, KEY_ALL_ACCESS, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, PathsRefuseALeadingBackslashAndEmptyNamesButTakeTrailingOnes)
{
    HKEY owner = Create(HKEY_CURRENT_USER, L"ControlPanel\\Owner\\\\");
    ASSERT_NE(owner, nullptr);
    RegCloseKey(owner);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Owner", 0, 0, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\", 0, 0, &key), ERROR_SUCCESS);
    RegCloseKey(key);

    key = reinterpret_cast<HKEY>(static_cast<uintptr_t>(kSentinel));
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"\\ControlPanel\\Owner", 0, 0, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"a\\\\b", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"\\a", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"\\", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"a", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, StringsAreKeptTerminatedAndBadDataIsRefused)
{
    // Fifteen characters without their terminator: read back as sixteen with it.
    std::vector<uint8_t> bare = Sz(L"fifteen chars!!");
    bare.resize(30);
    ASSERT_EQ(Set(m_key, L"Bare", REG_SZ, bare), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Bare").data, Sz(L"fifteen chars!!"));
    EXPECT_EQ(Get(m_key, L"Bare").data.size(), 32u);
    ASSERT_EQ(Set(m_key, L"Path", REG_EXPAND_SZ, { 'x', 0, 'y' }), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Path").data, (std::vector<uint8_t> { 'x', 0, 'y', 0, 0, 0 }));
    // Terminated data and other types stay as given.
    ASSERT_EQ(Set(m_key, L"Done", REG_SZ, Sz(L"abc")), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Done").data.size(), 8u);
    ASSERT_EQ(Set(m_key, L"Bytes", REG_BINARY, { 'a', 0, 'b', 0 }), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Bytes").data.size(), 4u);

    // A pointer to nothing readable is refused, and nothing is stored.
    const BYTE* bad = reinterpret_cast<const BYTE*>(static_cast<uintptr_t>(16));
    EXPECT_EQ(RegSetValueExW(m_key, L"Bad", 0, REG_BINARY, bad, 64), ERROR_NOACCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Bad", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, QueryWithTypeAndSizeInOneVariableReadsTheSizeFirst)
{
    ASSERT_EQ(Set(m_key, L"Group", REG_SZ, Sz(L"NDIS")), ERROR_SUCCESS); // 10 bytes
    uint8_t data[16] = {};
    DWORD both = sizeof data;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Group", nullptr, &both, data, &both), ERROR_SUCCESS);
    EXPECT_EQ(both, 10u);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 10), Sz(L"NDIS"));
}

TEST_F(RegistryApi, KeyNamesHoldAnyCharacterButBackslash)
{
    HKEY today = Create(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Today\\Items\\\"Velmora\"");
    ASSERT_NE(today, nullptr);
    RegCloseKey(today);
    HKEY items = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Today\\Items", 0, 0, &items), ERROR_SUCCESS);
    EXPECT_EQ(EnumKeyName(items, 0), L"\"Velmora\"");
    RegCloseKey(items);

    HKEY odd = Create(m_key, L"[x] ;=@ \t\u00E9\U0001F600");
    EXPECT_NE(odd, nullptr);
    RegCloseKey(odd);

    // 255 characters is the longest key name.
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(m_key, std::wstring(255, L'k').c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegCreateKeyExW(m_key, std::wstring(256, L'k').c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_INVALID_PARAMETER);
    // A line break could not be kept in the hive file.
    EXPECT_EQ(RegCreateKeyExW(m_key, L"two\nlines", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Set(m_key, L"two\r\nlines", REG_SZ, Sz(L"x")), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Set(m_key, std::wstring(256, L'v').c_str(), REG_SZ, Sz(L"x")), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Set(m_key, std::wstring(255, L'v').c_str(), REG_SZ, Sz(L"x")), ERROR_SUCCESS);
}

TEST_F(RegistryApi, EmptySubkeyOpensTheKeyItself)
{
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, 0, &root), ERROR_SUCCESS);
    EXPECT_EQ(root, HKEY_CURRENT_USER);
    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(m_key, L"", 0, 0, &again), ERROR_SUCCESS);
    EXPECT_NE(again, m_key);
    ASSERT_EQ(Set(again, L"Shared", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    EXPECT_EQ(Get(m_key, L"Shared").result, ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryApi, SubkeysEnumerateAlphabeticallyWithoutCase)
{
    for (const wchar_t* name : { L"USB Cable:", L"ne2000", L"Asyncmac1", L"b", L"NDISUIO" })
        RegCloseKey(Create(m_key, name));
    std::vector<std::wstring> names;
    LONG result = ERROR_SUCCESS;
    for (DWORD i = 0;; ++i) {
        std::wstring name = EnumKeyName(m_key, i, &result);
        if (result != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    EXPECT_EQ(result, ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(names, (std::vector<std::wstring> { L"Asyncmac1", L"b", L"NDISUIO", L"ne2000", L"USB Cable:" }));
}

TEST_F(RegistryApi, EnumKeyCountsCharactersAsThePlatformDoes)
{
    RegCloseKey(Create(m_key, L"Parms"));
    wchar_t name[8];
    std::fill(std::begin(name), std::end(name), L'#');
    FILETIME time { kSentinel, kSentinel };

    // "Parms" needs 6 with its terminator: 5 is one short.
    DWORD count = 5;
    EXPECT_EQ(RegEnumKeyExW(m_key, 0, name, &count, nullptr, nullptr, nullptr, &time), ERROR_MORE_DATA);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(name[0], L'#');
    EXPECT_EQ(time.dwLowDateTime, kSentinel);

    count = 6;
    EXPECT_EQ(RegEnumKeyExW(m_key, 0, name, &count, nullptr, nullptr, nullptr, &time), ERROR_SUCCESS);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(std::wstring(name), L"Parms");
    EXPECT_NE(time.dwHighDateTime, kSentinel);

    std::fill(std::begin(name), std::end(name), L'#');
    count = 8;
    EXPECT_EQ(RegEnumKeyExW(m_key, 0, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(name[6], L'#');

    count = 8;
    EXPECT_EQ(RegEnumKeyExW(m_key, 1, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(RegEnumKeyExW(m_key, 0, name, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegEnumKeyExW(m_key, 0, name, &count, &reserved, nullptr, nullptr, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApi, ValuesEnumerateInCreationOrder)
{
    ASSERT_EQ(Set(m_key, L"Zeta", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"Alpha", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"Mid", REG_DWORD, Dword(3)), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"zeta", REG_SZ, Sz(L"again")), ERROR_SUCCESS); // keeps its place
    EXPECT_EQ(EnumValueName(m_key, 0), L"Zeta");
    EXPECT_EQ(EnumValueName(m_key, 1), L"Alpha");
    EXPECT_EQ(EnumValueName(m_key, 2), L"Mid");
    EXPECT_EQ(EnumValueName(m_key, 3), L"<none>");
    ASSERT_EQ(RegDeleteValueW(m_key, L"ALPHA"), ERROR_SUCCESS);
    EXPECT_EQ(EnumValueName(m_key, 1), L"Mid");
}

TEST_F(RegistryApi, AKeyWithManyValuesKeepsOrderCaseAndDeletes)
{
    // Enough values for the key to look them up by index rather than by scan.
    constexpr int kCount = 100'000;
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(Set(m_key, (L"Value" + std::to_wstring(i)).c_str(), REG_DWORD, Dword(static_cast<uint32_t>(i))), ERROR_SUCCESS);
    // Another case finds the same value, which keeps its place and its first name.
    ASSERT_EQ(Set(m_key, L"VALUE77777", REG_DWORD, Dword(7)), ERROR_SUCCESS);
    EXPECT_EQ(EnumValueName(m_key, 77'777), L"Value77777");
    EXPECT_EQ(Get(m_key, L"value77777").data, Dword(7));
    EXPECT_EQ(Get(m_key, L"Value99999").data, Dword(99'999));
    // A delete moves the later ones up; lookups and new values still land right.
    ASSERT_EQ(RegDeleteValueW(m_key, L"value3"), ERROR_SUCCESS);
    EXPECT_EQ(EnumValueName(m_key, 3), L"Value4");
    EXPECT_EQ(Get(m_key, L"Value99999").data, Dword(99'999));
    ASSERT_EQ(Set(m_key, L"Late", REG_SZ, Sz(L"x")), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"value3", REG_DWORD, Dword(3)), ERROR_SUCCESS);
    EXPECT_EQ(EnumValueName(m_key, kCount - 1), L"Late");
    EXPECT_EQ(EnumValueName(m_key, kCount), L"value3");
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(m_key, L"Value3", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(m_key, L"Nothing"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, EnumValueNameAndDataBuffers)
{
    ASSERT_EQ(Set(m_key, L"Group", REG_SZ, Sz(L"NDIS")), ERROR_SUCCESS); // 10 bytes
    wchar_t name[8];
    uint8_t data[16];
    std::fill(std::begin(name), std::end(name), L'#');
    std::memset(data, kFill, sizeof data);
    DWORD nameCount = 5; // "Group" needs 6
    DWORD type = kSentinel;
    DWORD dataSize = sizeof data;

    // A short name buffer: the name and data stay, the type and the size needed come back.
    EXPECT_EQ(RegEnumValueW(m_key, 0, name, &nameCount, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(nameCount, 5u);
    EXPECT_EQ(name[0], L'#');
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(dataSize, 10u);
    EXPECT_EQ(data[0], kFill);
    type = kSentinel;
    dataSize = sizeof data;

    // A short data buffer: the name and type come back with the size needed, the data does not.
    nameCount = 6;
    dataSize = 9;
    EXPECT_EQ(RegEnumValueW(m_key, 0, name, &nameCount, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(nameCount, 5u);
    EXPECT_EQ(std::wstring(name), L"Group");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(dataSize, 10u);
    EXPECT_EQ(data[0], kFill);

    // Exact buffers.
    nameCount = 6;
    dataSize = 10;
    EXPECT_EQ(RegEnumValueW(m_key, 0, name, &nameCount, nullptr, &type, data, &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 10), Sz(L"NDIS"));
    EXPECT_EQ(data[10], kFill);

    // Size only.
    nameCount = 8;
    dataSize = 0;
    EXPECT_EQ(RegEnumValueW(m_key, 0, name, &nameCount, nullptr, nullptr, nullptr, &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(dataSize, 10u);

    nameCount = 8;
    EXPECT_EQ(RegEnumValueW(m_key, 1, name, &nameCount, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueW(m_key, 0, name, &nameCount, nullptr, nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryApi, DeleteValueAndKey)
{
    EXPECT_EQ(RegDeleteValueW(m_key, L"Missing"), ERROR_FILE_NOT_FOUND);
    HKEY parent = Create(m_key, L"Parent");
    RegCloseKey(Create(parent, L"Child"));

    // A key with subkeys is not deleted by RegDeleteKeyW.
    EXPECT_EQ(RegDeleteKeyW(m_key, L"Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(m_key, L"parent\\CHILD"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(m_key, L"Parent\\Child"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(m_key, nullptr), ERROR_INVALID_PARAMETER);
    // An empty path deletes the handle's own key.
    EXPECT_EQ(RegDeleteKeyW(parent, L""), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(m_key, L"Parent", 0, 0, &parent), ERROR_FILE_NOT_FOUND);
    // Roots stay.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, L""), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryApi, HandlesToDeletedKeysReportKeyDeleted)
{
    HKEY doomed = Create(m_key, L"Doomed");
    HKEY below = Create(doomed, L"Below");
    ASSERT_EQ(Set(doomed, L"V", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(m_key, L"Doomed"), ERROR_SUCCESS);

    for (HKEY gone : { doomed, below }) {
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(gone, L"V", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
        EXPECT_EQ(Set(gone, L"V", REG_DWORD, Dword(2)), ERROR_KEY_DELETED);
        wchar_t name[10];
        DWORD count = 10;
        EXPECT_EQ(RegEnumKeyExW(gone, 0, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegEnumValueW(gone, 0, name, &count, nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
        HKEY child = nullptr;
        EXPECT_EQ(RegCreateKeyExW(gone, L"New", 0, nullptr, 0, 0, nullptr, &child, nullptr), ERROR_KEY_DELETED);
        EXPECT_EQ(RegOpenKeyExW(gone, L"", 0, 0, &child), ERROR_KEY_DELETED);
        EXPECT_EQ(RegFlushKey(gone), ERROR_KEY_DELETED);
        EXPECT_EQ(RegDeleteValueW(gone, L"V"), ERROR_KEY_DELETED);
        EXPECT_EQ(RegQueryInfoKeyW(gone, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            ERROR_KEY_DELETED);
    }

    // A new key of the same name is another key: the old handle still sees a deleted one.
    HKEY reborn = Create(m_key, L"Doomed");
    ASSERT_EQ(Set(reborn, L"V", REG_DWORD, Dword(3)), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(doomed, L"V", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);

    EXPECT_EQ(RegCloseKey(doomed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(below), ERROR_SUCCESS);
    RegCloseKey(reborn);
}

TEST_F(RegistryApi, DeleteTreeWithoutSubkeyEmptiesTheKey)
{
    HKEY sub = Create(m_key, L"Sub");
    ASSERT_EQ(Set(m_key, L"V", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(m_key, nullptr), ERROR_SUCCESS);
    DWORD subkeys = kSentinel;
    DWORD values = kSentinel;
    ASSERT_EQ(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(sub, L"x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    RegCloseKey(sub);
    EXPECT_EQ(RegDeleteTreeW(m_key, L"Nothing"), ERROR_FILE_NOT_FOUND);

    // An empty subkey empties the key too, and keeps it.
    HKEY again = Create(m_key, L"Again");
    ASSERT_EQ(Set(m_key, L"W", REG_DWORD, Dword(2)), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeW(m_key, L""), ERROR_SUCCESS);
    ASSERT_EQ(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 0u);
    EXPECT_EQ(values, 0u);
    RegCloseKey(again);
}

TEST_F(RegistryApi, StaleAndInventedHandlesAreInvalid)
{
    HKEY key = Create(m_key, L"Short-lived");
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(Set(key, L"x", REG_DWORD, Dword(1)), ERROR_INVALID_HANDLE);

    HKEY invented = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x12345));
    EXPECT_EQ(RegQueryValueExW(invented, L"x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(invented), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    // The roots this registry does not keep.
    HKEY out = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"x", 0, 0, &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCreateKeyExW(HKEY_USERS, L"x", 0, nullptr, 0, 0, nullptr, &out, nullptr), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryApi, ResetLeavesNothingBehind)
{
    ASSERT_EQ(Set(m_key, L"V", REG_DWORD, Dword(1)), ERROR_SUCCESS);
    platform::ResetRegistryForTests();
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(m_key, L"V", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, 0, &key), ERROR_FILE_NOT_FOUND);

    // With no store at all there is no registry.
    platform::CloseRegistryStore();
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_INVALID_HANDLE);
    platform::ResetRegistryForTests();
    m_key = Create(HKEY_CURRENT_USER, L"Software");
}

TEST_F(RegistryApi, QueryInfoKeyCountsAndLongestNames)
{
    RegCloseKey(Create(m_key, L"ab"));
    RegCloseKey(Create(m_key, L"abcdef"));
    ASSERT_EQ(Set(m_key, L"x", REG_BINARY, std::vector<uint8_t>(40, 1)), ERROR_SUCCESS);
    ASSERT_EQ(Set(m_key, L"longer", REG_DWORD, Dword(1)), ERROR_SUCCESS);

    wchar_t className[4] = { L'#', L'#', L'#', L'#' };
    DWORD classCount = 4;
    DWORD subkeys = kSentinel, maxSubkey = kSentinel, maxClass = kSentinel, values = kSentinel, maxValueName = kSentinel,
          maxValueData = kSentinel, security = kSentinel;
    FILETIME time { kSentinel, kSentinel };
    ASSERT_EQ(RegQueryInfoKeyW(m_key, className, &classCount, nullptr, &subkeys, &maxSubkey, &maxClass, &values, &maxValueName,
                  &maxValueData, &security, &time),
        ERROR_SUCCESS);
    EXPECT_EQ(className[0], L'\0');
    EXPECT_EQ(classCount, 0u);
    EXPECT_EQ(subkeys, 2u);
    EXPECT_EQ(maxSubkey, 6u);
    EXPECT_EQ(maxClass, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxValueName, 6u);
    EXPECT_EQ(maxValueData, 40u);
    EXPECT_EQ(security, 0u);
    EXPECT_NE(time.dwHighDateTime, kSentinel);
}

TEST_F(RegistryApi, ConcurrentCallersSeeWholeValues)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t] {
            for (uint32_t i = 0; i < 500; ++i) {
                Set(m_key, L"Shared", REG_BINARY, std::vector<uint8_t>(8 + t, static_cast<uint8_t>(t)));
                ReadBack got = Get(m_key, L"Shared");
                // Whatever writer came last, its bytes are all of one kind.
                if (got.result == ERROR_SUCCESS && !got.data.empty()) {
                    EXPECT_EQ(got.data.size(), 8u + got.data[0]);
                }
                HKEY key = Create(m_key, (L"K" + std::to_wstring(t)).c_str());
                RegCloseKey(key);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
}
