// The options dialog's Usage page: the views and modes it renders from a month of logs, its
// date picker's range, its bitmap buttons and the re-render after the usage settings.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "UsageTestFiles.h"
#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "options/OpenOptions.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Observe.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageReportPage.h"

using namespace testing_support;

namespace {

constexpr int kUsageTab = 3;
const std::wstring kLogs = L"\\Logs";

// The page's one HTML viewer.
HWND Viewer(HWND page)
{
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (std::wstring(name) == L"DISPLAYCLASS")
            return child;
    }
    return nullptr;
}

int ViewerCount(HWND page)
{
    int count = 0;
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        count += std::wstring(name) == L"DISPLAYCLASS" ? 1 : 0;
    }
    return count;
}

std::wstring Source(HWND page)
{
    return platform::HtmlViewerSource(Viewer(page));
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class UsageReportPageTest : public ::testing::TestWithParam<bool> {
protected:
    UsageReportPageTest()
        : m_screen(GetParam() ? platform::DeviceProfile::Vga() : platform::DeviceProfile::Qvga())
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
        g_pModule->m_settings.UsageLogPath = kLogs;
        g_pModule->m_settings.UsageInterface.clear();
        g_pModule->m_settings.UsageShowZeros = 0;
        // February's and March's logs; the clock stands at 7 March 2006 14:05.
        usage_test::WriteWideFile(MonthFileName(kLogs, 2006, 2), L"2006-2-20-9 *1* \tne20001 4096 8192 \r\n");
        usage_test::WriteWideFile(MonthFileName(kLogs, 2006, 3),
            L"2006-3-1-8 *1* \tne20001 1000 3000 \r\n2006-3-7-13 *1* \tne20001 3145728 1048576 \r\n");
    }

    void OnUsagePage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            m_screen.Driver().ChooseItem(g_pModule->m_options.hwndTab, kUsageTab);
            HWND page = g_pModule->m_options.pages[kUsageTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    // The pixels of a button as the page shows it.
    platform::Pixels Button(HWND page, int id) { return platform::CaptureWindow(GetDlgItem(page, id)); }

    TodayScreen m_screen;
};

} // namespace

TEST_P(UsageReportPageTest, OpensOnTodaysHourlyChartAndCyclesTheModes)
{
    OnUsagePage([&](HWND page) {
        EXPECT_TRUE(Contains(Source(page), L"<strong>Hourly Traffic: March 7, 2006</strong>"));
        EXPECT_TRUE(Contains(Source(page), L"<font size=2>All Network Adapters</font>"));
        EXPECT_EQ(ViewerCount(page), 1);

        // The 13:00 hour's bar: red and blue pixels in the chart below the heading strip.
        platform::Pixels shown = platform::CaptureWindow(page);
        int red = 0;
        int blue = 0;
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x) {
                red += shown.At(x, y) == RGB(255, 0, 0) ? 1 : 0;
                blue += shown.At(x, y) == RGB(0, 0, 255) ? 1 : 0;
            }
        EXPECT_GT(red, 100);
        EXPECT_GT(blue, 30);

        m_screen.Driver().ClickItem(page, IDC_USAGE_MODE);
        EXPECT_TRUE(Contains(Source(page), L"<strong>Daily Traffic: March, 2006</strong>"));
        m_screen.Driver().ClickItem(page, IDC_USAGE_MODE);
        EXPECT_TRUE(Contains(Source(page), L"<strong>Monthly Traffic: 2006</strong>"));
        m_screen.Driver().ClickItem(page, IDC_USAGE_MODE);
        EXPECT_TRUE(Contains(Source(page), L"<strong>Hourly Traffic: March 7, 2006</strong>"));
        EXPECT_EQ(ViewerCount(page), 1);
    });
}

TEST_P(UsageReportPageTest, TableAndChartButtonsSwitchViewsAndIgnoreTheShownOne)
{
    OnUsagePage([&](HWND page) {
        HWND strip = Viewer(page);
        m_screen.Driver().ClickItem(page, IDC_USAGE_CHART); // the chart is shown: nothing happens
        EXPECT_EQ(Viewer(page), strip);

        m_screen.Driver().ClickItem(page, IDC_USAGE_TABLE);
        std::wstring table = Source(page);
        EXPECT_TRUE(Contains(table, L"<td align=center> Hour</td>"));
        EXPECT_TRUE(Contains(table, L"bgcolor=\"#DDDDDD\"><td align=center>1-2 PM</td> <td align=center>3 MB</td> "
                                    L"<td align=center>1 MB</td> <td align=center>4 MB</td></tr>"));
        EXPECT_FALSE(Contains(table, L"2-3 PM")); // zeros hidden
        HWND tableViewer = Viewer(page);
        m_screen.Driver().ClickItem(page, IDC_USAGE_TABLE);
        EXPECT_EQ(Viewer(page), tableViewer);

        // The mode button renders the view that is shown.
        m_screen.Driver().ClickItem(page, IDC_USAGE_MODE);
        EXPECT_TRUE(Contains(Source(page), L"<td align=center> Day</td>"));
        EXPECT_TRUE(Contains(Source(page), L"<td align=center>1 (Wed)</td>"));

        m_screen.Driver().ClickItem(page, IDC_USAGE_CHART);
        EXPECT_FALSE(Contains(Source(page), L"<td align=center> Day</td>"));
        EXPECT_TRUE(Contains(Source(page), L"Daily Traffic"));
        EXPECT_EQ(ViewerCount(page), 1);
    });
}

TEST_P(UsageReportPageTest, DatePickerRunsFromTheOldestLogMonthToTodayAndRendersOnClose)
{
    OnUsagePage([&](HWND page) {
        HWND picker = GetDlgItem(page, IDC_USAGE_DATE);
        SYSTEMTIME range[2] {};
        EXPECT_EQ(SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)), GDTR_MIN | GDTR_MAX);
        EXPECT_EQ(range[0].wYear, 2006);
        EXPECT_EQ(range[0].wMonth, 2);
        EXPECT_EQ(range[0].wDay, 1);
        EXPECT_EQ(range[1].wMonth, 3);
        EXPECT_EQ(range[1].wDay, 7);

        m_screen.Driver().PickDate(picker, 2006, 3, 1);
        EXPECT_TRUE(Contains(Source(page), L"Hourly Traffic: March 1, 2006"));
        m_screen.Driver().PickDate(picker, 2005, 12, 25); // before the oldest log: held at 1 February
        EXPECT_TRUE(Contains(Source(page), L"Hourly Traffic: February 1, 2006"));
        m_screen.Driver().PickDate(picker, 2006, 2, 20);
        m_screen.Driver().ClickItem(page, IDC_USAGE_TABLE);
        EXPECT_TRUE(Contains(Source(page), L"<td align=center>9-10 AM</td> <td align=center>4 KB</td>"));
    });
}

TEST_P(UsageReportPageTest, SettingsRerenderAfter150MillisecondsAndExportDoesNot)
{
    OnUsagePage([&](HWND page) {
        HWND before = Viewer(page);
        m_screen.Driver().ClickItem(page, IDC_USAGE_EXPORT);
        m_screen.Driver().AdvanceMs(1000);
        EXPECT_EQ(Viewer(page), before);

        m_screen.Driver().ClickItem(page, IDC_USAGE_SETTINGS);
        g_pModule->m_settings.UsageInterface = L"ne20001"; // as the settings dialog would choose
        m_screen.Driver().AdvanceMs(kUsageRerenderDelay - 1);
        EXPECT_EQ(Viewer(page), before);
        m_screen.Driver().AdvanceMs(1);
        EXPECT_NE(Viewer(page), before);
        EXPECT_FALSE(Contains(Source(page), L"All Network Adapters"));
        HWND after = Viewer(page);
        m_screen.Driver().AdvanceMs(1000); // once
        EXPECT_EQ(Viewer(page), after);
    });
}

TEST_P(UsageReportPageTest, ModeButtonShowsTheNextModeWhilePressedOnSmallScreensOnly)
{
    const bool large = GetParam();
    OnUsagePage([&](HWND page) {
        HWND mode = GetDlgItem(page, IDC_USAGE_MODE);
        platform::Pixels hourly = Button(page, IDC_USAGE_MODE);
        m_screen.Driver().StylusDown(mode, 2, 2);
        platform::Pixels pressed = Button(page, IDC_USAGE_MODE);
        m_screen.Driver().StylusUp(mode, 2, 2);
        platform::Pixels daily = Button(page, IDC_USAGE_MODE);
        EXPECT_EQ(pressed.rgb, daily.rgb);
        if (large)
            EXPECT_EQ(hourly.rgb, daily.rgb);
        else
            EXPECT_NE(hourly.rgb, daily.rgb);
        EXPECT_TRUE(Contains(Source(page), L"Daily Traffic"));

        // Framed in black: 20 pixels on small screens, the whole button on large ones.
        const int right = large ? daily.width : 20;
        const int bottom = large ? daily.height : 20;
        EXPECT_EQ(daily.At(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(daily.At(right - 1, bottom / 2), RGB(0, 0, 0));
        EXPECT_EQ(daily.At(right / 2, bottom - 1), RGB(0, 0, 0));
        EXPECT_NE(daily.At(right / 2, bottom / 2), RGB(0, 0, 0));
        EXPECT_NE(Button(page, IDC_USAGE_TABLE).rgb, Button(page, IDC_USAGE_CHART).rgb);
    });
}

TEST_P(UsageReportPageTest, RestoredSettingsStartThePageAgainOnTodaysHourlyChart)
{
    OnUsagePage([&](HWND page) {
        m_screen.Driver().ClickItem(page, IDC_USAGE_MODE);
        m_screen.Driver().ClickItem(page, IDC_USAGE_TABLE);
        ReloadOptionsPages(nullptr);
        HWND fresh = g_pModule->m_options.pages[kUsageTab];
        ASSERT_NE(fresh, nullptr);
        EXPECT_NE(fresh, page);
        EXPECT_TRUE(IsWindowVisible(fresh));
        EXPECT_TRUE(Contains(Source(fresh), L"Hourly Traffic: March 7, 2006"));
        EXPECT_FALSE(Contains(Source(fresh), L"Xmit"));
    });
}

INSTANTIATE_TEST_SUITE_P(Profiles, UsageReportPageTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& which) { return which.param ? "Vga" : "Qvga"; });
