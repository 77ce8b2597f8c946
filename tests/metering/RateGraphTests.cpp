// The rate monitor's strip chart: scale steps and labels, the y mapping held inside the graph at
// 64-bit rates, and the picture on an offscreen canvas in both device profiles.
#include <gtest/gtest.h>

#include <functional>

#include "metering/RateGraph.h"
#include "platform/ui/gdi/GdiObject.h"
#include "support/TodayScreen.h"

namespace {

constexpr COLORREF kFill = RGB(128, 128, 128);
constexpr COLORREF kYellow = RGB(255, 255, 0);

// Bits per second above the full scale whose low 32 bits would land low in the graph.
constexpr ULONG64 kPastFourGigabit = (1ull << 32) + 8000;
constexpr ULONG64 kTenGigabit = 10'000'000'000ull;

bool IsUploadTrace(COLORREF pixel)
{
    // Red over black, orange over a green grid line.
    return GetRValue(pixel) == 255 && GetBValue(pixel) == 0 && GetGValue(pixel) != 255;
}

bool IsGridOnly(COLORREF pixel)
{
    return pixel == RGB(0, 0, 0) || pixel == RGB(0, 170, 0);
}

// A history fed `seconds` ticks at constant byte rates.
RateHistory SteadyHistory(int seconds, ULONG64 upBytes, ULONG64 downBytes)
{
    RateHistory history;
    ULONG64 up = 0;
    ULONG64 down = 0;
    for (int i = 0; i < seconds; ++i)
        history.AddSample(up += upBytes, down += downBytes);
    return history;
}

class RateGraphPicture : public ::testing::TestWithParam<bool> {
protected:
    RateGraphPicture() : m_device(GetParam() ? platform::DeviceProfile::Vga() : platform::DeviceProfile::Qvga())
    {
        m_dpi = GetParam() ? 192 : 96;
        m_client = RECT { 0, 0, S(157), S(150) };
        HDC screen = GetDC(nullptr);
        m_screen = screen;
        m_target = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, m_client.right, m_client.bottom);
        m_displaced = SelectObject(m_target, m_bitmap);
        HBRUSH grey = CreateSolidBrush(kFill);
        FillRect(m_target, &m_client, grey);
        DeleteObject(grey);
    }
    ~RateGraphPicture() override
    {
        m_graph.Release();
        SelectObject(m_target, m_displaced);
        DeleteDC(m_target);
        DeleteObject(m_bitmap);
        ReleaseDC(nullptr, m_screen);
    }

    int S(int length) const { return ScaleToDpi(length, m_dpi); }

    // Builds at the scale, ticks once with the five-second rates, and paints.
    void Draw(const RateHistory& history, DWORD scale = kRateScaleFirst)
    {
        ASSERT_TRUE(m_graph.Build(m_screen, m_client, m_dpi, m_dpi, scale, history));
        m_graph.Tick(history, history.AverageRecent(5));
        m_graph.Paint(m_target, history);
    }

    // The pixel at graph coordinates.
    COLORREF At(int x, int y) const
    {
        const RECT& graph = m_graph.Layout().graph;
        return GetPixel(m_target, graph.left + x, graph.top + y);
    }
    // Whether a pixel of the column within a pen's width of y matches.
    bool NearRow(int x, int y, const std::function<bool(COLORREF)>& match) const
    {
        for (int dy = -S(1); dy <= S(1); ++dy)
            if (y + dy >= 0 && y + dy < m_graph.Layout().height && match(At(x, y + dy)))
                return true;
        return false;
    }
    // The first column at or right of `from` on the row whose pixel is the grid's green.
    int NextGridColumn(int from, int y) const
    {
        for (int x = from; x < m_graph.Layout().width; ++x)
            if (At(x, y) == RGB(0, 170, 0))
                return x;
        return -1;
    }

    testing_support::DeviceScope m_device;
    int m_dpi = 96;
    RECT m_client {};
    HDC m_screen = nullptr;
    HDC m_target = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_displaced = nullptr;
    RateGraph m_graph;
};

} // namespace

TEST(RateScale, StepsThroughSixScalesAndStopsAtEitherEnd)
{
    DWORD scale = kRateScaleSmallest;
    std::vector<std::wstring> tops { RateScaleTopLabel(scale) };
    std::vector<std::wstring> middles { RateScaleMiddleLabel(scale) };
    for (int press = 0; press < 6; ++press) {
        scale = LargerRateScale(scale);
        tops.push_back(RateScaleTopLabel(scale));
        middles.push_back(RateScaleMiddleLabel(scale));
    }
    EXPECT_EQ(scale, kRateScaleLargest);
    EXPECT_EQ(tops, (std::vector<std::wstring> { L"50 kbps", L"100 kbps", L"200 kbps", L"500 kbps", L"1 Mbps", L"2 Mbps",
                        L"2 Mbps" }));
    EXPECT_EQ(middles, (std::vector<std::wstring> { L"25 kbps", L"50 kbps", L"100 kbps", L"250 kbps", L"500 kbps",
                           L"1 Mbps", L"1 Mbps" }));
    EXPECT_EQ(SmallerRateScale(20000), 10000u);
    EXPECT_EQ(SmallerRateScale(5000), 2000u);
    EXPECT_EQ(SmallerRateScale(1000), 500u);
    EXPECT_EQ(SmallerRateScale(500), 500u);
}

TEST(RateToY, RestsOnTheBaselinesAndRisesOneUnitPerScale)
{
    EXPECT_EQ(RateToY(0, 1000, kUploadBaseline, 96, 100), 98);
    EXPECT_EQ(RateToY(0, 1000, kDownloadBaseline, 96, 100), 99);
    EXPECT_EQ(RateToY(0, 1000, kUploadBaseline, 192, 200), 196);
    EXPECT_EQ(RateToY(0, 1000, kDownloadBaseline, 192, 200), 198);
    // Half the full scale lies at half height; the remainder of a unit does not count.
    EXPECT_EQ(RateToY(50'000, 1000, kUploadBaseline, 96, 100), 48);
    EXPECT_EQ(RateToY(20'999, 1000, kDownloadBaseline, 192, 200), 158);
    EXPECT_EQ(RateToY(20'999, 500, kDownloadBaseline, 96, 100), 58);
}

TEST(RateToY, RatesAboveTheFullScaleLieOnTheTopEdge)
{
    EXPECT_EQ(RateToY(98'000, 1000, kUploadBaseline, 96, 100), 0);
    EXPECT_EQ(RateToY(2'000'001, 20000, kDownloadBaseline, 192, 200), 0);
    EXPECT_EQ(RateToY(kTenGigabit, 1000, kUploadBaseline, 192, 200), 0);
    EXPECT_EQ(RateToY(kPastFourGigabit, 500, kDownloadBaseline, 96, 100), 0);
    // Never below the graph either, however short it is.
    EXPECT_EQ(RateToY(0, 1000, kDownloadBaseline, 96, 60), 59);
}

TEST(RateGraphLayout, TenUnitsInTwentyDownAHundredHigh)
{
    RateGraphLayout small = LayoutRateGraph(RECT { 0, 0, 157, 150 }, 96, 96);
    EXPECT_EQ(small.graph.left, 10);
    EXPECT_EQ(small.graph.right, 147);
    EXPECT_EQ(small.graph.top, 20);
    EXPECT_EQ(small.graph.bottom, 120);
    EXPECT_EQ(small.width, 137);
    EXPECT_EQ(small.column, 11);
    RateGraphLayout large = LayoutRateGraph(RECT { 0, 0, 314, 300 }, 192, 192);
    EXPECT_EQ(large.graph.left, 20);
    EXPECT_EQ(large.width, 274);
    EXPECT_EQ(large.height, 200);
    EXPECT_EQ(large.column, 22);
}

TEST_P(RateGraphPicture, UnequalTracesEndAtTheRightEdgeWithTheGridLeftOfThem)
{
    // 50 000 bits/s up, 20 000 down for 30 s.
    RateHistory history = SteadyHistory(30, 6250, 2500);
    Draw(history);
    int width = m_graph.Layout().width;
    int newest = width - S(3);
    EXPECT_TRUE(NearRow(newest, S(48), IsUploadTrace)) << std::hex << At(newest, S(48));
    EXPECT_TRUE(NearRow(newest, S(79), [](COLORREF pixel) { return pixel == kYellow; })) << std::hex << At(newest, S(79));
    EXPECT_FALSE(NearRow(newest, S(79), IsUploadTrace));
    // The ring has not wrapped: left of the oldest sample only the grid shows.
    int oldest = width - S(30);
    for (int x = 0; x < oldest - S(1); ++x)
        for (int y : { S(30), S(79), S(98) })
            ASSERT_TRUE(IsGridOnly(At(x, y))) << x << "," << y << ": " << std::hex << At(x, y);
    // The picture stays inside the graph.
    const RECT& graph = m_graph.Layout().graph;
    EXPECT_EQ(GetPixel(m_target, graph.left - 1, graph.top + S(48)), kFill);
    EXPECT_EQ(GetPixel(m_target, graph.right, graph.top + S(79)), kFill);
}

TEST_P(RateGraphPicture, OnceWrappedTheOlderSweepFillsTheLeftSide)
{
    RateHistory history = SteadyHistory(200, 6250, 2500);
    Draw(history);
    // Clear of the middle label.
    EXPECT_TRUE(NearRow(S(60), S(48), IsUploadTrace)) << std::hex << At(S(60), S(48));
    EXPECT_TRUE(NearRow(m_graph.Layout().width / 2, S(79), [](COLORREF pixel) { return pixel == kYellow; }));
}

TEST_P(RateGraphPicture, TheNewestSamplesShowWhenTheRingReachesPastTheGraphsWidth)
{
    // The write slot at 160 lies right of a graph about 137 units wide.
    RateHistory history = SteadyHistory(160, 6250, 2500);
    Draw(history);
    int newest = m_graph.Layout().width - S(3);
    EXPECT_TRUE(NearRow(newest, S(48), IsUploadTrace)) << std::hex << At(newest, S(48));
    EXPECT_TRUE(NearRow(newest, S(79), [](COLORREF pixel) { return pixel == kYellow; })) << std::hex << At(newest, S(79));
}

TEST_P(RateGraphPicture, RatesAboveTheScaleRunAlongTheTopEdgeAndNoFurther)
{
    // 10 Gbit/s down; up at just past 2^32 bits/s, which in 32 bits would read as 8000.
    RateHistory history = SteadyHistory(20, kPastFourGigabit / 8, kTenGigabit / 8);
    Draw(history, kRateScaleLargest);
    int newest = m_graph.Layout().width - S(3);
    // Both lie on the top edge, the download trace drawn over the upload trace.
    EXPECT_TRUE(NearRow(newest, 0, [](COLORREF pixel) { return pixel == kYellow; })) << std::hex << At(newest, 0);
    for (int y = S(10); y < m_graph.Layout().height; ++y)
        ASSERT_TRUE(IsGridOnly(At(newest, y))) << y << ": " << std::hex << At(newest, y);
    const RECT& graph = m_graph.Layout().graph;
    EXPECT_EQ(GetPixel(m_target, graph.left + newest, graph.top - 1), kFill);
}

TEST_P(RateGraphPicture, TheGridMovesOnePixelLeftEachTickAndRepeatsEveryColumn)
{
    RateHistory history = SteadyHistory(3, 0, 0);
    Draw(history);
    int row = S(5);
    int half = m_graph.Layout().width / 2;
    int line = NextGridColumn(half, row);
    ASSERT_GE(line, 0);
    m_graph.Tick(history, history.AverageRecent(5));
    m_graph.Paint(m_target, history);
    EXPECT_EQ(NextGridColumn(half - 1, row), line - 1);
    EXPECT_EQ(m_graph.ScrollOffset(), 2);
    for (int tick = 2; tick < m_graph.Layout().column; ++tick)
        m_graph.Tick(history, history.AverageRecent(5));
    EXPECT_EQ(m_graph.ScrollOffset(), 0);
}

TEST_P(RateGraphPicture, LabelsInWhiteAtTheTopAndAboutTheMiddle)
{
    Draw(SteadyHistory(3, 0, 0), 10000);
    auto whiteIn = [&](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < S(40); ++x)
                {
                COLORREF pixel = At(x, y);
                count += GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200 ? 1 : 0;
            }
        return count;
    };
    int middle = m_graph.Layout().height / 2;
    EXPECT_GT(whiteIn(0, S(12)), 0);
    EXPECT_GT(whiteIn(middle - S(8), middle + S(8)), 0);
    EXPECT_EQ(whiteIn(S(16), middle - S(14)), 0);
    EXPECT_EQ(whiteIn(middle + S(12), m_graph.Layout().height), 0);
}

TEST_P(RateGraphPicture, ReleasesEveryObjectItMadeAndRebuildsWithoutLeaking)
{
    size_t before = platform::ui::LiveGdiObjectCount();
    RateHistory history = SteadyHistory(10, 100, 200);
    Draw(history);
    EXPECT_GT(platform::ui::LiveGdiObjectCount(), before);
    size_t built = platform::ui::LiveGdiObjectCount();
    Draw(history, 2000);
    EXPECT_EQ(platform::ui::LiveGdiObjectCount(), built);
    m_graph.Release();
    m_graph.Release();
    EXPECT_EQ(platform::ui::LiveGdiObjectCount(), before);
    EXPECT_FALSE(m_graph.Built());
}

INSTANTIATE_TEST_SUITE_P(Profiles, RateGraphPicture, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool>& profile) { return profile.param ? "Vga" : "Qvga"; });
