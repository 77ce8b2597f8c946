#include <gtest/gtest.h>

#include <string>

#include "netinfo/AdapterNameList.h"
#include "platform/device/Device.h"
#include "settings/Settings.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

class AdapterNameListTest : public ::testing::Test {
protected:
    void Driver(const std::wstring& key, const std::wstring& group, const std::wstring& imagePath,
        const std::wstring& displayName = L"")
    {
        CreateKey(HKEY_LOCAL_MACHINE, L"Comm\\" + key);
        if (!group.empty())
            PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + key, L"Group", group);
        if (!imagePath.empty())
            PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + key, L"ImagePath", imagePath);
        if (!displayName.empty())
            PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + key, L"DisplayName", displayName);
    }

    void Instance(const std::wstring& key, const std::wstring& displayName = L"")
    {
        CreateKey(HKEY_LOCAL_MACHINE, L"Comm\\" + key);
        if (!displayName.empty())
            PutString(HKEY_LOCAL_MACHINE, L"Comm\\" + key, L"DisplayName", displayName);
    }

    MemoryRegistryScope m_registry;
};

} // namespace

TEST(PlatformGeneration, ByMajorVersion)
{
    EXPECT_EQ(PlatformGenerationFromMajorVersion(3), 2002u);
    EXPECT_EQ(PlatformGenerationFromMajorVersion(4), 2003u);
    EXPECT_EQ(PlatformGenerationFromMajorVersion(5), 2005u);
    EXPECT_EQ(PlatformGenerationFromMajorVersion(6), 2005u);
}

TEST_F(AdapterNameListTest, DriverKeysLeadToTheirFirstInstance)
{
    Driver(L"NE2000", L"NDIS", L"ne2000.dll");
    Instance(L"NE20001", L"NE2000 Compatible Ethernet Driver");
    Driver(L"ORPHAN", L"NDIS", L"orphan.dll");   // no ORPHAN1 instance
    Driver(L"SERIAL", L"", L"serial.dll");        // not a network driver
    Driver(L"NOIMAGE", L"NDIS", L"");
    Instance(L"NOIMAGE1");
    Instance(L"LONE1", L"An instance without a driver");
    Driver(L"IRSIR", L"NDIS", L"irsir.dll", L"IrDA Infrared Port");
    Instance(L"IRSIR1", L"Infrared");
    Driver(L"WLAN", L"NDIS", L"wlan.dll");
    Instance(L"WLAN1"); // no display name: shown under its key name
    AdapterNameList list = BuildAdapterNameList(L"ppp1");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].keyName, L"NE20001");
    EXPECT_EQ(list[0].displayName, L"NE2000 Compatible Ethernet Driver");
    EXPECT_EQ(list[0].sequence, 0u);
    EXPECT_EQ(list[1].keyName, L"WLAN1");
    EXPECT_EQ(list[1].displayName, L"WLAN1");
    EXPECT_EQ(list[1].sequence, 1u);
}

TEST_F(AdapterNameListTest, TheCableKeyIsTakenAsItIs)
{
    Instance(L"ppp1");
    Driver(L"USB Cable:", L"", L"");
    Instance(L"BTHPAN1");
    CreateKey(HKEY_LOCAL_MACHINE, L"Comm\\Bluetooth Dialup Modem");
    AdapterNameList list = BuildAdapterNameList(L"ppp1");
    // A key ending in "1" is taken by itself only when it is the cable's.
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].keyName, L"ppp1");
    EXPECT_EQ(list[0].displayName, L"USB Sync Cable");
    EXPECT_EQ(list[1].keyName, L"Bluetooth Dialup Modem");
    list = BuildAdapterNameList(L"USB Cable:");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].keyName, L"USB Cable:");
    EXPECT_EQ(list[0].displayName, L"USB Sync Cable");
    EXPECT_EQ(list[1].keyName, L"Bluetooth Dialup Modem");
    EXPECT_EQ(list[1].displayName, L"Bluetooth Dialup Modem");
}

TEST_F(AdapterNameListTest, CableNameByPlatformGeneration)
{
    EXPECT_EQ(FindUsbCableAdapterName(2002), L"ppp1");
    EXPECT_EQ(FindUsbCableAdapterName(2005), L"ppp1");
    EXPECT_EQ(FindUsbCableAdapterName(2003), L"USB Cable:");
    Instance(L"Serial on USB");
    EXPECT_EQ(FindUsbCableAdapterName(2003), L"Serial on USB");
    Instance(L"USB Cable:");
    EXPECT_EQ(FindUsbCableAdapterName(2003), L"USB Cable:");
}

TEST_F(AdapterNameListTest, SettingsWorkOutGenerationAndCableAtStart)
{
    platform::DeviceProfile device = platform::DeviceProfile::Qvga();
    device.SetOsGeneration(2003);
    platform::SetCurrentDevice(device);
    Instance(L"Serial on USB", L"USB Serial");
    Settings settings;
    platform::SetCurrentDevice(platform::DeviceProfile::Qvga());
    EXPECT_EQ(settings.PlatformGeneration(), 2003u);
    EXPECT_EQ(settings.UsbCableAdapterName(), L"Serial on USB");
    ASSERT_EQ(settings.AdapterNames().size(), 1u);
    EXPECT_EQ(settings.AdapterNames()[0].displayName, L"USB Serial");
}
