#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/WinGdi.h"
#include "support/TodayScreen.h"
#include "usage/UsageChart.h"
#include "usage/UsageChartCanvas.h"

using testing_support::DeviceScope;

namespace {

constexpr ULONG64 kGiB = 1024ull * 1024 * 1024;
constexpr ULONG64 kMiB = 1024ull * 1024;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPlotGrey = RGB(0xDD, 0xDD, 0xDD);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGridGrey = RGB(0xCC, 0xCC, 0xCC);

struct Profile {
    platform::DeviceProfile device;
    ChartScale scale;
    int width;
    int height;
};

// The chart as the page holds it: the page's width, its height below the buttons.
Profile Qvga()
{
    return { platform::DeviceProfile::Qvga(), ChartScale { 96, 96 }, 232, 150 };
}
Profile Vga()
{
    return { platform::DeviceProfile::Vga(), ChartScale { 192, 192 }, 464, 300 };
}

UsageChartData Slots(int count, int base)
{
    UsageChartData data;
    data.sent.assign(static_cast<size_t>(count), 0);
    data.received.assign(static_cast<size_t>(count), 0);
    data.base = base;
    return data;
}

// The layout the drawing used: the widest label measured in the chart's own font.
UsageChartLayout LayoutOf(HDC dc, const UsageChartData& data, const Profile& profile)
{
    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_NORMAL;
    font.lfHeight = -static_cast<LONG>(profile.scale.dpiY / 9.0 + 0.5);
    font.lfQuality = CLEARTYPE_QUALITY;
    HFONT made = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(dc, made);
    ULONG64 peak = UsageChartPeak(data);
    std::wstring widest = UsageChartValueLabel(peak, UsageChartUnit(peak).divisor);
    RECT measure {};
    DrawTextW(dc, widest.c_str(), static_cast<int>(widest.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(made);
    return UsageChartLayoutFor(profile.width, profile.height, measure.right, profile.scale);
}

bool DarkPixelIn(HDC dc, const RECT& rect)
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128)
                return true;
        }
    return false;
}

int CountColour(HDC dc, int x, int top, int bottom, COLORREF colour)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        count += GetPixel(dc, x, y) == colour ? 1 : 0;
    return count;
}

class UsageChartPixels : public ::testing::TestWithParam<bool> {
protected:
    UsageChartPixels()
        : m_profile(GetParam() ? Vga() : Qvga())
        , m_device(m_profile.device)
    {
    }

    HDC Draw(const UsageChartData& data)
    {
        HDC screen = GetDC(nullptr);
        EXPECT_TRUE(m_canvas.Render(screen, m_profile.width, m_profile.height, data, m_profile.scale));
        ReleaseDC(nullptr, screen);
        m_layout = LayoutOf(m_canvas.Dc(), data, m_profile);
        return m_canvas.Dc();
    }

    Profile m_profile;
    DeviceScope m_device;
    UsageChartCanvas m_canvas;
    UsageChartLayout m_layout;
};

} // namespace

TEST(UsageChartScale, UnitSwitchesAtEachPowerOf1024AndHoldsTotalsBeyond4GiB)
{
    EXPECT_STREQ(UsageChartUnit(1023).name, L"B");
    EXPECT_STREQ(UsageChartUnit(1024).name, L"KB");
    EXPECT_EQ(UsageChartUnit(1024).divisor, 1024u);
    EXPECT_STREQ(UsageChartUnit(kMiB - 1).name, L"KB");
    EXPECT_STREQ(UsageChartUnit(kMiB).name, L"MB");
    EXPECT_STREQ(UsageChartUnit(kGiB - 1).name, L"MB");
    EXPECT_STREQ(UsageChartUnit(kGiB).name, L"GB");
    EXPECT_EQ(UsageChartValueLabel(5 * kGiB + kGiB / 2, kGiB), L"5.5-");

    UsageChartData data = Slots(3, 0);
    data.sent[1] = 3 * kGiB;
    data.received[1] = 2 * kGiB + 7;
    data.received[2] = 1;
    EXPECT_EQ(UsageChartPeak(data), 5 * kGiB + 7);
    EXPECT_EQ(UsageChartPeak(Slots(24, 0)), 1u); // an empty period scales to one byte
}

TEST(UsageChartScale, GridRowsAndSlotLabelsFollowTheCanvasAndTheSlotCount)
{
    ChartScale qvga { 96, 96 };
    ChartScale vga { 192, 192 };
    EXPECT_EQ(UsageChartGridRows(159, qvga), 7);
    EXPECT_EQ(UsageChartGridRows(160, qvga), 9);
    EXPECT_EQ(UsageChartGridRows(319, vga), 7);
    EXPECT_EQ(UsageChartGridRows(320, vga), 9);

    auto labelled = [](int slots) {
        std::vector<int> out;
        for (int i = 0; i < slots; ++i)
            if (UsageChartSlotLabelled(i, slots))
                out.push_back(i);
        return out;
    };
    EXPECT_EQ(labelled(24), (std::vector<int> { 0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22 }));
    EXPECT_EQ(labelled(31), (std::vector<int> { 0, 3, 6, 9, 12, 15, 18, 21, 24, 27 }));
    EXPECT_EQ(labelled(12), (std::vector<int> { 0, 2, 4, 6, 8, 10 }));

    // February's ten labels get ten cells: the last one ends on the canvas.
    UsageChartLayout layout = UsageChartLayoutFor(232, 150, 30, qvga);
    std::vector<SlotLabel> february = UsageChartSlotLabels(28, layout);
    ASSERT_EQ(february.size(), 10u);
    EXPECT_LE(february.back().rect.right, 232);
    std::vector<SlotLabel> march = UsageChartSlotLabels(31, layout);
    ASSERT_EQ(march.size(), 10u);
    EXPECT_EQ(march[1].rect.left - march[0].rect.left, (232 - 32 - 2) / 10);
}

TEST(UsageChartScale, ValueRowsStepUpFromTheBaselineAndBarsStayInThePlot)
{
    UsageChartLayout layout = UsageChartLayoutFor(232, 150, 30, ChartScale { 96, 96 });
    EXPECT_EQ(layout.x0, 32);
    EXPECT_EQ(layout.y0, 135);
    EXPECT_EQ(layout.rowHeight, 150 / 9);
    ASSERT_EQ(layout.valueLabels.size(), 7u);
    EXPECT_EQ(layout.valueLabels[0].top, 135 - 8);
    EXPECT_EQ(layout.valueLabels[0].bottom, 135 + 8);
    EXPECT_EQ(layout.valueLabels[1].bottom, layout.valueLabels[0].top);
    EXPECT_EQ(layout.valueLabels[6].top, 135 - 8 - 6 * 16);
    EXPECT_EQ(layout.yTop, 135 - 6 * 16);

    const int bottom = layout.y0 - 1;
    EXPECT_EQ(UsageChartBarTop(0, 100, bottom, layout), bottom);
    EXPECT_EQ(UsageChartBarTop(100, 100, bottom, layout), bottom - (layout.y0 - layout.yTop));
    EXPECT_EQ(UsageChartBarTop(37, 100, bottom, layout), static_cast<int>(bottom - 0.37 * (layout.y0 - layout.yTop)));
    // Far above the scale: held at the plot's top edge, inside its frame.
    EXPECT_EQ(UsageChartBarTop(1000 * kGiB, 1, bottom, layout), 1);

    std::vector<BarSpan> spans = UsageChartBarSpans(24, layout);
    ASSERT_EQ(spans.size(), 24u);
    EXPECT_EQ(spans[0].left, layout.x0 + 1);
    EXPECT_EQ(spans[1].left, spans[0].right + 1);
    EXPECT_EQ(spans.back().right, 232);
}

TEST_P(UsageChartPixels, HourlyWithA5GiBHourScalesToGigabytesAndStacksReceivedOnSent)
{
    UsageChartData data = Slots(24, 0);
    data.sent[14] = 3 * kGiB;
    data.received[14] = 2 * kGiB; // 5 GiB: the peak, over 32 bits
    data.sent[3] = kGiB / 2;
    data.received[3] = 2 * kGiB;
    HDC dc = Draw(data);

    std::vector<BarSpan> spans = UsageChartBarSpans(24, m_layout);
    const int span = m_layout.y0 - m_layout.yTop;
    const int bottom = m_layout.y0 - 1;
    int x = (spans[14].left + spans[14].right) / 2;
    EXPECT_EQ(CountColour(dc, x, 0, m_layout.y0, kRed), bottom - static_cast<int>(bottom - 0.6 * span));
    int sentTop = UsageChartBarTop(3 * kGiB, 5 * kGiB, bottom, m_layout);
    int receivedTop = UsageChartBarTop(2 * kGiB, 5 * kGiB, sentTop, m_layout);
    EXPECT_EQ(CountColour(dc, x, 0, m_layout.y0, kBlue), sentTop - receivedTop);
    EXPECT_EQ(GetPixel(dc, x, bottom - 1), kRed);
    // The peak reaches the top of the scale (each part's top truncated: a pixel over at most).
    EXPECT_GE(receivedTop, m_layout.yTop - 2);
    EXPECT_LE(receivedTop, m_layout.yTop);
    EXPECT_EQ(GetPixel(dc, x, receivedTop), kBlue);
    EXPECT_EQ(GetPixel(dc, x, receivedTop - 1), kPlotGrey);

    int x3 = (spans[3].left + spans[3].right) / 2;
    EXPECT_EQ(CountColour(dc, x3, 0, m_layout.y0, kRed), bottom - static_cast<int>(bottom - 0.1 * span));
    EXPECT_GT(CountColour(dc, x3, 0, m_layout.y0, kBlue), 3 * CountColour(dc, x3, 0, m_layout.y0, kRed));
    int x2 = (spans[2].left + spans[2].right) / 2;
    EXPECT_EQ(CountColour(dc, x2, 0, m_layout.y0, kRed) + CountColour(dc, x2, 0, m_layout.y0, kBlue), 0);
    EXPECT_NE(GetPixel(dc, spans[14].right, bottom - 1), kRed); // a gap between bars

    // Slot strip yellow, labels in their cells, none beyond the last.
    EXPECT_EQ(GetPixel(dc, m_profile.width - 2, m_profile.height - 2), kYellow);
    std::vector<SlotLabel> labels = UsageChartSlotLabels(24, m_layout);
    ASSERT_EQ(labels.size(), 12u);
    EXPECT_TRUE(DarkPixelIn(dc, RECT { labels[0].rect.left, labels[0].rect.top + 1, labels[0].rect.right, labels[0].rect.bottom - 1 }));
    EXPECT_TRUE(DarkPixelIn(dc, RECT { labels[11].rect.left, labels[11].rect.top + 1, labels[11].rect.right, labels[11].rect.bottom - 1 }));
    // Grid lines at each value row above the baseline; the value strip left of the plot.
    EXPECT_EQ(GetPixel(dc, m_layout.x0 + 3, m_layout.valueLabels[3].top + m_layout.rowHeight / 2 + 1), kGridGrey);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0xEE, 0xEE, 0xEE));
}

TEST_P(UsageChartPixels, DailyEmptyMonthDrawsNoBarsOnAOneByteScale)
{
    UsageChartData data = Slots(30, 1);
    HDC dc = Draw(data);
    int coloured = 0;
    for (int y = 0; y < m_layout.y0; ++y)
        for (int x = m_layout.x0; x < m_layout.legend.left - 2; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            coloured += c == kRed || c == kBlue ? 1 : 0;
        }
    EXPECT_EQ(coloured, 0);
    EXPECT_EQ(UsageChartUnit(UsageChartPeak(data)).divisor, 1u);
    // The unit's name above the value labels.
    EXPECT_TRUE(DarkPixelIn(dc, RECT { 1, 1, m_layout.x0 - 1, m_layout.valueLabels.back().top }));
    std::vector<SlotLabel> labels = UsageChartSlotLabels(30, m_layout);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_TRUE(DarkPixelIn(dc, RECT { labels[9].rect.left, labels[9].rect.top + 1, labels[9].rect.right, labels[9].rect.bottom - 1 }));
}

TEST_P(UsageChartPixels, MonthlyWithEveryMonthDrawsTwelveBarsInProportionAndTheLegend)
{
    UsageChartData data = Slots(12, 1);
    for (int m = 0; m < 12; ++m) {
        data.sent[static_cast<size_t>(m)] = static_cast<ULONG64>(m + 1) * 300 * kMiB;
        data.received[static_cast<size_t>(m)] = static_cast<ULONG64>(12 - m) * 100 * kMiB;
    }
    HDC dc = Draw(data);
    std::vector<BarSpan> spans = UsageChartBarSpans(12, m_layout);
    int previousRed = 0;
    for (int m = 0; m < 12; ++m) {
        int x = (spans[static_cast<size_t>(m)].left + spans[static_cast<size_t>(m)].right) / 2;
        int red = CountColour(dc, x, 0, m_layout.y0, kRed);
        int blue = CountColour(dc, x, 0, m_layout.y0, kBlue);
        EXPECT_GT(red, previousRed) << "month " << m + 1;
        EXPECT_GT(blue, 0) << "month " << m + 1;
        previousRed = red;
    }
    // December's bar, the peak, reaches the scale's top.
    int x12 = (spans[11].left + spans[11].right) / 2;
    EXPECT_EQ(GetPixel(dc, x12, m_layout.yTop), kBlue);

    // Legend: white box, its shadow one pixel down and right, the two swatches.
    const RECT& legend = m_layout.legend;
    ChartScale s = m_profile.scale;
    int middle = legend.top + (legend.bottom - legend.top) / 2;
    EXPECT_EQ(GetPixel(dc, legend.right, legend.bottom), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, legend.left + s.X(20) - 1, legend.top + 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, legend.left + s.X(10), (legend.top + middle) / 2), kRed);
    EXPECT_EQ(GetPixel(dc, legend.left + s.X(10), (middle + legend.bottom) / 2), kBlue);
    EXPECT_TRUE(DarkPixelIn(dc, RECT { legend.left + s.X(20), legend.top + 1, legend.right - 1, middle }));
}

INSTANTIATE_TEST_SUITE_P(Profiles, UsageChartPixels, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& which) { return which.param ? "Vga" : "Qvga"; });
