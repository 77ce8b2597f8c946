// The emulated device's storage for a run: the data folder with the registry hive (held
// read-write, so a second run on the same folder is refused) and the device's file system with
// its standard folders, plus the platform-owned registry entries the shell keeps: the owner
// record and the Today item's key.
#pragma once

#include <filesystem>
#include <string>

namespace host {

// The Today item's module as the shell finds it in the item's key.
inline constexpr const wchar_t* kItemModulePath = L"\\Windows\\velmora.dll";
inline constexpr const wchar_t* kTodayItemsKey = L"SOFTWARE\\Microsoft\\Today\\Items";

class DeviceStorage {
public:
    DeviceStorage() = default;
    // Closes the registry store (writing it) and takes the file system away.
    ~DeviceStorage();
    DeviceStorage(const DeviceStorage&) = delete;
    DeviceStorage& operator=(const DeviceStorage&) = delete;

    // Empty on success, else one line saying what failed.
    std::string Open(const std::filesystem::path& dataFolder);
    void Close();
    // The last Open failed because another process holds the folder.
    bool WasHeld() const { return m_held; }

private:
    bool m_registryOpen = false;
    bool m_held = false;
    bool m_filesInstalled = false;
};

// True when a running device (a window, a headless run or the service) holds the data folder's
// registry, which it then alone may change.
bool DataFolderHeld(const std::filesystem::path& dataFolder);
// What a user does to free a held data folder; the end of a refusal's message.
std::string HeldFolderAdvice();

// The device's standard folders: \Program Files, \Program Files\Velmora, \My Documents and
// \Windows, made when missing. Empty on success.
std::string CreateStandardFolders();
// HKCU\ControlPanel\Owner "Owner" with the user's name, when the device has no owner yet.
void SeedOwnerRecord(const std::wstring& ownerName);
// The machine user's name: the full name from the account when it has one, else the login.
std::wstring MachineUserName();
// The Today item key of the plug-in (DLL, Type, Enabled, Options, Order), values written only
// where missing: settings stored under the same key are left alone.
void RegisterTodayItem();

} // namespace host
