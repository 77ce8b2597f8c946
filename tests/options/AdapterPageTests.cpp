// The options dialog's Adapter page: the adapters it offers and which one it selects, the
// hardware address and settings button following the choice, what OK writes (and leaves alone
// when nothing is chosen), the Control Panel applet it opens, and the page made again after a
// restore.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "item/PluginModule.h"
#include "options/ControlPanel.h"
#include "options/OptionsFrame.h"
#include "platform/core/Process.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

constexpr int kAdapterTab = 1;

class AdapterPageTest : public ::testing::Test {
protected:
    AdapterPageTest()
    {
        m_screen.AddLoopbackAndLan();
        platform::SimInterfaceSetup wireless;
        wireless.name = L"WLAN1";
        wireless.physAddr = { 0x00, 0x11, 0x22, 0xA3, 0xB4, 0xC5 };
        m_screen.Network().AddInterface(wireless);
        platform::InstallProcessStarter([this](const platform::ProcessStart& start) {
            m_started.push_back(start.imageName + L" " + start.commandLine);
            return static_cast<DWORD>(ERROR_SUCCESS);
        });
    }
    ~AdapterPageTest() override { platform::InstallProcessStarter({}); }

    // The cable, the LAN and the wireless adapter under Comm, as the device names them.
    static void NameThreeAdapters()
    {
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\ppp1", L"DisplayName", L"USB Sync Cable");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"ImagePath", L"ne2000.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE20001", L"DisplayName", L"NE2000 Ethernet Driver");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN", L"ImagePath", L"wlan.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\WLAN1", L"DisplayName", L"Wireless LAN");
    }

    void Load()
    {
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    Settings& Stored() { return g_pModule->m_settings; }

    // The list position of an adapter key, as the page numbers its items.
    int Position(const std::wstring& keyName)
    {
        const AdapterNameList& names = Stored().AdapterNames();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].keyName == keyName)
                return static_cast<int>(i);
        ADD_FAILURE() << "no adapter named " << std::string(keyName.begin(), keyName.end());
        return -1;
    }

    // Opens the options dialog on the Adapter page, hands the page to the action, then OK.
    void OnAdapterPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            m_screen.Driver().ChooseItem(g_pModule->m_options.hwndTab, kAdapterTab);
            HWND page = g_pModule->m_options.pages[kAdapterTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    static std::wstring Text(HWND page, int id)
    {
        wchar_t text[128] = {};
        GetDlgItemTextW(page, id, text, 128);
        return text;
    }

    static std::wstring ItemText(HWND page, int item)
    {
        wchar_t text[128] = {};
        SendDlgItemMessageW(page, IDC_ADAPTER_LIST, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
        return text;
    }

    static LRESULT ItemData(HWND page, int item)
    {
        return SendDlgItemMessageW(page, IDC_ADAPTER_LIST, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    }
    static LRESULT Count(HWND page) { return SendDlgItemMessageW(page, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0); }
    static LRESULT Selected(HWND page) { return SendDlgItemMessageW(page, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0); }
    static bool SettingsButtonEnabled(HWND page) { return IsWindowEnabled(GetDlgItem(page, IDC_ADAPTER_SETTINGS)) != FALSE; }

    void Choose(HWND page, int item) { m_screen.Driver().ChooseItem(GetDlgItem(page, IDC_ADAPTER_LIST), item); }

    TodayScreen m_screen;
    std::vector<std::wstring> m_started;
};

} // namespace

TEST(ControlPanel, CommandLineWithAndWithoutTab)
{
    EXPECT_EQ(ControlPanelCommandLine(kAdapterSettingsApplet), L"cplmain.cpl,17,1");
    EXPECT_EQ(ControlPanelCommandLine({ 1, 22, 3 }), L"cplmain.cpl,22,3");
    // Without the flag the tab is not meaningful, whatever it holds.
    EXPECT_EQ(ControlPanelCommandLine({ 0, 17, 4 }), L"cplmain.cpl,17");
}

TEST_F(AdapterPageTest, ListsEveryAdapterThenTheAutomaticItemAndSelectsTheTrackedOne)
{
    NameThreeAdapters();
    Load();
    Stored().InterfaceIndex = 1;
    Stored().InterfaceString = L"WLAN1";
    int wireless = Position(L"WLAN1");
    OnAdapterPage([&](HWND page) {
        ASSERT_EQ(Count(page), 4);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ItemText(page, i), Stored().AdapterNames()[static_cast<size_t>(i)].displayName);
            EXPECT_EQ(ItemData(page, i), i);
        }
        EXPECT_EQ(ItemText(page, 3), L"Auto-Configure Adapter");
        EXPECT_EQ(ItemData(page, 3), 98);
        EXPECT_EQ(Selected(page), wireless);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"00-11-22-A3-B4-C5");
        EXPECT_TRUE(SettingsButtonEnabled(page));
    });
}

TEST_F(AdapterPageTest, TheKeyNameMatchesOnlyInItsExactCase)
{
    NameThreeAdapters();
    Load();
    Stored().InterfaceIndex = 1;
    Stored().InterfaceString = L"wlan1";
    OnAdapterPage([&](HWND page) {
        EXPECT_EQ(Selected(page), CB_ERR);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"");
    });
    // Nothing chosen: OK leaves the tracked adapter as it was.
    EXPECT_EQ(Stored().InterfaceIndex, 1u);
    EXPECT_EQ(Stored().InterfaceString, L"wlan1");
}

TEST_F(AdapterPageTest, WithoutNamedAdaptersOnlyTheAutomaticItemIsOffered)
{
    Load();
    OnAdapterPage([&](HWND page) {
        ASSERT_EQ(Count(page), 1);
        EXPECT_EQ(ItemData(page, 0), 98);
        EXPECT_EQ(Selected(page), 0);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"");
    });
    EXPECT_EQ(Stored().InterfaceIndex, 98u);
}

TEST_F(AdapterPageTest, WithPhoneEditionTheAutomaticItemSaysSo)
{
    m_screen.Modem().SetTelephony(true);
    Load();
    ASSERT_EQ(g_pModule->m_phone.PhoneEditionEnabled(), 1u);
    OnAdapterPage([&](HWND page) {
        ASSERT_EQ(Count(page), 1);
        EXPECT_EQ(ItemText(page, 0), L"Auto-Config: Phone Edition");
        EXPECT_EQ(ItemData(page, 0), 98);
    });
}

TEST_F(AdapterPageTest, TheAddressAndSettingsButtonFollowTheChoice)
{
    NameThreeAdapters();
    Load();
    int lan = Position(L"NE20001");
    int cable = Position(L"ppp1");
    OnAdapterPage([&](HWND page) {
        EXPECT_EQ(Selected(page), 3);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"");
        Choose(page, lan);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"00-0A-1B-2C-3D-4E");
        EXPECT_TRUE(SettingsButtonEnabled(page));
        // The cable has no interface here: no address, and no settings of its own.
        Choose(page, cable);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"");
        EXPECT_FALSE(SettingsButtonEnabled(page));
        Choose(page, lan);
        EXPECT_TRUE(SettingsButtonEnabled(page));
        Choose(page, 3);
        EXPECT_EQ(Text(page, IDC_ADAPTER_MAC), L"");
        EXPECT_FALSE(SettingsButtonEnabled(page));
    });
}

TEST_F(AdapterPageTest, OkStoresTheChoiceEachWayAndTheFrameSavesIt)
{
    NameThreeAdapters();
    Load();
    int wireless = Position(L"WLAN1");
    OnAdapterPage([&](HWND page) { Choose(page, wireless); });
    EXPECT_EQ(Stored().InterfaceString, L"WLAN1");
    EXPECT_EQ(Stored().InterfaceIndex, static_cast<DWORD>(wireless));
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"InterfaceString"), L"WLAN1");
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"InterfaceIndex"), static_cast<DWORD>(wireless));

    OnAdapterPage([&](HWND page) {
        EXPECT_EQ(Selected(page), wireless);
        Choose(page, 3);
    });
    EXPECT_EQ(Stored().InterfaceString, L"");
    EXPECT_EQ(Stored().InterfaceIndex, 98u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"InterfaceIndex"), 98u);
}

TEST_F(AdapterPageTest, TheSettingsButtonOpensTheAdapterApplet)
{
    NameThreeAdapters();
    Load();
    Stored().InterfaceIndex = 0;
    Stored().InterfaceString = L"NE20001";
    OnAdapterPage([&](HWND page) { m_screen.Driver().Click(GetDlgItem(page, IDC_ADAPTER_SETTINGS)); });
    EXPECT_EQ(m_started, (std::vector<std::wstring> { L"\\Windows\\ctlpnl.exe cplmain.cpl,17,1" }));
}

TEST_F(AdapterPageTest, APageMadeAgainAfterARestoreShowsTheRestoredChoice)
{
    NameThreeAdapters();
    Load();
    int lan = Position(L"NE20001");
    OnAdapterPage([&](HWND page) {
        EXPECT_EQ(Selected(page), 3);
        Stored().InterfaceIndex = static_cast<DWORD>(lan);
        Stored().InterfaceString = L"NE20001";
        ReloadOptionsPages(g_pModule->m_options.pages[6]);
        HWND remade = g_pModule->m_options.pages[kAdapterTab];
        ASSERT_NE(remade, page);
        EXPECT_FALSE(IsWindow(page));
        EXPECT_EQ(Selected(remade), lan);
        EXPECT_EQ(Text(remade, IDC_ADAPTER_MAC), L"00-0A-1B-2C-3D-4E");
    });
    EXPECT_EQ(Stored().InterfaceString, L"NE20001");
}
