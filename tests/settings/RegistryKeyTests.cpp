#include <gtest/gtest.h>

#include <string>

#include "platform/text/Utf16.h"
#include "settings/RegistryKey.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {
const std::wstring kKey = L"Software\\Test";

class RegistryKeyTest : public ::testing::Test {
protected:
    MemoryRegistryScope m_registry;
};
} // namespace

TEST_F(RegistryKeyTest, ReadDwordWritesTheDefaultBackUnlessNoDefault)
{
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::CreateIfMissing);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_EQ(key.ReadDword(L"Missing", 5), 5u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kKey, L"Missing"), 5u);
    EXPECT_EQ(key.ReadDword(L"Other", NoDefault), NoDefault);
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kKey, L"Other").has_value());
}

TEST_F(RegistryKeyTest, ReadDwordTakesShortValuesRawAndOverwritesLongOnes)
{
    PutRaw(HKEY_CURRENT_USER, kKey, L"Short", REG_BINARY, { 0x34, 0x12 });
    PutString(HKEY_CURRENT_USER, kKey, L"Long", L"hello");
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::OpenExisting);
    EXPECT_EQ(key.ReadDword(L"Short", 9), 0x1234u);
    EXPECT_EQ(GetRaw(HKEY_CURRENT_USER, kKey, L"Short")->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(key.ReadDword(L"Long", NoDefault), NoDefault);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kKey, L"Long"), L"hello");
    EXPECT_EQ(key.ReadDword(L"Long", 7), 7u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kKey, L"Long"), 7u);
}

TEST_F(RegistryKeyTest, ReadStringDefaults)
{
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::CreateIfMissing);
    EXPECT_EQ(key.ReadString(L"Path", L"\\Program Files\\Velmora"), L"\\Program Files\\Velmora");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kKey, L"Path"), L"\\Program Files\\Velmora");
    EXPECT_EQ(key.ReadString(L"Nothing", nullptr), L"");
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kKey, L"Nothing").has_value());
    EXPECT_EQ(key.ReadString(nullptr, L"ignored"), L"");
    // An empty default is a default: it is written back.
    EXPECT_EQ(key.ReadString(L"Empty", L""), L"");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kKey, L"Empty"), L"");
}

TEST_F(RegistryKeyTest, ReadStringStopsAtTheFirstTerminatorAndSurvivesNone)
{
    PutRaw(HKEY_CURRENT_USER, kKey, L"Multi", REG_MULTI_SZ, { 'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0 });
    PutRaw(HKEY_CURRENT_USER, kKey, L"Unterminated", REG_SZ, { 'x', 0, 'y', 0 });
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::OpenExisting);
    EXPECT_EQ(key.ReadString(L"Multi", nullptr), L"a");
    EXPECT_EQ(key.ReadString(L"Unterminated", nullptr), L"xy");
}

TEST_F(RegistryKeyTest, WritesUseThePlatformLayouts)
{
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::CreateIfMissing);
    EXPECT_TRUE(key.WriteString(L"S", L"ab"));
    EXPECT_EQ(GetRaw(HKEY_CURRENT_USER, kKey, L"S")->data, (std::vector<uint8_t> { 'a', 0, 'b', 0, 0, 0 }));
    EXPECT_TRUE(key.WriteMultiString(L"One", L"10.0.0.5"));
    auto one = GetRaw(HKEY_CURRENT_USER, kKey, L"One");
    EXPECT_EQ(one->type, static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(one->data.size(), (8u + 2u) * 2u);
    EXPECT_TRUE(key.WriteMultiString(L"Two", L"10.0.0.2", L"10.0.0.3"));
    EXPECT_EQ(GetRaw(HKEY_CURRENT_USER, kKey, L"Two")->data.size(), (8u + 8u + 3u) * 2u);
    EXPECT_FALSE(key.WriteString(nullptr, L"x"));
    EXPECT_FALSE(key.WriteString(L"x", nullptr));
    EXPECT_FALSE(key.WriteMultiString(L"x", L"a", nullptr));
    EXPECT_FALSE(key.WriteDword(nullptr, 1));
}

TEST_F(RegistryKeyTest, LongMultiStringsAreWrittenWhole)
{
    // The device built this list in 128 characters; two long strings must not be cut or overrun.
    std::wstring first(100, L'a');
    std::wstring second(100, L'b');
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::CreateIfMissing);
    ASSERT_TRUE(key.WriteMultiString(L"Long", first.c_str(), second.c_str()));
    auto raw = GetRaw(HKEY_CURRENT_USER, kKey, L"Long");
    ASSERT_EQ(raw->data.size(), (100u + 100u + 3u) * 2u);
    EXPECT_EQ(Utf16LeUpToTerminator(raw->data.data(), raw->data.size()), first);
    EXPECT_EQ(Utf16LeUpToTerminator(raw->data.data() + 202, raw->data.size() - 202), second);
}

TEST_F(RegistryKeyTest, OneCursorServesBothEnumerations)
{
    CreateKey(HKEY_CURRENT_USER, kKey + L"\\A");
    CreateKey(HKEY_CURRENT_USER, kKey + L"\\B");
    CreateKey(HKEY_CURRENT_USER, kKey + L"\\C");
    PutDword(HKEY_CURRENT_USER, kKey, L"v0", 0);
    PutDword(HKEY_CURRENT_USER, kKey, L"v1", 1);
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::OpenExisting);
    std::wstring name = L"sentinel";
    ASSERT_TRUE(key.FirstSubkey(name));
    EXPECT_EQ(name, L"A");
    ASSERT_TRUE(key.NextSubkey(name));
    EXPECT_EQ(name, L"B");
    ASSERT_TRUE(key.FirstValue(name));
    EXPECT_EQ(name, L"v0");
    // The subkey enumeration goes on from the value cursor (0), not from B.
    ASSERT_TRUE(key.NextSubkey(name));
    EXPECT_EQ(name, L"B");
    ASSERT_TRUE(key.NextSubkey(name));
    EXPECT_EQ(name, L"C");
    EXPECT_FALSE(key.NextSubkey(name));
    EXPECT_EQ(name, L"");
}

TEST_F(RegistryKeyTest, EmptyKeyAndMissingValues)
{
    RegistryKey key(HKEY_CURRENT_USER, kKey.c_str(), KeyDisposition::CreateIfMissing);
    std::wstring name = L"sentinel";
    EXPECT_FALSE(key.FirstSubkey(name));
    EXPECT_EQ(name, L"");
    EXPECT_FALSE(key.FirstValue(name));
    EXPECT_EQ(key.ValueType(L"Missing"), 0u);
    EXPECT_FALSE(key.ValueExists(L"Missing"));
    EXPECT_FALSE(key.ValueExists(nullptr));
    EXPECT_FALSE(key.DeleteValue(L"Missing"));
    key.WriteDword(L"D", 1);
    key.WriteString(L"S", L"s");
    EXPECT_EQ(key.ValueType(L"D"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.ValueType(L"S"), static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(key.DeleteValue(L"D"));
    EXPECT_FALSE(key.ValueExists(L"D"));
    CreateKey(HKEY_CURRENT_USER, kKey + L"\\Sub\\Deeper");
    EXPECT_TRUE(key.SubkeyExists(L"Sub\\Deeper"));
    EXPECT_TRUE(key.SubkeyExists(L"SUB"));
    EXPECT_FALSE(key.SubkeyExists(L"Nope"));
}

TEST_F(RegistryKeyTest, AKeyThatCannotBeOpenedFailsEveryOperationQuietly)
{
    RegistryKey key(HKEY_CURRENT_USER, L"Software\\Absent", KeyDisposition::OpenExisting);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.ReadDword(L"X", 5), 5u);
    EXPECT_EQ(key.ReadString(L"Y", L"default"), L"default");
    EXPECT_FALSE(key.WriteDword(L"X", 1));
    std::wstring name;
    EXPECT_FALSE(key.FirstSubkey(name));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Absent"));
}
