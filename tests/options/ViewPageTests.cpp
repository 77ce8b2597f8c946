// The options dialog's View page and its view options: the lines' order and check boxes, the
// view mode, what OK commits, and every rule of the view options' fields and choices.
#include <gtest/gtest.h>

#include <vector>

#include "item/PluginModule.h"
#include "options/ViewPage.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

struct Line {
    DWORD id;
    bool checked;
    bool operator==(const Line&) const = default;
};

class ViewPageTest : public ::testing::Test {
protected:
    explicit ViewPageTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga()) : m_screen(device)
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    Settings& TheSettings() { return g_pModule->m_settings; }

    // Opens the options dialog (its View page is in front) and hands the page to the action;
    // then the frame's OK.
    void OnViewPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            HWND page = g_pModule->m_options.pages[0];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    std::vector<Line> Lines(HWND page)
    {
        HWND list = GetDlgItem(page, IDC_VIEW_LIST);
        std::vector<Line> lines;
        auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row) {
            LVITEMW item {};
            item.mask = LVIF_PARAM;
            item.iItem = row;
            SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
            lines.push_back({ static_cast<DWORD>(item.lParam), state == INDEXTOSTATEIMAGEMASK(2) });
        }
        return lines;
    }

    int Row(HWND page, DWORD id)
    {
        std::vector<Line> lines = Lines(page);
        for (size_t row = 0; row < lines.size(); ++row)
            if (lines[row].id == id)
                return static_cast<int>(row);
        return -1;
    }

    void Select(HWND page, DWORD id) { m_screen.Driver().ChooseItem(GetDlgItem(page, IDC_VIEW_LIST), Row(page, id)); }
    void Click(HWND dialog, int id) { m_screen.Driver().ClickItem(dialog, id); }
    bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

    // The stored order: the ids by position.
    std::vector<DWORD> StoredOrder()
    {
        std::vector<DWORD> order(kViewItemCount);
        for (DWORD i = 0; i < kViewItemCount; ++i)
            order[TheSettings().ViewItemAt(i).position] = TheSettings().ViewItemAt(i).id;
        return order;
    }

    bool StoredVisible(DWORD id)
    {
        for (DWORD i = 0; i < kViewItemCount; ++i)
            if (TheSettings().ViewItemAt(i).id == id)
                return TheSettings().ViewItemAt(i).visible != 0;
        return false;
    }

    TodayScreen m_screen;
};

const std::vector<DWORD> kDefaultOrder = { ViewAdapterName, ViewIpAddress, ViewSubnetMask, ViewDefaultGateway, ViewDhcpStatus,
    ViewMeterReading, ViewDnsServer, ViewWinsServer, ViewTimeConnected, ViewDataRate };

} // namespace

TEST_F(ViewPageTest, ShowsTheStoredOrderAndCommitsMovesChecksAndTheViewOnOk)
{
    ASSERT_EQ(StoredOrder(), kDefaultOrder);
    TheSettings().SetViewItem(ViewWinsServer, 0, 7);
    TheSettings().SetViewItem(ViewDataRate, 0, 9);
    TheSettings().FullViewEnabled = 1;
    m_screen.Refresh();
    g_pModule->m_item.remeasure = false;

    OnViewPage([&](HWND page) {
        std::vector<Line> lines = Lines(page);
        ASSERT_EQ(lines.size(), kViewItemCount);
        for (size_t row = 0; row < lines.size(); ++row) {
            EXPECT_EQ(lines[row].id, kDefaultOrder[row]);
            EXPECT_EQ(lines[row].checked, StoredVisible(lines[row].id)) << row;
        }
        EXPECT_TRUE(Checked(page, IDC_VIEW_FULL));
        EXPECT_FALSE(Checked(page, IDC_VIEW_COMPACT));

        // The data rate from the bottom to the top: nine presses, the last one at the top does
        // nothing; the unchecked WINS line travels with its box.
        Select(page, ViewDataRate);
        for (int press = 0; press < 10; ++press)
            Click(page, IDC_VIEW_UP);
        EXPECT_EQ(Row(page, ViewDataRate), 0);
        Select(page, ViewWinsServer);
        Click(page, IDC_VIEW_DOWN);
        Click(page, IDC_VIEW_DOWN);
        EXPECT_EQ(Row(page, ViewWinsServer), 9);
        EXPECT_FALSE(Lines(page)[9].checked);
        EXPECT_TRUE(Lines(page)[7].checked);
        Click(page, IDC_VIEW_DOWN); // at the bottom already
        EXPECT_EQ(Row(page, ViewWinsServer), 9);
        // The highlight is on the line that moved.
        EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_VIEW_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 9);

        m_screen.Driver().ToggleCheck(GetDlgItem(page, IDC_VIEW_LIST), Row(page, ViewMeterReading));
        m_screen.Driver().ToggleCheck(GetDlgItem(page, IDC_VIEW_LIST), Row(page, ViewDataRate));
        Click(page, IDC_VIEW_COMPACT);
        EXPECT_EQ(TheSettings().FullViewEnabled, 1u) << "nothing is committed before OK";
    });

    std::vector<DWORD> expected = { ViewDataRate, ViewAdapterName, ViewIpAddress, ViewSubnetMask, ViewDefaultGateway,
        ViewDhcpStatus, ViewMeterReading, ViewDnsServer, ViewTimeConnected, ViewWinsServer };
    EXPECT_EQ(StoredOrder(), expected);
    EXPECT_FALSE(StoredVisible(ViewMeterReading));
    EXPECT_FALSE(StoredVisible(ViewWinsServer));
    EXPECT_TRUE(StoredVisible(ViewDataRate));
    EXPECT_EQ(TheSettings().FullViewEnabled, 0u);
    EXPECT_TRUE(g_pModule->m_item.remeasure);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"FullViewEnabled"), 0u);
}

TEST_F(ViewPageTest, MovesNeedASelectionAndRevertGoesBackToTheStoredState)
{
    TheSettings().FullViewEnabled = 0;
    TheSettings().SetViewItem(ViewAdapterName, 1, 0);
    OnViewPage([&](HWND page) {
        std::vector<Line> stored = Lines(page);
        Click(page, IDC_VIEW_UP);
        Click(page, IDC_VIEW_DOWN);
        EXPECT_EQ(Lines(page)[0].id, kDefaultOrder[0]);

        Select(page, ViewAdapterName);
        Click(page, IDC_VIEW_UP); // the top line does not go further up
        EXPECT_EQ(Row(page, ViewAdapterName), 0);
        Click(page, IDC_VIEW_DOWN);
        Click(page, IDC_VIEW_DOWN);
        Click(page, IDC_VIEW_DOWN);
        m_screen.Driver().ToggleCheck(GetDlgItem(page, IDC_VIEW_LIST), 0);
        Click(page, IDC_VIEW_FULL);
        ASSERT_EQ(Row(page, ViewAdapterName), 3);

        Click(page, IDC_VIEW_REVERT);
        EXPECT_EQ(Lines(page), stored);
        EXPECT_TRUE(Checked(page, IDC_VIEW_COMPACT));
        EXPECT_FALSE(Checked(page, IDC_VIEW_FULL));
    });
    EXPECT_EQ(StoredOrder(), kDefaultOrder);
}

TEST_F(ViewPageTest, TheListReachesDownToThePagesBottom)
{
    OnViewPage([&](HWND page) {
        RECT pageRect {};
        RECT listRect {};
        GetWindowRect(page, &pageRect);
        GetWindowRect(GetDlgItem(page, IDC_VIEW_LIST), &listRect);
        RECT client {};
        GetClientRect(page, &client);
        EXPECT_EQ(listRect.bottom - listRect.top, client.bottom - pageRect.top);
        EXPECT_LT(listRect.bottom, pageRect.bottom);
    });
}

// ---- The view options ----

namespace {

class ViewOptionsTest : public ViewPageTest {
protected:
    explicit ViewOptionsTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga()) : ViewPageTest(device) { }

    // Opens the view options from the View page's button; the action ends the dialog.
    void OnViewOptions(const std::function<void(HWND)>& action)
    {
        OnViewPage([&](HWND page) {
            bool opened = false;
            m_screen.Driver().OnModal(IDD_VIEW_OPTIONS, [&](const platform::VirtualDriver::ModalInfo& info) {
                opened = true;
                action(info.window);
            });
            Click(page, IDC_VIEW_MORE);
            EXPECT_TRUE(opened);
        });
    }

    std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, id, text, 64);
        return text;
    }

    void Type(HWND dialog, int id, const wchar_t* text) { m_screen.Driver().TypeText(GetDlgItem(dialog, id), text); }
    void Spin(HWND dialog, int id, int steps) { m_screen.Driver().Spin(GetDlgItem(dialog, id), steps); }
    bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
};

class WideViewOptionsTest : public ViewOptionsTest {
protected:
    WideViewOptionsTest() : ViewOptionsTest(platform::DeviceProfile::Vga()) { }
};

} // namespace

TEST_F(ViewOptionsTest, ShowsTheSettingsAndOkStoresEveryFieldHeldWithinItsBounds)
{
    Settings& settings = TheSettings();
    settings.MeterIconEnabled = 0;
    settings.DHCPIconEnabled = 1;
    settings.OptionsIconEnabled = 0;
    settings.BoldTextEnabled = 1;
    settings.ScrollRate = 7;
    settings.TaskbarIconEnabled = 1;
    settings.TaskbarIconUp = 0;
    settings.TaskbarIconPlacement = 131;
    settings.MeterShowsTotal = 0;
    settings.FontSize = kFontSizeSmall;

    OnViewOptions([&](HWND dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_METER_ICON));
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_DHCP_ICON));
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_OPTIONS_ICON));
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_BOLD));
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_SCROLL_RATE), L"7");
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_PLACEMENT), L"131");
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_NOTIFY_ICON));
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_TOP_ICON));
        EXPECT_FALSE(Enabled(dialog, IDC_VIEWOPT_PLACEMENT));
        EXPECT_FALSE(Enabled(dialog, IDC_VIEWOPT_PLACEMENT_SPIN));
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_METER_BOTH));
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_VIEWOPT_FONT_SIZE, CB_GETCURSEL, 0, 0), 2);

        Click(dialog, IDC_VIEWOPT_TOP_ICON);
        EXPECT_TRUE(Enabled(dialog, IDC_VIEWOPT_PLACEMENT));
        EXPECT_TRUE(Enabled(dialog, IDC_VIEWOPT_PLACEMENT_SPIN));
        Click(dialog, IDC_VIEWOPT_NO_ICON);
        EXPECT_FALSE(Enabled(dialog, IDC_VIEWOPT_PLACEMENT));
        Click(dialog, IDC_VIEWOPT_TOP_ICON);

        Click(dialog, IDC_VIEWOPT_METER_ICON);
        Click(dialog, IDC_VIEWOPT_BOLD);
        Click(dialog, IDC_VIEWOPT_METER_TOTAL);
        Type(dialog, IDC_VIEWOPT_SCROLL_RATE, L"25");
        Type(dialog, IDC_VIEWOPT_PLACEMENT, L"500");
        m_screen.Driver().ChooseItem(GetDlgItem(dialog, IDC_VIEWOPT_FONT_SIZE), 1);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.MeterIconEnabled, 1u);
    EXPECT_EQ(settings.DHCPIconEnabled, 1u);
    EXPECT_EQ(settings.OptionsIconEnabled, 0u);
    EXPECT_EQ(settings.BoldTextEnabled, 0u);
    EXPECT_EQ(settings.ScrollRate, 9u);
    EXPECT_EQ(settings.TaskbarIconEnabled, 1u);
    EXPECT_EQ(settings.TaskbarIconUp, 1u);
    EXPECT_EQ(settings.TaskbarIconPlacement, 222u);
    EXPECT_EQ(settings.MeterShowsTotal, 1u);
    EXPECT_EQ(settings.FontSize, kFontSizeLarge);
    // The frame's OK took them to the registry.
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"TaskbarIconPlacement"), 222u);
}

TEST_F(ViewOptionsTest, EmptyOrZeroNumbersStoreTheLowerBoundAndNoIconKeepsThePlace)
{
    Settings& settings = TheSettings();
    settings.TaskbarIconEnabled = 1;
    settings.TaskbarIconUp = 0;
    settings.FontSize = 407;
    OnViewOptions([&](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_VIEWOPT_FONT_SIZE, CB_GETCURSEL, 0, 0), CB_ERR);
        Click(dialog, IDC_VIEWOPT_NO_ICON);
        Type(dialog, IDC_VIEWOPT_SCROLL_RATE, L"0");
        SetDlgItemTextW(dialog, IDC_VIEWOPT_PLACEMENT, L"");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.ScrollRate, 1u);
    EXPECT_EQ(settings.TaskbarIconPlacement, 1u);
    EXPECT_EQ(settings.TaskbarIconEnabled, 0u);
    EXPECT_EQ(settings.TaskbarIconUp, 0u);
    EXPECT_EQ(settings.FontSize, 407u) << "no size chosen keeps the stored one";
}

TEST_F(ViewOptionsTest, SpinsStepTheirFieldsAndStopAtTheBounds)
{
    TheSettings().ScrollRate = 2;
    TheSettings().TaskbarIconEnabled = 1;
    TheSettings().TaskbarIconUp = 1;
    TheSettings().TaskbarIconPlacement = 220;
    OnViewOptions([&](HWND dialog) {
        Spin(dialog, IDC_VIEWOPT_SCROLL_RATE_SPIN, -1);
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_SCROLL_RATE), L"1");
        Spin(dialog, IDC_VIEWOPT_SCROLL_RATE_SPIN, -3);
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_SCROLL_RATE), L"1");
        Spin(dialog, IDC_VIEWOPT_SCROLL_RATE_SPIN, 11);
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_SCROLL_RATE), L"9");
        Spin(dialog, IDC_VIEWOPT_PLACEMENT_SPIN, 5);
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_PLACEMENT), L"222");
        Spin(dialog, IDC_VIEWOPT_PLACEMENT_SPIN, -4);
        EXPECT_EQ(Text(dialog, IDC_VIEWOPT_PLACEMENT), L"218");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(TheSettings().ScrollRate, 2u) << "cancel changes nothing";
    EXPECT_EQ(TheSettings().TaskbarIconPlacement, 220u);
}

TEST_F(ViewOptionsTest, OnANarrowScreenPinAndViewSwitchMayBothBeOn)
{
    TheSettings().PinEnabled = 0;
    TheSettings().ViewSelectEnabled = 1;
    OnViewOptions([&](HWND dialog) {
        Click(dialog, IDC_VIEWOPT_PIN);
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_PIN));
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_VIEW_SELECT));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(TheSettings().PinEnabled, 1u);
    EXPECT_EQ(TheSettings().ViewSelectEnabled, 1u);
}

TEST_F(WideViewOptionsTest, OnAWideScreenPinAndViewSwitchExcludeEachOther)
{
    TheSettings().PinEnabled = 0;
    TheSettings().ViewSelectEnabled = 1;
    OnViewOptions([&](HWND dialog) {
        Click(dialog, IDC_VIEWOPT_PIN);
        EXPECT_TRUE(Checked(dialog, IDC_VIEWOPT_PIN));
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_VIEW_SELECT));
        Click(dialog, IDC_VIEWOPT_VIEW_SELECT);
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_PIN));
        Click(dialog, IDC_VIEWOPT_VIEW_SELECT); // unchecking clears nothing
        EXPECT_FALSE(Checked(dialog, IDC_VIEWOPT_PIN));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(TheSettings().PinEnabled, 0u);
    EXPECT_EQ(TheSettings().ViewSelectEnabled, 0u);
}

TEST_F(ViewOptionsTest, MovingTheTopBarIconMakesItAgainAtItsNewPlace)
{
    TheSettings().TaskbarIconEnabled = 1;
    TheSettings().TaskbarIconUp = 1;
    TheSettings().TaskbarIconPlacement = 40;
    m_screen.MakeTaskbar();
    m_screen.AdvanceSeconds(2);
    HWND before = g_pModule->m_item.hwndTaskIcon;
    ASSERT_NE(before, nullptr);
    OnViewOptions([&](HWND dialog) {
        Type(dialog, IDC_VIEWOPT_PLACEMENT, L"90");
        Click(dialog, IDOK);
        EXPECT_FALSE(IsWindow(before));
        EXPECT_EQ(g_pModule->m_item.hwndTaskIcon, nullptr);
    });
    m_screen.AdvanceSeconds(2);
    HWND after = g_pModule->m_item.hwndTaskIcon;
    ASSERT_NE(after, nullptr);
    RECT place {};
    GetWindowRect(after, &place);
    EXPECT_EQ(place.left, 90);
}
