// The meter reading that the item's meter icon opens: the counts it shows and refreshes, its
// reset, where it sits on the screen, and the item's repaint when it closes.
#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "options/MeterReading.h"
#include "platform/ui/Display.h"
#include "platform/ui/Observe.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

// The meter icon: the first slot of the icon row on a 240-pixel screen.
constexpr int kMeterIconX = 187;
constexpr int kMeterIconY = 5;
constexpr ULONG64 kGiB = 1ull << 30;

class MeterReadingTest : public ::testing::Test {
protected:
    MeterReadingTest()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    Meter& TheMeter() { return g_pModule->m_meter; }

    // Taps the meter icon and hands the reading to the action while it is open, then OK.
    void WhileOpen(const std::function<void(HWND)>& action)
    {
        bool opened = false;
        m_screen.Driver().OnModal(IDD_METER_READING, [&](const platform::VirtualDriver::ModalInfo& info) {
            opened = true;
            action(info.window);
            if (IsWindow(info.window))
                SendMessageW(info.window, WM_COMMAND, IDOK, 0);
        });
        m_screen.Driver().Tap(m_screen.Item(), kMeterIconX, kMeterIconY);
        EXPECT_TRUE(opened);
        EXPECT_TRUE(m_screen.Driver().Faults().empty());
    }

    static std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, id, text, 64);
        return text;
    }

    TodayScreen m_screen;
};

} // namespace

TEST_F(MeterReadingTest, ShowsTheMetersCountsPastFourGigabytes)
{
    TheMeter().AddTraffic(1536, 5 * kGiB + 1536);
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), L"1.5 KB");
        EXPECT_EQ(Text(dialog, IDC_METER_RECEIVED), L"5.0 GB");
        EXPECT_EQ(Text(dialog, IDC_METER_COMBINED), L"5.0 GB");
        EXPECT_EQ(Text(dialog, IDC_METER_RESET_TIME), TheMeter().FormatResetTime());
        EXPECT_NE(Text(dialog, IDC_METER_RESET_TIME).find(L'\n'), std::wstring::npos);
    });
}

TEST_F(MeterReadingTest, RefreshesEveryTwoSecondsWhileOpen)
{
    TheMeter().AddTraffic(1536, 700);
    WhileOpen([&](HWND dialog) {
        TheMeter().AddTraffic(3 << 20, 0);
        m_screen.Driver().AdvanceMs(kMeterReadingRefreshMs - 1);
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), L"1.5 KB");
        m_screen.Driver().AdvanceMs(1);
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), TheMeter().FormatUpload());
        EXPECT_NE(Text(dialog, IDC_METER_SENT), L"1.5 KB");
        EXPECT_EQ(Text(dialog, IDC_METER_COMBINED), TheMeter().FormatTotal());
    });
}

TEST_F(MeterReadingTest, ResetShowsZeroCountsAndTheTimeOfTheReset)
{
    TheMeter().AddTraffic(9000, 4 * kGiB);
    m_screen.AdvanceSeconds(3725);
    WhileOpen([&](HWND dialog) {
        std::wstring opened = Text(dialog, IDC_METER_RESET_TIME);
        m_screen.Driver().AdvanceMs(1500);
        m_screen.Driver().ClickItem(dialog, IDC_METER_RESET);
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), L"0 B");
        EXPECT_EQ(Text(dialog, IDC_METER_RECEIVED), L"0 B");
        EXPECT_EQ(Text(dialog, IDC_METER_COMBINED), L"0 B");
        EXPECT_EQ(Text(dialog, IDC_METER_RESET_TIME), TheMeter().FormatResetTime());
        EXPECT_NE(Text(dialog, IDC_METER_RESET_TIME), opened);

        // The refresh starts again from the reset: not 500 ms on, a whole period on.
        TheMeter().AddTraffic(2048, 0);
        m_screen.Driver().AdvanceMs(kMeterReadingRefreshMs - 1);
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), L"0 B");
        m_screen.Driver().AdvanceMs(1);
        EXPECT_EQ(Text(dialog, IDC_METER_SENT), L"2.0 KB");
    });
    EXPECT_EQ(TheMeter().UploadTotal(), 2048u);
}

TEST_F(MeterReadingTest, SitsInTheMiddleOfTheScreenAndFollowsItsTurn)
{
    WhileOpen([&](HWND dialog) {
        RECT rect {};
        GetWindowRect(dialog, &rect);
        int width = rect.right - rect.left;
        int height = rect.bottom - rect.top;
        EXPECT_EQ(rect.top, 320 / 2 - height / 2);
        EXPECT_EQ(rect.left, 240 / 2 - width / 2);

        platform::RotateScreen();
        m_screen.Driver().Pump();
        GetWindowRect(dialog, &rect);
        EXPECT_EQ(rect.right - rect.left, width);
        EXPECT_EQ(rect.bottom - rect.top, height);
        EXPECT_EQ(rect.left, 320 / 2 - width / 2);
        EXPECT_EQ(rect.top, 240 / 2 - height / 2);
        platform::RotateScreen();
    });
}

TEST_F(MeterReadingTest, OkRepaintsTheWholeItemWithoutErasing)
{
    WhileOpen([&](HWND dialog) {
        m_screen.Driver().Pump();
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    m_screen.Driver().Pump();
    RECT client {};
    GetClientRect(m_screen.Item(), &client);
    platform::PaintRecord paint = m_screen.LastItemPaint();
    EXPECT_EQ(paint.paintRect.right - paint.paintRect.left, client.right);
    EXPECT_EQ(paint.paintRect.bottom - paint.paintRect.top, client.bottom);
    EXPECT_FALSE(paint.erased);
}
