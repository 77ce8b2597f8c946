#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kUser = kUserSettingsKey;
const std::wstring kToday = kTodayItemKey;

const std::wstring kInitialViewItems = L"101*Adapter Name*1*1*0*0,102*IP Address*1*1*1*0,103*Subnet Mask*1*1*2*0,"
                                       L"104*Default Gateway*1*1*3*0,105*DHCP Status*1*1*4*0,107*Meter Reading*1*1*5*0,"
                                       L"108*DNS Server*1*1*6*0,109*WINS Server*1*0*7*0,110*Time Connected*1*0*8*0,"
                                       L"111*Data Rate*1*0*9*0,";

class SettingsTest : public ::testing::Test {
protected:
    void MarkUserKeySaved() { PutDword(HKEY_CURRENT_USER, kUser, L"SettingsSaved", 1); }

    std::vector<DWORD> OrderOfIds(Settings& settings)
    {
        std::vector<DWORD> ids;
        settings.SortViewItems();
        for (ViewItem item = settings.NextViewItem(); item.id != EndOfItems; item = settings.NextViewItem())
            ids.push_back(item.id);
        return ids;
    }

    MemoryRegistryScope m_registry;
};

} // namespace

TEST_F(SettingsTest, FirstStartKeepsInitialValuesAndWritesNothing)
{
    Settings settings;
    EXPECT_EQ(settings.ClearTypeEnabled, 1u);
    EXPECT_EQ(settings.UsageShowZeros, 0u);
    EXPECT_EQ(settings.InterfaceIndex, 98u);
    EXPECT_EQ(settings.UsageLogPath, L"\\Program Files\\Velmora");
    EXPECT_EQ(settings.RasNameCount(), 1u);
    EXPECT_EQ(settings.RasNameAt(0), L"USB Sync Cable");
    EXPECT_EQ(settings.Profiles().Count(), 0u);
    EXPECT_TRUE(ValueNames(HKEY_CURRENT_USER, kUser).empty());
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kToday).empty());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kToday));
}

TEST_F(SettingsTest, MissingValuesTakeTheirLoadDefaultsAndAreWrittenBack)
{
    MarkUserKeySaved();
    Settings settings;
    // These two differ from a fresh object's values on purpose.
    EXPECT_EQ(settings.ClearTypeEnabled, 0u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUser, L"ClearTypeEnabled"), 0u);
    EXPECT_EQ(settings.UsageShowZeros, 1u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUser, L"UsageShowZeros"), 1u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUser, L"ScrollRate"), 5u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"UsageInterface"), L"");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"UsageLogPath"), L"\\Program Files\\Velmora");
    // Texts without a default are not written back.
    for (const wchar_t* name : { L"ViewItems", L"InterfaceString", L"PreviousPings", L"RasAdapterNames" })
        EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kUser, name).has_value()) << name;
}

TEST_F(SettingsTest, InitialTableSavesAsItsText)
{
    Settings settings;
    settings.SaveSettings();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"ViewItems"), kInitialViewItems);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUser, L"SettingsSaved"), 1u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames"), L"USB Sync Cable*");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"PreviousPings"), L"");
}

TEST_F(SettingsTest, SaveWritesEveryValueInItsOrder)
{
    // Backups list values in registry order, so the save order is visible to users.
    Settings settings;
    settings.SaveSettings();
    std::vector<std::wstring> expected = { L"FullViewEnabled", L"ViewItems", L"InterfaceIndex", L"InterfaceString",
        L"MeterEnabled", L"MeterNotify", L"MeterNotifyThreshold", L"MeterNotifyType", L"MeterNotifyReset",
        L"MeterIconEnabled", L"DHCPIconEnabled", L"OptionsIconEnabled", L"BoldTextEnabled", L"ClearTypeEnabled",
        L"ScrollRate", L"TaskbarIconEnabled", L"TaskbarIconUp", L"TaskbarIconPlacement", L"MeterShowsTotal",
        L"FontSize", L"PinEnabled", L"ViewSelectEnabled", L"UsageEnabled", L"UsageInterface", L"UsageShowZeros",
        L"UsageLogPath", L"UsageLogStorageCapEnabled", L"UsageLogStorageCapLimit", L"SettingsSaved", L"PreviousPings",
        L"RasAdapterNames" };
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kUser), expected);
}

TEST_F(SettingsTest, SaveAndLoadRoundTripWithFlagsAsZeroOrOne)
{
    {
        Settings settings;
        settings.MeterNotifyThreshold = 50;
        settings.ScrollRate = 9;
        settings.BoldTextEnabled = 7; // any non-zero flag saves as 1
        settings.InterfaceIndex = 2;
        settings.InterfaceString = L"NE20001";
        settings.UsageLogPath = L"\\Storage Card\\My Logs";
        settings.SaveSettings();
    }
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUser, L"BoldTextEnabled"), 1u);
    Settings reloaded;
    EXPECT_EQ(reloaded.MeterNotifyThreshold, 50u);
    EXPECT_EQ(reloaded.ScrollRate, 9u);
    EXPECT_EQ(reloaded.BoldTextEnabled, 1u);
    EXPECT_EQ(reloaded.InterfaceIndex, 2u);
    EXPECT_EQ(reloaded.InterfaceString, L"NE20001");
    EXPECT_EQ(reloaded.UsageLogPath, L"\\Storage Card\\My Logs");
}

TEST_F(SettingsTest, EmptyStoredLogPathMeansTheDefaultButStaysEmptyInTheRegistry)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"UsageLogPath", L"");
    Settings settings;
    EXPECT_EQ(settings.UsageLogPath, L"\\Program Files\\Velmora");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"UsageLogPath"), L"");
}

TEST_F(SettingsTest, TodayItemKeyIsTheSourceUntilTheFirstSave)
{
    PutDword(HKEY_LOCAL_MACHINE, kToday, L"SettingsSaved", 1);
    PutDword(HKEY_LOCAL_MACHINE, kToday, L"ScrollRate", 8);
    PutString(HKEY_LOCAL_MACHINE, kToday, L"NetProfile0", L"Office*NE20001*0*10.0.0.5*255.255.255.0*10.0.0.1*****");
    {
        Settings settings;
        EXPECT_EQ(settings.ScrollRate, 8u);
        EXPECT_EQ(settings.Profiles().Count(), 1u);
        // Defaults for missing values go back into the key that was read.
        EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, kToday, L"MeterEnabled"), 1u);
        EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, kUser, L"MeterEnabled").has_value());
        settings.ScrollRate = 3;
        settings.SaveSettings();
    }
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"NetProfile0"),
        L"Office*NE20001*0*10.0.0.5*255.255.255.0*10.0.0.1*****");
    PutDword(HKEY_LOCAL_MACHINE, kToday, L"ScrollRate", 1);
    Settings later;
    EXPECT_EQ(later.ScrollRate, 3u);
}

TEST_F(SettingsTest, StoredViewItemsReplaceOnlyTheEntriesTheyHold)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"ViewItems", L"103*x*1*0*0*0,102*y*1*1*1*0,101*z*1*1*2*0,trailing");
    Settings settings;
    EXPECT_FALSE(settings.ViewItemsSorted());
    EXPECT_EQ(settings.ViewItemAt(0).id, 103u);
    EXPECT_STREQ(settings.ViewItemAt(0).name, L"Subnet Mask");
    EXPECT_EQ(settings.ViewItemAt(0).visible, 0u);
    EXPECT_EQ(settings.ViewItemAt(2).id, 101u);
    EXPECT_EQ(settings.ViewItemAt(3).id, 104u);
    EXPECT_EQ(settings.ViewItemAt(9).id, 111u);
}

TEST_F(SettingsTest, AMovedLineShowsFirstAfterSaveAndLoad)
{
    {
        Settings settings;
        // The View page gives every line its row: Data Rate to the top, the rest one down.
        DWORD ids[] = { 111, 101, 102, 103, 104, 105, 107, 108, 109, 110 };
        for (DWORD row = 0; row < 10; ++row)
            settings.SetViewItem(ids[row], 1, row);
        settings.SaveSettings(); // in the old table order, with the new positions
    }
    Settings reloaded;
    std::vector<DWORD> expected = { 111, 101, 102, 103, 104, 105, 107, 108, 109, 110 };
    EXPECT_EQ(OrderOfIds(reloaded), expected);
}

TEST_F(SettingsTest, PositionsThatAreNotAPermutationAreRepairedDeterministically)
{
    MarkUserKeySaved();
    // Two records claim 0, one claims 42, and positions 7 to 9 are claimed by nobody.
    PutString(HKEY_CURRENT_USER, kUser, L"ViewItems",
        L"101**1*1*0*0,102**1*1*0*0,103**1*1*1*0,104**1*1*2*0,105**1*1*3*0,107**1*1*4*0,"
        L"108**1*1*5*0,109**1*1*42*0,110**1*1*6*0,111**1*1*6*0,");
    Settings settings;
    std::vector<DWORD> expected = { 101, 103, 104, 105, 107, 108, 110, 102, 109, 111 };
    EXPECT_EQ(OrderOfIds(settings), expected);
    for (DWORD i = 0; i < kViewItemCount; ++i)
        EXPECT_EQ(settings.ViewItemAt(i).position, i);
}

TEST_F(SettingsTest, UnknownIdsKeepTheirPlaceWithoutAName)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"ViewItems", L"106*Ghost*1*1*0*0,");
    Settings settings;
    EXPECT_EQ(settings.ViewItemAt(0).id, 106u);
    EXPECT_EQ(settings.ViewItemAt(0).name, nullptr);
    settings.SaveSettings();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"ViewItems")->substr(0, 13), L"106**1*1*0*0,");
}

TEST_F(SettingsTest, SetViewItemWithAnUnknownIdChangesNothing)
{
    Settings settings;
    ASSERT_TRUE(settings.ViewItemsSorted());
    EXPECT_EQ(settings.SetViewItem(106, 1, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(settings.ViewItemsSorted());
    EXPECT_EQ(settings.SetViewItem(102, 0, 1), 1u);
    EXPECT_FALSE(settings.ViewItemsSorted());
    EXPECT_EQ(settings.NextViewItem().id, static_cast<DWORD>(EndOfItems)); // unsorted: nothing to iterate
}

TEST_F(SettingsTest, PreviousPingsLoadInOrderWithoutDuplicates)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"PreviousPings", L"one*two*one**three");
    Settings settings;
    EXPECT_EQ(settings.PreviousPing(0), L"one");
    EXPECT_EQ(settings.PreviousPing(1), L"two");
    EXPECT_EQ(settings.PreviousPing(2), L"");
    settings.SaveSettings();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"PreviousPings"), L"one*two*");
}

TEST_F(SettingsTest, AddPreviousPingKeepsEightMostRecent)
{
    Settings settings;
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(settings.AddPreviousPing(L"host" + std::to_wstring(i)), 0u);
    EXPECT_EQ(settings.AddPreviousPing(L"host5"), 1u);
    EXPECT_EQ(settings.PreviousPing(0), L"host8");
    EXPECT_EQ(settings.AddPreviousPing(L"host9"), 0u);
    EXPECT_EQ(settings.PreviousPing(0), L"host9");
    EXPECT_EQ(settings.PreviousPing(7), L"host2"); // host1 was dropped
}

TEST_F(SettingsTest, DialUpNamesCollapseDuplicatesAndTheCable)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames", L"USB Sync Cable*Work*Work*");
    Settings settings;
    EXPECT_EQ(settings.RasNameCount(), 2u);
    EXPECT_EQ(settings.RasNameAt(1), L"Work");
    EXPECT_EQ(settings.AddRasName(L"My USB Modem"), 0u);
    EXPECT_EQ(settings.FindRasName(L"My USB Modem"), 999u);
    EXPECT_EQ(settings.AddRasName(L"Office"), 2u);
    EXPECT_EQ(settings.FindRasName(L"Office"), 2u);
    EXPECT_EQ(settings.RasNameAt(7), L"");
    settings.SaveSettings();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames"), L"USB Sync Cable*Work*Office*");
}

TEST_F(SettingsTest, LoadingAgainReplacesTheListsWithWhatTheKeyHolds)
{
    MarkUserKeySaved();
    PutString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames", L"USB Sync Cable*Work*Home*");
    PutString(HKEY_CURRENT_USER, kUser, L"PreviousPings", L"alpha*beta*gamma*");
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile0", L"Office");
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile1", L"Lab");
    Settings settings;
    settings.AddRasName(L"Hotel");
    ASSERT_EQ(settings.RasNameCount(), 4u);

    // What a restore does: another key's contents, then a load.
    PutString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames", L"USB Sync Cable*Home*");
    PutString(HKEY_CURRENT_USER, kUser, L"PreviousPings", L"delta*");
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile0", L"Cafe");
    PutString(HKEY_CURRENT_USER, kUser, L"NetProfile1", L""); // the list ends at an empty one
    settings.LoadSettings();
    EXPECT_EQ(settings.RasNameCount(), 2u);
    EXPECT_EQ(settings.RasNameAt(1), L"Home"); // "ppp:1" is Home now, as the key says
    EXPECT_EQ(settings.PreviousPing(0), L"delta");
    EXPECT_EQ(settings.PreviousPing(1), L"");
    int profiles = 0;
    for (NetProfile* p = settings.Profiles().Head(); p != nullptr; p = p->next.get())
        ++profiles;
    EXPECT_EQ(profiles, 1);

    // Loading the same key twice changes nothing.
    settings.LoadSettings();
    EXPECT_EQ(settings.RasNameCount(), 2u);
    settings.SaveSettings();
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"RasAdapterNames"), L"USB Sync Cable*Home*");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUser, L"PreviousPings"), L"delta*");
}

TEST_F(SettingsTest, FullViewClearsThePin)
{
    Settings settings;
    settings.SetPinPressed(true);
    settings.SetFullView(0);
    EXPECT_TRUE(settings.PinPressed());
    settings.SetFullView(1);
    EXPECT_FALSE(settings.PinPressed());
    EXPECT_EQ(settings.FullViewEnabled, 1u);
}

TEST_F(SettingsTest, ScreenMetricsComeFromTheDevice)
{
    Settings settings;
    EXPECT_EQ(settings.SmallIconWidth(), 16);
    EXPECT_EQ(settings.IconGap(), 2);
    EXPECT_EQ(settings.PinWidth(), 8);
    EXPECT_EQ(settings.StatusTextLeftMargin(), 28);
    EXPECT_EQ(settings.PlatformGeneration(), 2005u);
    EXPECT_EQ(settings.UsbCableAdapterName(), L"ppp1");
}
