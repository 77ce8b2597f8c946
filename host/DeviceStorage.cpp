#include "host/DeviceStorage.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/core/DataFolder.h"
#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "settings/SettingsKeys.h"

namespace fs = std::filesystem;

namespace host {

namespace {

// The owner record is a block of fixed fields; the name comes first, 36 characters with its end.
constexpr size_t kOwnerRecordBytes = 0x22C;
constexpr size_t kOwnerNameCharacters = 35;

constexpr DWORD kTodayItemTypeCustom = 4;

bool HasValue(HKEY key, const wchar_t* name)
{
    return RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void SetDwordIfMissing(HKEY key, const wchar_t* name, DWORD value)
{
    if (!HasValue(key, name))
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetStringIfMissing(HKEY key, const wchar_t* name, const std::wstring& value)
{
    if (HasValue(key, name))
        return;
    std::vector<uint8_t> data = Utf16LeWithTerminator(value);
    RegSetValueExW(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
}

} // namespace

DeviceStorage::~DeviceStorage()
{
    Close();
}

std::string DeviceStorage::Open(const fs::path& dataFolder)
{
    m_held = false;
    std::error_code error;
    fs::create_directories(dataFolder, error);
    if (error)
        return "cannot create the data folder " + dataFolder.string() + ": " + error.message();

    platform::RegistryStoreResult registry = platform::OpenRegistryStore(platform::HivePath(dataFolder),
        platform::RegistryStoreMode::ReadWrite);
    m_held = registry.status == platform::RegistryStoreStatus::InUse;
    if (m_held)
        return "the data folder " + dataFolder.string() + " is in use by another running velmora (" + registry.detail
            + "); " + HeldFolderAdvice();
    if (!registry.Ok())
        return "cannot open the registry in " + dataFolder.string() + ": " + registry.detail;
    m_registryOpen = true;

    if (DWORD result = platform::InstallLinuxFileSystem(dataFolder); result != ERROR_SUCCESS)
        return "cannot use the device folder " + platform::DeviceRoot(dataFolder).string() + " (error " + std::to_string(result) + ")";
    m_filesInstalled = true;
    return CreateStandardFolders();
}

void DeviceStorage::Close()
{
    if (m_filesInstalled)
        platform::UninstallFileSystem();
    m_filesInstalled = false;
    if (m_registryOpen)
        platform::CloseRegistryStore();
    m_registryOpen = false;
}

bool DataFolderHeld(const fs::path& dataFolder)
{
    platform::HiveFile hive(platform::HivePath(dataFolder));
    std::error_code error;
    // Without a lock file nobody has held the folder yet; the probe makes none.
    if (!fs::exists(hive.LockPath(), error))
        return false;
    return hive.Lock() == EWOULDBLOCK;
}

std::string HeldFolderAdvice()
{
    return "stop it first: `velmora service stop` when the velmora service runs it, else close its window "
           "or end its run (Ctrl-C)";
}

std::string CreateStandardFolders()
{
    for (const wchar_t* folder : { L"\\Program Files", L"\\Program Files\\Velmora", L"\\My Documents", L"\\Windows" }) {
        if (CreateDirectoryW(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
            continue;
        return "cannot create the device folder " + WideToUtf8(folder) + " (error " + std::to_string(GetLastError()) + ")";
    }
    return {};
}

std::wstring MachineUserName()
{
    if (const passwd* account = getpwuid(getuid()); account != nullptr) {
        std::string fullName = account->pw_gecos != nullptr ? account->pw_gecos : "";
        fullName = fullName.substr(0, fullName.find(','));
        if (!fullName.empty())
            return Utf8ToWide(fullName);
        if (account->pw_name != nullptr && *account->pw_name != '\0')
            return Utf8ToWide(account->pw_name);
    }
    const char* user = std::getenv("USER");
    return Utf8ToWide(user != nullptr ? user : "");
}

void SeedOwnerRecord(const std::wstring& ownerName)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\Owner", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
            &disposition) != ERROR_SUCCESS)
        return;
    if (!HasValue(key, L"Owner") && !ownerName.empty()) {
        std::vector<uint8_t> record(kOwnerRecordBytes, 0);
        std::vector<uint8_t> name = Utf16LeWithTerminator(ownerName.substr(0, kOwnerNameCharacters));
        std::copy(name.begin(), name.end(), record.begin());
        RegSetValueExW(key, L"Owner", 0, REG_BINARY, record.data(), static_cast<DWORD>(record.size()));
    }
    RegCloseKey(key);
}

void RegisterTodayItem()
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kTodayItemKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition)
        != ERROR_SUCCESS)
        return;
    SetStringIfMissing(key, L"DLL", kItemModulePath);
    SetDwordIfMissing(key, L"Type", kTodayItemTypeCustom);
    SetDwordIfMissing(key, L"Enabled", 1);
    SetDwordIfMissing(key, L"Options", 1);
    SetDwordIfMissing(key, L"Order", 0);
    RegCloseKey(key);
}

} // namespace host
