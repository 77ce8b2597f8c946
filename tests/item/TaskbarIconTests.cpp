// The activity icon in the taskbar (a window of our own in the top bar, or a notification-area
// icon) and the meter alert bubble.
#include <gtest/gtest.h>

#include "ItemTestSupport.h"
#include "item/MeterAlert.h"
#include "item/PluginModule.h"
#include "item/TaskbarIcon.h"
#include "platform/shell/ShellHost.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

// Counts what reaches the shell's host.
class ShellRecorder : public platform::ShellHost {
public:
    ShellRecorder() { platform::InstallShellHost(this); }
    ~ShellRecorder() override { platform::InstallShellHost(nullptr); }
    void NotifyIconChanged(DWORD message, const platform::NotifyIconRecord&) override { iconMessages.push_back(message); }
    void NotificationAdded(const platform::ShellNotification& notification) override { added.push_back(notification); }
    void NotificationRemoved(const platform::ShellNotification&) override {}

    std::vector<DWORD> iconMessages;
    std::vector<platform::ShellNotification> added;
};

class TaskbarIconTest : public ::testing::Test {
protected:
    void Start()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        ASSERT_NE(m_screen.CreateItem(), nullptr);
    }
    ::Settings& Settings() { return g_pModule->m_settings; }
    ItemState& State() { return g_pModule->m_item; }

    POINT PlaceInParent(HWND window)
    {
        RECT rect {};
        GetWindowRect(window, &rect);
        POINT topLeft { rect.left, rect.top };
        ScreenToClient(GetParent(window), &topLeft);
        return topLeft;
    }

    // The template ids of the dialogs that opened during the call (each ended at once).
    template <typename Action>
    std::vector<int> DialogsOpenedBy(Action action)
    {
        size_t before = m_screen.Driver().Faults().size();
        action();
        std::vector<int> opened;
        const std::vector<std::wstring>& faults = m_screen.Driver().Faults();
        for (size_t i = before; i < faults.size(); ++i)
            opened.push_back(std::stoi(faults[i].substr(faults[i].find(L"dialog ") + 7)));
        return opened;
    }

    TodayScreen m_screen;
    ShellRecorder m_shell;
};

constexpr COLORREF kTitleBarGrey = RGB(128, 128, 128);

} // namespace

TEST_F(TaskbarIconTest, TheTopBarIconSitsInTheTitleBarAtThePlacement)
{
    m_screen.MakeTaskbar();
    Start();
    Settings().TaskbarIconEnabled = 1;
    Settings().TaskbarIconUp = 1;
    Settings().TaskbarIconPlacement = 127;
    m_screen.AdvanceSeconds(1);
    HWND icon = State().hwndTaskIcon;
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(GetParent(icon), m_screen.TitleBar());
    WCHAR className[32] = {};
    GetClassNameW(icon, className, 32);
    EXPECT_STREQ(className, L"VelmoraTaskIcon");
    POINT place = PlaceInParent(icon);
    EXPECT_EQ(place.x, 127);
    EXPECT_EQ(place.y, 26 / 2 - 16 / 2);
    RECT client {};
    GetClientRect(icon, &client);
    EXPECT_EQ(client.right, 16);
    EXPECT_EQ(client.bottom, 16);

    // The idle icon over the title bar's own background.
    platform::PaintRecord paint = platform::LastPaint(icon);
    std::optional<platform::PaintedIcon> idle = item_test::FindIcon(paint, IDI_SMALL_IDLE);
    ASSERT_TRUE(idle.has_value());
    EXPECT_EQ(idle->x, 0);
    EXPECT_EQ(idle->y, 0);
    platform::Pixels pixels = platform::CaptureWindow(icon);
    EXPECT_EQ(pixels.At(0, 15), kTitleBarGrey);

    // A new placement moves it at the next tick; no second window is made.
    Settings().TaskbarIconPlacement = 100;
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(State().hwndTaskIcon, icon);
    EXPECT_EQ(PlaceInParent(icon).x, 100);
    EXPECT_TRUE(IsWindowVisible(icon));

    // It follows the activity.
    m_screen.Network().SetRates(L"NE20001", 500, std::nullopt);
    m_screen.AdvanceSeconds(1);
    EXPECT_TRUE(item_test::HasIcon(platform::LastPaint(icon), IDI_SMALL_RECEIVING));
    EXPECT_EQ(platform::CaptureWindow(icon).At(0, 15), kTitleBarGrey);
}

TEST_F(TaskbarIconTest, WithoutATaskbarTheWindowWaitsForOne)
{
    Start();
    Settings().TaskbarIconEnabled = 1;
    m_screen.AdvanceSeconds(2);
    EXPECT_EQ(State().hwndTaskIcon, nullptr);
    m_screen.MakeTaskbar();
    m_screen.AdvanceSeconds(1);
    ASSERT_NE(State().hwndTaskIcon, nullptr);
    EXPECT_EQ(GetParent(State().hwndTaskIcon), m_screen.TitleBar());
}

TEST_F(TaskbarIconTest, AnItemWithoutHeightTakesTheTopBarIconAway)
{
    m_screen.MakeTaskbar();
    Start();
    Settings().TaskbarIconEnabled = 1;
    m_screen.AdvanceSeconds(1);
    ASSERT_NE(State().hwndTaskIcon, nullptr);
    HWND icon = State().hwndTaskIcon;
    MoveWindow(m_screen.Item(), 0, TodayScreen::kItemTop, 240, 0, TRUE);
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(State().hwndTaskIcon, nullptr);
    EXPECT_FALSE(IsWindow(icon));
    EXPECT_EQ(State().hdcCapture, nullptr);
}

TEST_F(TaskbarIconTest, SwitchingToTheNotificationAreaFollowsTheActivity)
{
    m_screen.MakeTaskbar();
    Start();
    Settings().TaskbarIconEnabled = 1;
    m_screen.AdvanceSeconds(1);
    HWND topBar = State().hwndTaskIcon;
    ASSERT_NE(topBar, nullptr);

    Settings().TaskbarIconUp = 0;
    m_screen.AdvanceSeconds(1);
    EXPECT_FALSE(IsWindow(topBar));
    EXPECT_TRUE(State().notifyIconPresent);
    std::vector<platform::NotifyIconRecord> icons = platform::NotifyIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].window, m_screen.Item());
    EXPECT_EQ(icons[0].id, 4444u);
    EXPECT_EQ(icons[0].callbackMessage, 3468u);
    EXPECT_EQ(icons[0].icon, g_pModule->m_icons.ActivityIcon(ActivityIdle));
    EXPECT_TRUE(icons[0].tip.empty());

    m_screen.Network().SetRates(L"NE20001", 500, 500);
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(platform::NotifyIcons()[0].icon, g_pModule->m_icons.ActivityIcon(ActivityBoth));

    m_screen.Network().RemoveInterface(L"NE20001");
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(platform::NotifyIcons()[0].icon, g_pModule->m_icons.ActivityIcon(ActivityNoConnection));

    Settings().TaskbarIconEnabled = 0;
    m_screen.AdvanceSeconds(1);
    EXPECT_TRUE(platform::NotifyIcons().empty());
    EXPECT_FALSE(State().notifyIconPresent);
    EXPECT_EQ(m_shell.iconMessages.back(), NIM_DELETE);
}

TEST_F(TaskbarIconTest, TheNotificationIconComesBackWithANewItemWindow)
{
    Start();
    Settings().TaskbarIconEnabled = 1;
    Settings().TaskbarIconUp = 0;
    m_screen.AdvanceSeconds(1);
    ASSERT_EQ(platform::NotifyIcons().size(), 1u);
    DestroyWindow(m_screen.Item());
    EXPECT_TRUE(platform::NotifyIcons().empty());
    // Still marked present: the next item window adds it as it is made.
    EXPECT_TRUE(State().notifyIconPresent);
    HWND item = m_screen.CreateItem();
    ASSERT_EQ(platform::NotifyIcons().size(), 1u);
    EXPECT_EQ(platform::NotifyIcons()[0].window, item);
}

TEST_F(TaskbarIconTest, TapsOnEitherIconOpenTheDataRateMonitor)
{
    m_screen.MakeTaskbar();
    Start();
    Settings().TaskbarIconEnabled = 1;
    Settings().TaskbarIconUp = 0;
    m_screen.AdvanceSeconds(1);
    auto opened = DialogsOpenedBy([&] {
        // The shell reports the stylus going down on the icon.
        PostMessageW(m_screen.Item(), 3468, 4444, WM_LBUTTONDOWN);
        m_screen.Driver().Pump();
        PostMessageW(m_screen.Item(), 3468, 4444, WM_LBUTTONUP);
        PostMessageW(m_screen.Item(), 3468, 4445, WM_LBUTTONDOWN);
        m_screen.Driver().Pump();
    });
    EXPECT_EQ(opened, std::vector<int> { IDD_RATE_MONITOR });

    Settings().TaskbarIconUp = 1;
    m_screen.AdvanceSeconds(1);
    ASSERT_NE(State().hwndTaskIcon, nullptr);
    opened = DialogsOpenedBy([&] { m_screen.Driver().Tap(State().hwndTaskIcon, 5, 5); });
    EXPECT_EQ(opened, std::vector<int> { IDD_RATE_MONITOR });
}

TEST(MeterAlertHtml, NamesTheThresholdTheDirectionAndTheResetTime)
{
    const std::wstring ok = L" <p><p align=center><form method=\"POST\" action=><input type=button name='cmd:10' "
                            L"value='Ok'></p></body></html>";
    const std::wstring head = L"<html><body><font color=\"#FF0000\"><b>Alert: </b></font><p>";
    EXPECT_EQ(MeterAlertHtml(50, 203, 0, L"3/7/2006\n14:05:09"),
        head + L"50 MB has been transferred (both directions) since 3/7/2006\n14:05:09." + ok);
    EXPECT_EQ(MeterAlertHtml(1, 201, 1, L"T"),
        head + L"1 MB has been transmitted since T.<br>The meter has been reset. " + ok);
    EXPECT_EQ(MeterAlertHtml(7, 202, 0, L"T"), head + L"7 MB has been received since T." + ok);
}

TEST_F(TaskbarIconTest, PassingTheThresholdRaisesOneBubble)
{
    Start();
    Settings().MeterNotify = 1;
    Settings().MeterNotifyThreshold = 50;
    Settings().MeterNotifyType = 203;
    Settings().MeterNotifyReset = 0;
    // 52428800 bytes is the threshold; the meter counts the adapter's counters from its first tick.
    m_screen.Network().SetCounters(L"NE20001", 26214400, 26214400);
    m_screen.AdvanceSeconds(1);
    EXPECT_TRUE(m_shell.added.empty());
    m_screen.Network().SetCounters(L"NE20001", 26214400, 26214401);
    m_screen.AdvanceSeconds(1);
    ASSERT_EQ(m_shell.added.size(), 1u);
    const platform::ShellNotification& bubble = m_shell.added[0];
    EXPECT_EQ(bubble.id, 4711u);
    EXPECT_EQ(bubble.priority, 0x1B1u);
    EXPECT_EQ(bubble.durationSeconds, 20u);
    EXPECT_EQ(bubble.icon, g_pModule->m_icons.ActivityIcon(ActivityIdle));
    EXPECT_EQ(bubble.flags, 0u);
    EXPECT_EQ(bubble.sink, m_screen.Item());
    EXPECT_EQ(bubble.title, L"Velmora");
    EXPECT_EQ(bubble.html, MeterAlertHtml(50, 203, 0, L"3/7/2006\n14:05:09"));

    // Not again until the meter is reset.
    m_screen.Network().SetRates(L"NE20001", 1000, 1000);
    m_screen.AdvanceSeconds(3);
    EXPECT_EQ(m_shell.added.size(), 1u);
    // The bubble's Ok button comes back as command 10, which the item leaves alone.
    EXPECT_EQ(SendMessageW(m_screen.Item(), WM_COMMAND, 10, 0), 0);
}

TEST_F(TaskbarIconTest, AResettingAlertNamesTheTimeBeforeTheReset)
{
    Start();
    Settings().MeterNotify = 1;
    Settings().MeterNotifyThreshold = 1;
    Settings().MeterNotifyType = 202;
    Settings().MeterNotifyReset = 1;
    m_screen.AdvanceSeconds(60);
    m_screen.Network().SetCounters(L"NE20001", 2000000, 0);
    m_screen.AdvanceSeconds(1);
    ASSERT_EQ(m_shell.added.size(), 1u);
    EXPECT_EQ(m_shell.added[0].html, MeterAlertHtml(1, 202, 1, L"3/7/2006\n14:05:09"));
    EXPECT_EQ(g_pModule->m_meter.DownloadTotal(), 0u);
    EXPECT_EQ(g_pModule->m_meter.FormatResetTime(), L"3/7/2006\n14:06:10");
}
