// Taps on the item: each slot of the icon row opens its dialog by template, the view switch
// and the pin, the status text and the activity icon; and where those icons are drawn.
#include <gtest/gtest.h>

#include "ItemTestSupport.h"
#include "item/ItemDialogs.h"
#include "item/PluginModule.h"
#include "platform/core/LastError.h"
#include "platform/ui/Resources.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

class ItemTapTest : public ::testing::Test {
protected:
    explicit ItemTapTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga())
        : m_screen(device)
    {
    }

    void Start(DWORD fullView)
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        Settings().SetFullView(fullView);
        ASSERT_NE(m_screen.CreateItem(), nullptr);
    }

    ::Settings& Settings() { return g_pModule->m_settings; }

    // Taps and returns the template ids of the dialogs that opened, in order. No handler
    // waits for them: the driver ends each at once and notes it, and the notes say which.
    std::vector<int> TapAndSeeDialogs(int x, int y)
    {
        size_t before = m_screen.Driver().Faults().size();
        m_screen.Driver().Tap(m_screen.Item(), x, y);
        std::vector<int> opened;
        const std::vector<std::wstring>& faults = m_screen.Driver().Faults();
        for (size_t i = before; i < faults.size(); ++i) {
            size_t at = faults[i].find(L"dialog ");
            opened.push_back(at == std::wstring::npos ? -1 : std::stoi(faults[i].substr(at + 7)));
        }
        return opened;
    }

    TodayScreen m_screen;
};

class LargeScreenTapTest : public ItemTapTest {
protected:
    LargeScreenTapTest()
        : ItemTapTest(platform::DeviceProfile::Vga())
    {
    }
};

using Opened = std::vector<int>;

// The row starts at 240 - 3 x 18 = 186 with all three icons; a slot is 17 pixels wide.
constexpr int kRowLeft = 186;

} // namespace

TEST_F(ItemTapTest, EachSlotOfTheIconRowOpensItsDialog)
{
    Start(0);
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 1, 5), Opened { IDD_METER_READING });
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 18, 5), Opened { IDD_DHCP });
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 40, 5), Opened { IDD_OPTIONS });
    // 52 pixels in is slot 3: no icon there.
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 52, 5), Opened {});
    // Below the row.
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 1, 17), Opened {});
}

TEST_F(ItemTapTest, TheOptionsIconOpensTheOptionsFrameOwnedByTheItem)
{
    Start(0);
    bool seen = false;
    m_screen.Driver().OnModal(IDD_OPTIONS, [&](const platform::VirtualDriver::ModalInfo& info) {
        seen = true;
        EXPECT_FALSE(IsWindowEnabled(m_screen.Today()));
        EXPECT_EQ(GetWindow(info.window, GW_OWNER), m_screen.Today());
        SendMessageW(info.window, WM_COMMAND, IDOK, 0);
    });
    m_screen.Driver().Tap(m_screen.Item(), kRowLeft + 40, 5);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(m_screen.Driver().Faults().empty());
}

TEST_F(ItemTapTest, SlotsCountOnlyTheEnabledIcons)
{
    Start(0);
    Settings().MeterIconEnabled = 0;
    // The row is now two icons wide, from 204.
    EXPECT_EQ(TapAndSeeDialogs(204 + 10, 5), Opened { IDD_DHCP });
    EXPECT_EQ(TapAndSeeDialogs(204 + 20, 5), Opened { IDD_OPTIONS });
    EXPECT_EQ(TapAndSeeDialogs(190, 5), Opened {});
}

TEST_F(ItemTapTest, ADialogWhoseTemplateIsMissingDoesNotOpen)
{
    Start(0);
    SetLastError(0);
    EXPECT_EQ(OpenItemDialog(999, m_screen.Item()), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    // The meter reading, the DHCP dialog, the options frame and the rate monitor are the
    // module's own and open.
    EXPECT_EQ(TapAndSeeDialogs(3, 3), Opened { IDD_RATE_MONITOR });
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 1, 5), Opened { IDD_METER_READING });
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 18, 5), Opened { IDD_DHCP });
    EXPECT_EQ(TapAndSeeDialogs(kRowLeft + 40, 5), Opened { IDD_OPTIONS });
}

TEST_F(ItemTapTest, TheActivityIconOpensTheDataRateMonitor)
{
    Start(0);
    EXPECT_EQ(TapAndSeeDialogs(3, 3), Opened { IDD_RATE_MONITOR });
    EXPECT_EQ(TapAndSeeDialogs(19, 3), Opened {});
}

TEST_F(ItemTapTest, TheViewSwitchTurnsFullViewOnAndOff)
{
    Start(0);
    Settings().ViewSelectEnabled = 1;
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    m_screen.Driver().Pump();
    // Under the last slot of the row, one icon down (one pixel up in compact view with the
    // small font only).
    std::optional<platform::PaintedIcon> view = item_test::FindIcon(m_screen.LastItemPaint(), IDI_SMALL_VIEW_COMPACT);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->x, 240 - 18);
    EXPECT_EQ(view->y, 16 + 2);

    // The region: x from 240 - 2 - 16, y from 16 to 32; the item is only 26 high.
    m_screen.Driver().Tap(m_screen.Item(), 230, 20);
    EXPECT_EQ(Settings().FullViewEnabled, 1u);
    EXPECT_EQ(m_screen.Refresh(), 1);
    EXPECT_EQ(m_screen.Record().cyp, 91u);
    m_screen.Driver().Pump();
    EXPECT_TRUE(item_test::HasIcon(m_screen.LastItemPaint(), IDI_SMALL_VIEW_FULL));
    EXPECT_EQ(m_screen.LastItemTexts().size(), 7u);

    m_screen.Driver().Tap(m_screen.Item(), 230, 20);
    EXPECT_EQ(Settings().FullViewEnabled, 0u);
    EXPECT_EQ(m_screen.Refresh(), 1);
    EXPECT_EQ(m_screen.Record().cyp, 26u);
}

TEST_F(ItemTapTest, WithoutAConnectionTheViewSwitchIsNeitherShownNorTapped)
{
    m_screen.AddLoopbackAndLan();
    m_screen.Network().RemoveInterface(L"NE20001");
    m_screen.LoadModule();
    Settings().ViewSelectEnabled = 1;
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    m_screen.AdvanceSeconds(1);
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    m_screen.Driver().Pump();
    EXPECT_FALSE(item_test::HasIcon(m_screen.LastItemPaint(), IDI_SMALL_VIEW_COMPACT));
    m_screen.Driver().Tap(m_screen.Item(), 230, 20);
    EXPECT_EQ(Settings().FullViewEnabled, 0u);
}

TEST_F(ItemTapTest, ThePinHoldsTheLineThatIsShowing)
{
    Start(0);
    Settings().PinEnabled = 1;
    Settings().ScrollRate = 9; // a new line every tick while the pin is up
    m_screen.AdvanceSeconds(5);
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    m_screen.Driver().Pump();
    std::vector<std::wstring> before = m_screen.LastItemTexts();
    ASSERT_EQ(before.size(), 1u);
    std::optional<platform::PaintedIcon> released = item_test::FindIcon(m_screen.LastItemPaint(), IDI_SMALL_PIN_RELEASED);
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->x, 18 + 2);
    EXPECT_EQ(released->y, 3);

    // The pin: x from 18 + 2 to 28, y from 3 to 11.
    m_screen.Driver().Tap(m_screen.Item(), 22, 5);
    EXPECT_TRUE(Settings().PinPressed());
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    m_screen.Driver().Pump();
    EXPECT_TRUE(item_test::HasIcon(m_screen.LastItemPaint(), IDI_SMALL_PIN_PRESSED));
    m_screen.AdvanceSeconds(4);
    EXPECT_EQ(m_screen.LastItemTexts(), before);

    m_screen.Driver().Tap(m_screen.Item(), 22, 5);
    EXPECT_FALSE(Settings().PinPressed());
    // The cursor still points at the held line: the first paint after shows it once more.
    m_screen.AdvanceSeconds(2);
    EXPECT_EQ(m_screen.LastItemTexts(), std::vector<std::wstring> { L"Gateway: 192.168.1.1" });
}

TEST_F(ItemTapTest, ATapOnTheTextShowsTheNextLineAtOnceInCompactViewOnly)
{
    Start(0);
    EXPECT_EQ(m_screen.LastItemTexts(), std::vector<std::wstring> { L"NE20001*" });
    m_screen.Driver().Tap(m_screen.Item(), 100, 10);
    EXPECT_EQ(m_screen.LastItemTexts(), std::vector<std::wstring> { L"IP Address: 192.168.1.10" });

    Settings().SetFullView(1);
    m_screen.Refresh();
    m_screen.Driver().Pump();
    item_test::PaintLog log(m_screen.Item());
    m_screen.Driver().Tap(m_screen.Item(), 100, 10);
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(LargeScreenTapTest, OnLargeScreensTheViewSwitchSitsBesideTheActivityIcon)
{
    Start(0);
    Settings().ViewSelectEnabled = 1;
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    m_screen.Driver().Pump();
    // cx 32, gap 4, ex 2: x = 38; pin height 16 centred in the 2 x 25 pixel item.
    std::optional<platform::PaintedIcon> view = item_test::FindIcon(m_screen.LastItemPaint(), IDI_LARGE_VIEW_COMPACT);
    ASSERT_TRUE(view.has_value());
    EXPECT_EQ(view->x, 38);
    RECT client {};
    GetClientRect(m_screen.Item(), &client);
    EXPECT_EQ(view->y, client.bottom / 2 - 8);
    m_screen.Driver().Tap(m_screen.Item(), 40, view->y + 2);
    EXPECT_EQ(Settings().FullViewEnabled, 1u);
}
