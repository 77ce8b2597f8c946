// The item's status lines as the paint draws them: full view in order, compact view one line
// at a time on the line countdown, the not-present block with and without a phone, and the
// connection time.
#include <gtest/gtest.h>

#include "ItemTestSupport.h"
#include "item/PluginModule.h"
#include "item/StatusLines.h"
#include "platform/ui/WinGdi.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsText.h"
#include "support/RegistryTestSupport.h"
#include "support/TodayScreen.h"

using namespace testing_support;
using item_test::PaintLog;
using Texts = std::vector<std::wstring>;

namespace {

constexpr UINT kCentred = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

class StatusLinesTest : public ::testing::Test {
protected:
    explicit StatusLinesTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga())
        : m_screen(device)
    {
        // The adapter's friendly name, as the device's registry has it.
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"Group", L"NDIS");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE2000", L"ImagePath", L"ne2000.dll");
        PutString(HKEY_LOCAL_MACHINE, L"Comm\\NE20001", L"DisplayName", L"NE2000 Ethernet Driver");
    }

    Settings& TheSettings() { return g_pModule->m_settings; }

    // A LAN, and the module loaded in full view with "Time Connected" its only line.
    void LoadWithOnlyTimeConnectedShown()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        for (DWORD id : { 101u, 102u, 103u, 104u, 105u, 107u, 108u })
            TheSettings().SetViewItem(id, 0, TheSettings().ViewItemAt(TheSettings().SetViewItem(id, 0, 0)).position);
        TheSettings().SetViewItem(ViewTimeConnected, 1, 0);
        TheSettings().SetFullView(1);
    }

    void Start(DWORD fullView)
    {
        m_screen.LoadModule();
        TheSettings().SetFullView(fullView);
        ASSERT_NE(m_screen.CreateItem(), nullptr);
    }

    // Compact view on a LAN, its lines held long enough to paint the address line.
    platform::PaintRecord CompactViewPaintOnALan()
    {
        m_screen.AddLoopbackAndLan();
        Start(0);
        TheSettings().ScrollRate = 9;
        m_screen.AdvanceSeconds(5);
        return m_screen.LastItemPaint();
    }

    // The text drawn by each paint that drew any, with the tick it happened at (seconds).
    std::vector<std::pair<uint64_t, std::wstring>> LinesOverTicks(int ticks)
    {
        PaintLog log(m_screen.Item());
        uint64_t start = m_screen.Clock().MonotonicMs();
        m_screen.AdvanceSeconds(ticks);
        std::vector<std::pair<uint64_t, std::wstring>> lines;
        for (const PaintLog::Entry& entry : log.Entries())
            for (const platform::PaintedText& text : entry.paint.texts)
                lines.emplace_back((entry.tick - start) / 1000, text.text);
        return lines;
    }

    TodayScreen m_screen;
};

class LargeScreenStatusLinesTest : public StatusLinesTest {
protected:
    LargeScreenStatusLinesTest()
        : StatusLinesTest(platform::DeviceProfile::Vga())
    {
    }
};

// A 240 x 320 screen turned to landscape: 320 wide, the widest screen that is still small.
platform::DeviceProfile TurnedQvga()
{
    platform::DeviceProfile device = platform::DeviceProfile::Qvga();
    device.Rotate();
    return device;
}

class TurnedSmallScreenStatusLinesTest : public StatusLinesTest {
protected:
    TurnedSmallScreenStatusLinesTest()
        : StatusLinesTest(TurnedQvga())
    {
    }
};

const Texts kInitialFullView = {
    L"NE2000 Ethernet Driver",
    L"IP Address: 192.168.1.10",
    L"Mask: 255.255.255.0",
    L"Gateway: 192.168.1.1",
    L"DHCP Enabled: No",
    L"Meter Total: 0 B",
    L"DNS Server: 192.168.1.1",
};

} // namespace

TEST_F(StatusLinesTest, FullViewDrawsTheInitialLinesInOrderOneUnderTheOther)
{
    m_screen.AddLoopbackAndLan();
    Start(1);
    platform::PaintRecord paint = m_screen.LastItemPaint();
    EXPECT_EQ(m_screen.LastItemTexts(), kInitialFullView);
    ASSERT_EQ(paint.texts.size(), kInitialFullView.size());
    for (size_t i = 0; i < paint.texts.size(); ++i) {
        EXPECT_EQ(paint.texts[i].rect.top, static_cast<LONG>(13 * i)) << i;
        EXPECT_EQ(paint.texts[i].rect.left, 28);
        // The text stops short of the icon row (3 x 18) and a margin of 2.
        EXPECT_EQ(paint.texts[i].rect.right, 240 - 54 - 2);
        EXPECT_EQ(paint.texts[i].flags, i == 0 ? static_cast<UINT>(DT_NOPREFIX) : 0u) << i;
        EXPECT_EQ(paint.texts[i].color, RGB(0, 0, 0x80));
    }
    EXPECT_EQ(m_screen.Record().cyp, 7u * 13u);
}

TEST_F(StatusLinesTest, FullViewLineCountsTheTwoRowLines)
{
    m_screen.AddLoopbackAndLan();
    m_screen.Network().SetLease(L"NE20001",
        platform::NetLease { true, 0xC0A80101u, 1141740309 - 3600, 1141740309 + 86400 });
    m_screen.LoadModule();
    TheSettings().SetFullView(1);
    TheSettings().MeterShowsTotal = 0;
    TheSettings().SetViewItem(ViewDataRate, 1, 7);
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    Texts texts = m_screen.LastItemTexts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[4].rfind(L"Lease Expires: ", 0), 0u) << texts[4];
    EXPECT_EQ(texts[5], L"Meter Upload: 0 B\nMeter Download: 0 B");
    EXPECT_EQ(texts[7], L"Data Upload: 0.0 kbps\nData Download: 0.0 kbps");
    // Seven one-row lines and two that take two rows.
    EXPECT_EQ(m_screen.Record().cyp, 10u * 13u);
    EXPECT_EQ(m_screen.LastItemPaint().texts[6].rect.top, 6 * 13 + 13);
}

TEST_F(StatusLinesTest, DataRateAndMeterAtTenGigabitsFromCountersPast32Bits)
{
    m_screen.AddLoopbackAndLan();
    // 7 Gbit/s sent and 10 Gbit/s received, the counters starting just below 2^32: their
    // 32-bit halves wrap within a second, every few seconds after.
    m_screen.Network().SetCounters(L"NE20001", 0xFFFFFF00u, 0xFFFFFFF0u);
    m_screen.Network().SetRates(L"NE20001", 1250000000u, 875000000u);
    m_screen.LoadModule();
    TheSettings().SetFullView(1);
    TheSettings().MeterShowsTotal = 0;
    TheSettings().SetViewItem(ViewDataRate, 1, 7);
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    m_screen.AdvanceSeconds(8);
    Texts texts = m_screen.LastItemTexts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[7], L"Data Upload: 6.5 Gbps\nData Download: 9.3 Gbps");
    // The meter counts the whole counters, past 4 GB each way: 8 seconds of traffic now, 6 when
    // its line was last painted.
    const Meter& meter = g_pModule->m_meter;
    EXPECT_EQ(meter.UploadTotal(), 0xFFFFFFF0u + 8ull * 875000000u);
    EXPECT_EQ(meter.DownloadTotal(), 0xFFFFFF00u + 8ull * 1250000000u);
    EXPECT_EQ(texts[5], L"Meter Upload: 8.9 GB\nMeter Download: 11.0 GB");
}

TEST_F(StatusLinesTest, AStoredLineOfUnknownIdDrawsNothingAndTheOthersStillDo)
{
    m_screen.AddLoopbackAndLan();
    // The stored table names an id no line has in the second place.
    std::vector<ViewItem> stored(kViewItemCount);
    const DWORD ids[kViewItemCount] = { 101, 150, 103, 104, 105, 107, 108, 109, 110, 111 };
    for (DWORD i = 0; i < kViewItemCount; ++i) {
        stored[i].id = ids[i];
        stored[i].name = ViewItemName(ids[i]);
        stored[i].visible = i < 3 ? 1 : 0;
        stored[i].position = i;
    }
    PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"ViewItems", FormatViewItems(stored.data(), stored.size()));
    PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved", 1);
    Start(1);
    EXPECT_EQ(m_screen.LastItemTexts(), (Texts { L"NE2000 Ethernet Driver", L"Mask: 255.255.255.0" }));
}

TEST_F(StatusLinesTest, CompactViewStepsThroughTheLinesAtScrollRateFive)
{
    m_screen.AddLoopbackAndLan();
    Start(0);
    // The creation paint showed the first line; the next shows every fifth tick.
    EXPECT_EQ(m_screen.LastItemTexts(), Texts { L"NE2000 Ethernet Driver" });
    auto lines = LinesOverTicks(45);
    std::vector<std::pair<uint64_t, std::wstring>> expected = {
        { 5, L"IP Address: 192.168.1.10" },
        { 10, L"Mask: 255.255.255.0" },
        { 15, L"Gateway: 192.168.1.1" },
        { 20, L"DHCP Enabled: No" },
        { 25, L"Meter Total: 0 B" },
        { 30, L"DNS Server: 192.168.1.1" },
        // The paint of the last visible line carried the cursor back to the first.
        { 35, L"NE2000 Ethernet Driver" },
        { 40, L"IP Address: 192.168.1.10" },
        { 45, L"Mask: 255.255.255.0" },
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(StatusLinesTest, ScrollRateNineChangesTheLineEveryTickAndOneEveryNinth)
{
    m_screen.AddLoopbackAndLan();
    Start(0);
    TheSettings().ScrollRate = 9;
    // The countdown set by the creation paint (4) runs out first.
    m_screen.AdvanceSeconds(5);
    auto fast = LinesOverTicks(3);
    ASSERT_EQ(fast.size(), 3u);
    EXPECT_EQ(fast[0], std::make_pair(uint64_t { 1 }, std::wstring(L"Mask: 255.255.255.0")));
    EXPECT_EQ(fast[1].first, 2u);
    EXPECT_EQ(fast[2].first, 3u);

    TheSettings().ScrollRate = 1;
    auto slow = LinesOverTicks(20);
    ASSERT_EQ(slow.size(), 3u);
    // The line shown at the last fast tick set a countdown of 0: the next tick repaints, and
    // from then on every ninth.
    EXPECT_EQ(slow[0].first, 1u);
    EXPECT_EQ(slow[1].first, 10u);
    EXPECT_EQ(slow[2].first, 19u);
}

TEST_F(StatusLinesTest, WithoutANetworkTheAutomaticChoiceSaysNoConnectedInterfaces)
{
    m_screen.AddLoopbackAndLan();
    m_screen.Network().RemoveInterface(L"NE20001");
    Start(1);
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(g_pModule->m_item.uiNetAct, 5u);
    platform::PaintRecord paint = m_screen.LastItemPaint();
    ASSERT_EQ(paint.texts.size(), 1u);
    EXPECT_EQ(paint.texts[0].text, L"No connected interfaces");
    EXPECT_EQ(paint.texts[0].flags, static_cast<UINT>(DT_NOPREFIX));
}

TEST_F(LargeScreenStatusLinesTest, CompactViewCentresValueLinesAndTheNotPresentLine)
{
    platform::PaintRecord paint = CompactViewPaintOnALan();
    ASSERT_EQ(paint.texts.size(), 1u);
    EXPECT_EQ(paint.texts[0].text, L"IP Address: 192.168.1.10");
    EXPECT_EQ(paint.texts[0].flags, kCentred);
    EXPECT_EQ(paint.texts[0].rect.left, 56);

    m_screen.Network().RemoveInterface(L"NE20001");
    m_screen.AdvanceSeconds(1);
    paint = m_screen.LastItemPaint();
    ASSERT_EQ(paint.texts.size(), 1u);
    EXPECT_EQ(paint.texts[0].text, L"No connected interfaces");
    EXPECT_EQ(paint.texts[0].flags, kCentred);
}

TEST_F(TurnedSmallScreenStatusLinesTest, AScreen320WideKeepsTheSmallScreensLeftAlignedLines)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    platform::PaintRecord paint = CompactViewPaintOnALan();
    ASSERT_EQ(paint.texts.size(), 1u);
    EXPECT_EQ(paint.texts[0].text, L"IP Address: 192.168.1.10");
    EXPECT_NE(paint.texts[0].flags, kCentred);
    EXPECT_EQ(paint.texts[0].rect.left, 28);
}

TEST_F(StatusLinesTest, AChosenAdapterThatIsAbsentIsNamed)
{
    m_screen.AddLoopbackAndLan();
    m_screen.LoadModule();
    TheSettings().InterfaceIndex = 0;
    TheSettings().InterfaceString = L"NE20001";
    m_screen.Network().RemoveInterface(L"NE20001");
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(m_screen.LastItemTexts(), (Texts { L"Not connected:", L"NE2000 Ethernet Driver" }));
    for (const platform::PaintedText& text : m_screen.LastItemPaint().texts)
        EXPECT_EQ(text.flags, static_cast<UINT>(DT_NOPREFIX));
}

TEST_F(StatusLinesTest, OnAPhoneTheNotPresentBlockShowsTheVoiceNetwork)
{
    m_screen.AddLoopbackAndLan();
    m_screen.Network().RemoveInterface(L"NE20001");
    m_screen.Modem().SetTelephony(true);
    Start(0);
    ASSERT_EQ(g_pModule->m_phone.PhoneEditionEnabled(), 1u);

    struct Case {
        std::optional<DWORD> status;
        std::wstring operatorName;
        Texts expected;
    };
    const Case cases[] = {
        { 1, L"Sim Mobile", { L"Not connected to voice network" } },
        { 4, L"Sim Mobile", { L"Attempting voice connection" } },
        { 5, L"Sim Mobile", { L"Sim Mobile", L"Signal Strength: " } },
        { 6, L"", { L"Connected to voice network", L"Signal Strength: " } },
        { std::nullopt, L"Sim Mobile", { L"No connected interfaces" } },
    };
    for (const Case& c : cases) {
        m_screen.Modem().SetRegistration(c.status);
        m_screen.Modem().SetOperator(c.operatorName, L"");
        InvalidateRect(m_screen.Item(), nullptr, TRUE);
        UpdateWindow(m_screen.Item());
        Texts texts = m_screen.LastItemTexts();
        ASSERT_EQ(texts.size(), c.expected.size()) << (texts.empty() ? L"" : texts[0]).c_str();
        EXPECT_EQ(texts[0], c.expected[0]);
        if (c.expected.size() > 1) {
            EXPECT_EQ(texts[1].rfind(c.expected[1], 0), 0u) << texts[1];
        }
        for (const platform::PaintedText& text : m_screen.LastItemPaint().texts)
            EXPECT_EQ(text.flags, static_cast<UINT>(DT_NOPREFIX));
    }
}

TEST(TimeConnected, TextsBelowADayForOneDayAndForMore)
{
    EXPECT_EQ(TimeConnectedText(0), L"Time Connected: 00:00:00");
    EXPECT_EQ(TimeConnectedText(3725), L"Time Connected: 01:02:05");
    EXPECT_EQ(TimeConnectedText(86399), L"Time Connected: 23:59:59");
    EXPECT_EQ(TimeConnectedText(86400 + 3600 + 60 + 1), L"Time Connected: 1 day 01:01");
    EXPECT_EQ(TimeConnectedText(200000), L"Time Connected: 2 days 07:33");
}

TEST(TimeConnected, ZeroUntilConnectedAndNeverNegative)
{
    platform::CalendarTime since = platform::CalendarTime::FromUnixSeconds(1'700'000'000);
    EXPECT_EQ(ConnectedSeconds(false, platform::CalendarTime(), since), 0);
    EXPECT_EQ(ConnectedSeconds(true, since, since + 90061), 90061);
    EXPECT_EQ(ConnectedSeconds(true, since, since - 5), 0); // the clock set back
    EXPECT_EQ(ConnectedSeconds(true, platform::CalendarTime(), since + 3'000'000'000LL), INT32_MAX);
}

TEST_F(StatusLinesTest, TimeConnectedIsZeroWhenPaintedBeforeTheFirstTick)
{
    LoadWithOnlyTimeConnectedShown();
    m_screen.AdvanceSeconds(3600); // a clock well past 1970 before the item exists
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    ASSERT_FALSE(g_pModule->m_item.connected);
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    UpdateWindow(m_screen.Item());
    EXPECT_EQ(m_screen.LastItemTexts(), Texts { L"Time Connected: 00:00:00" });
}

TEST_F(StatusLinesTest, TimeConnectedCountsFromTheFirstConnectedTick)
{
    LoadWithOnlyTimeConnectedShown();
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    m_screen.AdvanceSeconds(1); // connected from here
    m_screen.AdvanceSeconds(3725);
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    UpdateWindow(m_screen.Item());
    EXPECT_EQ(m_screen.LastItemTexts(), Texts { L"Time Connected: 01:02:05" });

    // Losing the network clears the connection; the next connected tick starts it again.
    m_screen.Network().SetUp(L"NE20001", true);
    platform::SimInterfaceSetup lan;
    m_screen.Network().RemoveInterface(L"NE20001");
    m_screen.AdvanceSeconds(1);
    EXPECT_FALSE(g_pModule->m_item.connected);
    m_screen.AddLoopbackAndLan(L"NE20001", "192.168.1.11");
    m_screen.AdvanceSeconds(1);
    EXPECT_TRUE(g_pModule->m_item.connected);
    m_screen.AdvanceSeconds(7);
    InvalidateRect(m_screen.Item(), nullptr, TRUE);
    UpdateWindow(m_screen.Item());
    EXPECT_EQ(m_screen.LastItemTexts(), Texts { L"Time Connected: 00:00:07" });
}
