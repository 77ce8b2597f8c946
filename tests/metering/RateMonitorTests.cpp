// The data rate monitor that the item's activity icon and the taskbar icon open: its rate texts,
// the first picture and the ticks after it, the scale buttons, its place on the screen, the
// drawing objects it gives back however it closes, and the taskbar icon after it.
#include <gtest/gtest.h>

#include <functional>

#include "item/PluginModule.h"
#include "metering/RateGraph.h"
#include "metering/RateMonitor.h"
#include "platform/ui/Display.h"
#include "platform/ui/Observe.h"
#include "platform/ui/gdi/GdiObject.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

// The activity icon: the item's top left corner.
constexpr int kActivityIconX = 3;
constexpr int kActivityIconY = 3;

// 80 000 bits per second up, 20 000 down.
constexpr uint64_t kUpBytes = 10000;
constexpr uint64_t kDownBytes = 2500;

class RateMonitorTest : public ::testing::Test {
protected:
    RateMonitorTest()
    {
        m_screen.MakeTaskbar();
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    void Traffic(uint64_t inBytes, uint64_t outBytes) { m_screen.Network().SetRates(L"NE20001", inBytes, outBytes); }

    // Taps the activity icon and hands the monitor to the action while it is open, then OK.
    void WhileOpen(const std::function<void(HWND)>& action) { OpenedBy([&] { Tap(); }, action); }
    void OpenedBy(const std::function<void()>& open, const std::function<void(HWND)>& action)
    {
        bool opened = false;
        size_t faults = m_screen.Driver().Faults().size();
        m_screen.Driver().OnModal(IDD_RATE_MONITOR, [&](const platform::VirtualDriver::ModalInfo& info) {
            opened = true;
            action(info.window);
            if (IsWindow(info.window))
                SendMessageW(info.window, WM_COMMAND, IDOK, 0);
        });
        open();
        EXPECT_TRUE(opened);
        EXPECT_EQ(m_screen.Driver().Faults().size(), faults);
    }
    void Tap() { m_screen.Driver().Tap(m_screen.Item(), kActivityIconX, kActivityIconY); }

    void Advance(uint64_t ms) { m_screen.Driver().AdvanceMs(ms); }
    void Press(HWND dialog, int id) { m_screen.Driver().ClickItem(dialog, id); }

    static std::wstring Text(HWND dialog, int id)
    {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, id, text, 64);
        return text;
    }

    // The graph's pixel (graph coordinates) as the dialog shows on the screen.
    static COLORREF GraphPixel(HWND dialog, const platform::Pixels& pixels, int x, int y)
    {
        RECT window {};
        GetWindowRect(dialog, &window);
        POINT origin {};
        ClientToScreen(dialog, &origin);
        RateGraphLayout layout = Layout(dialog);
        return pixels.At(origin.x - window.left + layout.graph.left + x, origin.y - window.top + layout.graph.top + y);
    }
    static RateGraphLayout Layout(HWND dialog)
    {
        RECT client {};
        GetClientRect(dialog, &client);
        return LayoutRateGraph(client, 96, 96);
    }
    // Where the upload trace (red over the grid) lies near the right edge: its topmost row, or
    // -1 when it is not drawn.
    static int UploadRow(HWND dialog)
    {
        platform::Pixels pixels = platform::CaptureWindow(dialog);
        RateGraphLayout layout = Layout(dialog);
        for (int y = 0; y < layout.height; ++y) {
            COLORREF pixel = GraphPixel(dialog, pixels, layout.width - 3, y);
            if (GetRValue(pixel) == 255 && GetBValue(pixel) == 0 && GetGValue(pixel) != 255)
                return y;
        }
        return -1;
    }
    static int GridPixels(HWND dialog)
    {
        platform::Pixels pixels = platform::CaptureWindow(dialog);
        return static_cast<int>(std::count(pixels.rgb.begin(), pixels.rgb.end(), 0x00AA00u));
    }

    TodayScreen m_screen;
};

} // namespace

TEST_F(RateMonitorTest, ShowsTheRatesAndTheFirstPictureWithin20MsThenChangesOnceASecond)
{
    Traffic(kDownBytes, kUpBytes);
    m_screen.AdvanceSeconds(12);
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_RATE_TITLE), L"Data Rate Monitor");
        EXPECT_EQ(Text(dialog, IDC_RATE_TEXT), L"UL: 78.1 kbps  DL: 19.5 kbps");
        Advance(kRateMonitorFirstDrawMs - 1);
        EXPECT_EQ(GridPixels(dialog), 0);
        Advance(1);
        EXPECT_GT(GridPixels(dialog), 100);
        EXPECT_EQ(UploadRow(dialog), 98 - 80);

        platform::Pixels first = platform::CaptureWindow(dialog);
        Advance(kRateMonitorTickMs - 1);
        EXPECT_EQ(platform::CaptureWindow(dialog).rgb, first.rgb);
        Advance(1);
        EXPECT_NE(platform::CaptureWindow(dialog).rgb, first.rgb);
    });
}

TEST_F(RateMonitorTest, TheRateTextFollowsFiveSecondsOfTrafficPastFourGigabits)
{
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_RATE_TEXT), L"UL: 0.0 kbps  DL: 0.0 kbps");
        // 10 Gbit/s received.
        Traffic(1'250'000'000, 6250);
        Advance(7000);
        EXPECT_EQ(Text(dialog, IDC_RATE_TEXT), L"UL: 48.8 kbps  DL: 9.3 Gbps");
        EXPECT_EQ(g_pModule->m_rateHistory.AverageRecent(5).downBps, 10'000'000'000u);
    });
}

TEST_F(RateMonitorTest, PlusAndMinusStepTheScaleAndStopAtEitherEnd)
{
    Traffic(kDownBytes, kUpBytes);
    m_screen.AdvanceSeconds(12);
    WhileOpen([&](HWND dialog) {
        Advance(kRateMonitorFirstDrawMs);
        std::vector<int> rows { UploadRow(dialog) };
        for (int press = 0; press < 4; ++press) {
            Press(dialog, IDC_RATE_LARGER);
            Advance(kRateMonitorFirstDrawMs);
            rows.push_back(UploadRow(dialog));
        }
        // 80 000 bits/s at 1000, 2000, 5000, 10000 and 20000 bits/s a unit.
        EXPECT_EQ(rows, (std::vector<int> { 18, 58, 82, 90, 94 }));

        // At the end a press builds nothing: the grid goes on scrolling where it was.
        Advance(kRateMonitorTickMs);
        platform::Pixels before = platform::CaptureWindow(dialog);
        Press(dialog, IDC_RATE_LARGER);
        Advance(kRateMonitorFirstDrawMs);
        EXPECT_EQ(platform::CaptureWindow(dialog).rgb, before.rgb);

        rows.clear();
        for (int press = 0; press < 6; ++press) {
            Press(dialog, IDC_RATE_SMALLER);
            Advance(kRateMonitorFirstDrawMs);
            rows.push_back(UploadRow(dialog));
        }
        // At 500 the rate is past the full scale and lies on the top edge.
        EXPECT_EQ(rows, (std::vector<int> { 90, 82, 58, 18, 0, 0 }));
    });
}

TEST_F(RateMonitorTest, AScalePressedBeforeTheFirstPictureHoldsAndEachOpeningStartsAt1000)
{
    Traffic(kDownBytes, kUpBytes);
    m_screen.AdvanceSeconds(12);
    WhileOpen([&](HWND dialog) {
        Press(dialog, IDC_RATE_LARGER);
        Advance(kRateMonitorFirstDrawMs);
        EXPECT_EQ(UploadRow(dialog), 98 - 40);
        Press(dialog, IDC_RATE_LARGER);
        Advance(kRateMonitorFirstDrawMs);
        EXPECT_EQ(UploadRow(dialog), 98 - 16);
    });
    WhileOpen([&](HWND dialog) {
        Advance(kRateMonitorFirstDrawMs);
        EXPECT_EQ(UploadRow(dialog), 98 - 80);
    });
}

TEST_F(RateMonitorTest, GivesBackEveryDrawingObjectOnOkAndWhenDestroyedWithoutIt)
{
    Traffic(kDownBytes, kUpBytes);
    m_screen.AdvanceSeconds(3);
    size_t before = platform::ui::LiveGdiObjectCount();
    for (int cycle = 0; cycle < 3; ++cycle) {
        WhileOpen([&](HWND dialog) {
            Advance(kRateMonitorFirstDrawMs);
            Press(dialog, IDC_RATE_LARGER);
            Advance(kRateMonitorTickMs + kRateMonitorFirstDrawMs);
            EXPECT_GT(platform::ui::LiveGdiObjectCount(), before);
        });
        EXPECT_EQ(platform::ui::LiveGdiObjectCount(), before) << "cycle " << cycle;
    }

    // The loop ends a dialog its handler left open: no OK reaches the monitor, only WM_DESTROY.
    HWND left = nullptr;
    m_screen.Driver().OnModal(IDD_RATE_MONITOR, [&](const platform::VirtualDriver::ModalInfo& info) {
        left = info.window;
        Advance(kRateMonitorTickMs + kRateMonitorFirstDrawMs);
    });
    Tap();
    EXPECT_EQ(m_screen.Driver().Faults().size(), 1u);
    EXPECT_FALSE(IsWindow(left));
    EXPECT_EQ(platform::ui::LiveGdiObjectCount(), before);
    m_screen.AdvanceSeconds(3);

    // And the next opening works as the first did.
    WhileOpen([&](HWND dialog) {
        Advance(kRateMonitorFirstDrawMs);
        EXPECT_EQ(UploadRow(dialog), 98 - 80);
    });
}

TEST_F(RateMonitorTest, SitsInTheMiddleOfTheScreenAndFollowsItsTurn)
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

TEST_F(RateMonitorTest, TheTopBarIconShowsTheCurrentActivityOnceTheMonitorCloses)
{
    Settings& settings = g_pModule->m_settings;
    settings.TaskbarIconEnabled = 1;
    settings.TaskbarIconUp = 1;
    m_screen.AdvanceSeconds(1);
    HWND icon = g_pModule->m_item.hwndTaskIcon;
    ASSERT_NE(icon, nullptr);
    OpenedBy([&] { m_screen.Driver().Tap(icon, 5, 5); },
        [&](HWND) {
            // Traffic began while the monitor was open.
            g_pModule->m_item.uiNetAct = 4;
        });
    platform::PaintRecord paint = platform::LastPaint(icon);
    ASSERT_FALSE(paint.icons.empty());
    EXPECT_EQ(paint.icons.back().resourceId, IDI_SMALL_BOTH);
}
