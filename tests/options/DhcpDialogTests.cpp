// The DHCP dialog: the adapter and lease state it shows for automatic and manual tracking,
// release and renew a moment after the press with the wait cursor meanwhile, their failures,
// and where it sits on the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "options/DhcpDialog.h"
#include "platform/net/sim/SimNetwork.h"
#include "platform/ui/Observe.h"
#include "resources/ResourceIds.h"
#include "support/RegistryTestSupport.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

// 8 March 2006 14:05:09 UTC: a day after the screen's clock.
constexpr int64_t kExpires = 1141826709;

class DhcpDialogTest : public ::testing::Test {
protected:
    DhcpDialogTest()
    {
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"ImagePath", L"ne2000.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE20001", L"DisplayName", L"NE2000 Ethernet Driver");
        m_screen.AddLoopbackAndLan();
    }

    void Lease() { Network().SetLease(L"NE20001", platform::NetLease { true, 0xC0A80101u, kExpires - 86400, kExpires }); }

    void Load()
    {
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    platform::SimNetwork& Network() { return m_screen.Network(); }

    // Opens the dialog as the item's DHCP icon does and hands it to the action; OK closes it.
    INT_PTR WithDialog(const std::function<void(HWND)>& action)
    {
        m_screen.Driver().OnModal(IDD_DHCP, [&](const platform::VirtualDriver::ModalInfo& info) {
            action(info.window);
            m_screen.Driver().ClickItem(info.window, IDOK);
        });
        return OpenItemDialog(IDD_DHCP, m_screen.Item());
    }

    static std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[128] = {};
        GetDlgItemTextW(dialog, id, text, 128);
        return text;
    }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    static bool LeaseButtonsEnabled(HWND dialog) { return Enabled(dialog, IDC_DHCP_RENEW) && Enabled(dialog, IDC_DHCP_RELEASE); }
    static bool LeaseButtonsDisabled(HWND dialog) { return !Enabled(dialog, IDC_DHCP_RENEW) && !Enabled(dialog, IDC_DHCP_RELEASE); }

    void Click(HWND dialog, int id) { m_screen.Driver().ClickItem(dialog, id); }

    TodayScreen m_screen;
};

} // namespace

TEST_F(DhcpDialogTest, ALeasedAdapterShowsItsNameAndExpiry)
{
    Lease();
    Load();
    EXPECT_EQ(WithDialog([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DHCP_ADAPTER), L"NE2000 Ethernet Driver");
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Expires 3/8/06 14:05:09");
        EXPECT_TRUE(LeaseButtonsEnabled(dialog));
    }), 1);
    EXPECT_TRUE(m_screen.Driver().Faults().empty());
}

TEST_F(DhcpDialogTest, WithoutDhcpOrWithoutAnAdapterNothingCanBeChanged)
{
    Load();
    WithDialog([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DHCP_ADAPTER), L"NE2000 Ethernet Driver");
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"DHCP not enabled");
        EXPECT_TRUE(LeaseButtonsDisabled(dialog));
    });

    // Automatic tracking without a default route.
    Network().RemoveRoute(L"NE20001", 0, 0);
    WithDialog([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DHCP_ADAPTER), L"Autoconfig Adapter");
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"No adapter connected");
        EXPECT_TRUE(LeaseButtonsDisabled(dialog));
    });

    // A chosen adapter that is not there keeps its name, marked as not found.
    g_pModule->m_settings.InterfaceIndex = 3;
    g_pModule->m_settings.InterfaceString = L"WLAN1";
    WithDialog([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DHCP_ADAPTER), L"WLAN1*");
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Adapter disconnected");
        EXPECT_TRUE(LeaseButtonsDisabled(dialog));
    });
}

TEST_F(DhcpDialogTest, AChosenAdapterIsFollowedEvenWhenTheDefaultRouteIsElsewhere)
{
    Lease();
    platform::SimInterfaceSetup wireless;
    wireless.name = L"WLAN1";
    Network().AddInterface(wireless);
    Load();
    g_pModule->m_settings.InterfaceIndex = 0;
    g_pModule->m_settings.InterfaceString = L"NE20001";
    Network().RemoveRoute(L"NE20001", 0, 0);
    Network().AddRoute(L"WLAN1", 0, 0, 0x0A000001u);
    WithDialog([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_DHCP_ADAPTER), L"NE2000 Ethernet Driver");
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Expires 3/8/06 14:05:09");
        Click(dialog, IDC_DHCP_RELEASE);
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"IP address released.");
    });
    EXPECT_EQ(Network().ReleaseCount(), 1);
}

TEST_F(DhcpDialogTest, ReleaseThenRenewShowTheirProgressAndTheNewAddress)
{
    Lease();
    Load();
    WithDialog([&](HWND dialog) {
        Click(dialog, IDC_DHCP_RELEASE);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Releasing address...");
        EXPECT_TRUE(LeaseButtonsDisabled(dialog));
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs - 1);
        EXPECT_EQ(Network().ReleaseCount(), 0);
        m_screen.Driver().AdvanceMs(1);
        EXPECT_EQ(Network().ReleaseCount(), 1);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"IP address released.");
        EXPECT_TRUE(LeaseButtonsEnabled(dialog));
        std::wstring address;
        g_pModule->m_netStatusInfo.GetAdapterCurrentIpAddress(2, address);
        EXPECT_EQ(address, L"");

        // The address the renewal brings back is read from a fresh snapshot.
        Click(dialog, IDC_DHCP_RENEW);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Renewing lease...");
        EXPECT_TRUE(LeaseButtonsDisabled(dialog));
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs);
        EXPECT_EQ(Network().RenewCount(), 1);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"192.168.1.10 renewed");
        EXPECT_TRUE(LeaseButtonsEnabled(dialog));

        // Each timer fired once.
        m_screen.Driver().AdvanceMs(5 * kDhcpActionDelayMs);
        EXPECT_EQ(Network().ReleaseCount(), 1);
        EXPECT_EQ(Network().RenewCount(), 1);
    });
    // The wait cursor while each call ran, and none after.
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    EXPECT_EQ(m_screen.Driver().CursorChanges(), (std::vector<HCURSOR> { wait, nullptr, wait, nullptr }));
}

TEST_F(DhcpDialogTest, FailuresAreShownAndTheAddressStays)
{
    Lease();
    Network().SetDhcpResults(L"NE20001", ERROR_GEN_FAILURE, ERROR_NOT_SUPPORTED);
    Load();
    WithDialog([&](HWND dialog) {
        Click(dialog, IDC_DHCP_RELEASE);
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Release failed.");
        EXPECT_TRUE(LeaseButtonsEnabled(dialog));
        Click(dialog, IDC_DHCP_RENEW);
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Lease renewal failed.");
        EXPECT_TRUE(LeaseButtonsEnabled(dialog));
    });
    std::wstring address;
    g_pModule->m_netStatusInfo.GetAdapterCurrentIpAddress(2, address);
    EXPECT_EQ(address, L"192.168.1.10");

    // The platform call itself failing reads the same.
    Network().SetDhcpResults(L"NE20001", NO_ERROR, NO_ERROR);
    Network().Fail(platform::NetCall::IpRenewAddress, ERROR_GEN_FAILURE);
    WithDialog([&](HWND dialog) {
        Click(dialog, IDC_DHCP_RENEW);
        m_screen.Driver().AdvanceMs(kDhcpActionDelayMs);
        EXPECT_EQ(Text(dialog, IDC_DHCP_STATUS), L"Lease renewal failed.");
    });
}

TEST_F(DhcpDialogTest, OpensCentredVerticallyAndCentresFullyWhenTheScreenTurns)
{
    Lease();
    Load();
    WithDialog([&](HWND dialog) {
        RECT window {};
        GetWindowRect(dialog, &window);
        int height = window.bottom - window.top;
        int width = window.right - window.left;
        EXPECT_EQ(window.top, GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2);
        SetWindowPos(dialog, nullptr, 3, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(dialog, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
        GetWindowRect(dialog, &window);
        EXPECT_EQ(window.left, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2);
        EXPECT_EQ(window.right - window.left, width);
        EXPECT_EQ(window.bottom - window.top, height);
    });
}
