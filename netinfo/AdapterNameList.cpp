#include "netinfo/AdapterNameList.h"

#include "platform/device/Device.h"
#include "platform/text/WideString.h"
#include "settings/RegistryKey.h"

namespace {
const wchar_t* const kCommKey = L"Comm";
const wchar_t* const kBluetoothDialup = L"Bluetooth Dialup Modem";
}

DWORD PlatformGenerationFromMajorVersion(DWORD majorVersion)
{
    if (majorVersion < 4)
        return 2002;
    if (majorVersion == 4)
        return 2003;
    return 2005;
}

DWORD QueryPlatformGeneration()
{
    OSVERSIONINFOW info {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return 2002;
    return PlatformGenerationFromMajorVersion(info.dwMajorVersion);
}

std::wstring FindUsbCableAdapterName(DWORD platformGeneration)
{
    if (platformGeneration != 2003)
        return L"ppp1";
    RegistryKey comm(HKEY_LOCAL_MACHINE, kCommKey, KeyDisposition::OpenExisting);
    if (comm.SubkeyExists(L"USB Cable:"))
        return L"USB Cable:";
    if (comm.SubkeyExists(L"Serial on USB"))
        return L"Serial on USB";
    return L"USB Cable:";
}

AdapterNameList BuildAdapterNameList(const std::wstring& usbCableAdapterName)
{
    AdapterNameList list;
    RegistryKey comm(HKEY_LOCAL_MACHINE, kCommKey, KeyDisposition::OpenExisting);
    std::wstring driver;
    for (bool more = comm.FirstSubkey(driver); more; more = comm.NextSubkey(driver)) {
        bool isCable = driver == usbCableAdapterName;
        std::wstring group;
        std::wstring imagePath;
        std::wstring driverDisplayName;
        {
            RegistryKey driverKey(comm.Handle(), driver.c_str(), KeyDisposition::OpenExisting);
            group = driverKey.ReadString(L"Group", nullptr);
            imagePath = driverKey.ReadString(L"ImagePath", nullptr);
            driverDisplayName = driverKey.ReadString(L"DisplayName", nullptr);
        }
        // Instance keys end in "1"; only the driver keys lead to them.
        bool endsInOne = !driver.empty() && driver.back() == L'1';
        if (endsInOne && !isCable)
            continue;
        if (!(group == L"NDIS" && !imagePath.empty()) && !isCable)
            continue;
        if (Contains(driverDisplayName, L"IrDA"))
            continue;
        std::wstring adapterKey = isCable ? driver : driver + L"1";
        if (!comm.SubkeyExists(adapterKey.c_str()))
            continue;
        std::wstring displayName;
        {
            RegistryKey adapter(comm.Handle(), adapterKey.c_str(), KeyDisposition::OpenExisting);
            displayName = adapter.ReadString(L"DisplayName", nullptr);
        }
        if (displayName.empty())
            displayName = isCable ? L"USB Sync Cable" : adapterKey;
        list.push_back(AdapterNameEntry { static_cast<DWORD>(list.size()), adapterKey, displayName, 0 });
    }
    if (comm.SubkeyExists(kBluetoothDialup))
        list.push_back(AdapterNameEntry { static_cast<DWORD>(list.size()), kBluetoothDialup, kBluetoothDialup, 0 });
    return list;
}
