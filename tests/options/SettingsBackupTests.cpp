// Settings backup files: the lines a save writes, what a restore makes of hand-written and
// damaged files, and a save that fails leaving the old file.
#include <gtest/gtest.h>

#include <memory>

#include "options/SettingsBackup.h"
#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/files/SimFileSystem.h"
#include "platform/text/Utf16.h"
#include "settings/RegistryKey.h"
#include "platform/registry/Registry.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

class SettingsBackupTest : public ::testing::Test {
protected:
    SettingsBackupTest() { platform::InstallFileSystem(m_files); }
    ~SettingsBackupTest() override { platform::UninstallFileSystem(); }

    static DWORD Dword(const wchar_t* name) { return GetDword(HKEY_CURRENT_USER, kUserSettingsKey, name).value_or(0xBAD); }
    static std::wstring String(const wchar_t* name)
    {
        return GetString(HKEY_CURRENT_USER, kUserSettingsKey, name).value_or(L"<none>");
    }

    static void WriteFileBytes(const std::wstring& path, const std::string& bytes)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    static std::string ReadFileBytes(const std::wstring& path)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<none>";
        std::string bytes(1 << 16, '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        bytes.resize(read);
        return bytes;
    }

    MemoryRegistryScope m_registry;
    std::shared_ptr<platform::SimFileSystem> m_files = std::make_shared<platform::SimFileSystem>();
};

} // namespace

TEST_F(SettingsBackupTest, SaveWritesOneLinePerValueInEnumerationOrder)
{
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"MeterNotifyThreshold", 5);
    PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"UsageLogPath", L"\\Storage Card\\My Logs");
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"InterfaceIndex", 0xFFFFFFFFu);
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"ScrollRate", 0x80000000u);
    PutDword(HKEY_CURRENT_USER, std::wstring(kUserSettingsKey) + L"\\Sub", L"Nested", 3); // not a value of the key
    ASSERT_TRUE(SaveSettingsFile(L"\\vlmconf.vlm"));
    EXPECT_EQ(ReadFileBytes(L"\\vlmconf.vlm"),
        EncodeUtf16Le(L"DWORD MeterNotifyThreshold 5\r\n"
                      L"STRING UsageLogPath \\Storage Card\\My Logs\r\n"
                      L"DWORD InterfaceIndex -1\r\n"
                      L"DWORD ScrollRate -2147483648\r\n"));
}

TEST_F(SettingsBackupTest, RestoreReadsHandWrittenLinesAsTheDeviceDid)
{
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"Untouched", 77);
    // CRLF and bare LF lines, a lower-case type word, a number that is no number, one past
    // 32 bits, lines without a name, and no line end at the last line.
    WriteFileBytes(L"\\in.vlm", EncodeUtf16Le(L"STRING UsageLogPath \\Storage Card\\My Logs\r\n"
                                              L"DWORD InterfaceIndex -1\n"
                                              L"dword MeterNotifyThreshold 12abc\r\n"
                                              L"DWORD ScrollRate many\r\n"
                                              L"DWORD Huge 4294967301\r\n"
                                              L"\r\n"
                                              L"DWORD\r\n"
                                              L"STRING  orphan\r\n"
                                              L"STRING InterfaceString"));
    ASSERT_TRUE(RestoreSettingsFile(L"\\in.vlm"));
    EXPECT_EQ(String(L"UsageLogPath"), L"\\Storage Card\\My Logs");
    EXPECT_EQ(Dword(L"InterfaceIndex"), 0xFFFFFFFFu);
    EXPECT_EQ(Dword(L"MeterNotifyThreshold"), 12u);
    EXPECT_EQ(Dword(L"ScrollRate"), 0u);
    EXPECT_EQ(Dword(L"Huge"), 5u); // wraps modulo 2^32, as the conversion does
    EXPECT_EQ(String(L"InterfaceString"), L"");
    EXPECT_EQ(Dword(L"Untouched"), 77u);
    EXPECT_FALSE(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"").has_value());
}

TEST_F(SettingsBackupTest, ARoundTripKeepsEveryValueAndType)
{
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"MeterNotifyType", 203);
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"TaskbarIconPlacement", 4294967295u);
    PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"ViewItems", L"101*Adapter Name*1*1*1*0,");
    PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"PreviousPings", L"10.0.0.1*host name*");
    ASSERT_TRUE(SaveSettingsFile(L"\\backup.vlm"));
    std::wstring saved = SettingsBackupText();
    {
        RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::OpenExisting);
        ASSERT_EQ(RegDeleteTreeW(key.Handle(), L""), ERROR_SUCCESS);
    }
    ASSERT_EQ(SettingsBackupText(), L"");
    ASSERT_TRUE(RestoreSettingsFile(L"\\backup.vlm"));
    EXPECT_EQ(SettingsBackupText(), saved);
    RegistryKey key(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::OpenExisting);
    EXPECT_EQ(key.ValueType(L"TaskbarIconPlacement"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(key.ValueType(L"ViewItems"), static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsBackupTest, AFailedSaveLeavesTheOldFileAndAFailedOpenRestoresNothing)
{
    WriteFileBytes(L"\\vlmconf.vlm", "old backup");
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"ScrollRate", 5);
    m_files->FailWrites(L"*vlmconf.vlm*", platform::SimFileSystem::kEveryTime, ERROR_DISK_FULL);
    EXPECT_FALSE(SaveSettingsFile(L"\\vlmconf.vlm"));
    m_files->ClearFaults();
    EXPECT_EQ(ReadFileBytes(L"\\vlmconf.vlm"), "old backup");
    EXPECT_EQ(ReadFileBytes(L"\\vlmconf.vlm.new"), "<none>");

    EXPECT_FALSE(RestoreSettingsFile(L"\\missing.vlm"));
    // Held open by another reader: the restore takes the file exclusively or not at all.
    WriteFileBytes(L"\\held.vlm", EncodeUtf16Le(L"DWORD ScrollRate 9\r\n"));
    HANDLE held = CreateFileW(L"\\held.vlm", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RestoreSettingsFile(L"\\held.vlm"));
    CloseHandle(held);
    EXPECT_EQ(Dword(L"ScrollRate"), 5u);
}
