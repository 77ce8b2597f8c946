// The item window's engine: what the tick repaints when the activity changes, the height the
// refresh query reports, the usage log written at the hour, and the move handling.
#include <gtest/gtest.h>

#include "ItemTestSupport.h"
#include "item/ItemWindow.h"
#include "item/PluginModule.h"
#include "platform/files/Files.h"
#include "platform/text/Utf16.h"
#include "resources/ResourceIds.h"
#include "support/TodayScreen.h"

using namespace testing_support;
using item_test::PaintLog;

namespace {

class ItemWindowTest : public ::testing::Test {
protected:
    void Start(DWORD fullView)
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        g_pModule->m_settings.SetFullView(fullView);
        ASSERT_NE(m_screen.CreateItem(), nullptr);
    }
    ItemState& State() { return g_pModule->m_item; }

    TodayScreen m_screen;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string ReadFileBytes(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

} // namespace

TEST_F(ItemWindowTest, SendingRepaintsOnlyTheActivityIconStrip)
{
    Start(0);
    m_screen.Network().SetRates(L"NE20001", std::nullopt, 1000);
    PaintLog log(m_screen.Item());
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(State().uiNetAct, static_cast<DWORD>(ActivitySending));
    ASSERT_EQ(log.Entries().size(), 1u);
    const platform::PaintRecord& paint = log.Entries()[0].paint;
    EXPECT_TRUE(SameRect(paint.paintRect, RECT { 2, 0, 18, 26 }));
    EXPECT_TRUE(paint.erased);
    EXPECT_TRUE(item_test::HasIcon(paint, IDI_SMALL_SENDING));
    EXPECT_TRUE(paint.texts.empty());
    EXPECT_EQ(m_screen.Refresh(), 0);
}

TEST_F(ItemWindowTest, LosingTheNetworkRepaintsTheWholeItemAndShrinksIt)
{
    Start(1);
    EXPECT_EQ(m_screen.Record().cyp, 7u * 13u);
    m_screen.AdvanceSeconds(1);
    m_screen.Network().RemoveInterface(L"NE20001");
    PaintLog log(m_screen.Item());
    item_test::DesktopSettingLog desktop;
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(State().uiNetAct, static_cast<DWORD>(ActivityNoConnection));
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_TRUE(SameRect(log.Entries()[0].paint.paintRect, RECT { 0, 0, 240, 91 }));
    EXPECT_TRUE(item_test::HasIcon(log.Entries()[0].paint, IDI_SMALL_NOCONNECTION));

    // The next refresh query measures two lines; the paint after it asks the shell to lay
    // the screen out again.
    EXPECT_EQ(m_screen.Refresh(), 1);
    EXPECT_EQ(m_screen.Record().cyp, 26u);
    EXPECT_EQ(State().shrinkCountdown, 1);
    m_screen.Driver().Pump();
    EXPECT_EQ(State().shrinkCountdown, 0);
    EXPECT_EQ(desktop.Changes(), std::vector<WPARAM> { 0xF2 });
    EXPECT_EQ(m_screen.LastItemTexts(), std::vector<std::wstring> { L"No connected interfaces" });

    // Coming back grows it again, without a layout request.
    m_screen.AddLoopbackAndLan();
    m_screen.AdvanceSeconds(1);
    EXPECT_EQ(m_screen.Refresh(), 1);
    EXPECT_EQ(m_screen.Record().cyp, 91u);
    EXPECT_EQ(State().shrinkCountdown, 0);
}

TEST_F(ItemWindowTest, ARefreshQueryWithNothingChangedLeavesTheHeight)
{
    Start(1);
    EXPECT_EQ(m_screen.Refresh(), 0);
    EXPECT_EQ(m_screen.Record().cyp, 91u);
    // The View page hides a line and asks for a new measure.
    g_pModule->m_settings.SetViewItem(ViewDnsServer, 0, 6);
    State().remeasure = true;
    EXPECT_EQ(m_screen.Refresh(), 1);
    EXPECT_EQ(m_screen.Record().cyp, 78u);
    EXPECT_FALSE(State().remeasure);
    EXPECT_EQ(m_screen.Refresh(), 0);
}

TEST_F(ItemWindowTest, WithOnlyTheLoopbackTheItemIsNotConnectedAndTheHistoryGetsZeros)
{
    m_screen.LoadModule();
    platform::SimInterfaceSetup loopback;
    loopback.name = L"LOOPBACK";
    loopback.type = 24;
    m_screen.Network().AddInterface(loopback);
    ASSERT_NE(m_screen.CreateItem(), nullptr);
    m_screen.AdvanceSeconds(3);
    EXPECT_EQ(State().uiNetAct, static_cast<DWORD>(ActivityNoConnection));
    EXPECT_FALSE(State().connected);
    EXPECT_EQ(g_pModule->m_rateHistory.WriteSlot(), 3u);
    EXPECT_EQ(g_pModule->m_rateHistory.SampleBack(0).up, 0u);
    // Whatever the timer's id, the tick runs.
    SendMessageW(m_screen.Item(), WM_TIMER, 99, 0);
    EXPECT_EQ(g_pModule->m_rateHistory.WriteSlot(), 4u);

    // The connection time is taken at the first tick that finds a second interface.
    m_screen.AddLoopbackAndLan();
    m_screen.AdvanceSeconds(1);
    EXPECT_TRUE(State().connected);
    EXPECT_EQ(State().connectTime, platform::CalendarTime::Now());
}

TEST_F(ItemWindowTest, TheUsageMonthFileIsWrittenWhenTheHourEnds)
{
    // 14:59:50 local time (the tests run in UTC).
    m_screen.Clock().SetUnixSeconds(1141743590);
    Start(0);
    m_screen.Network().SetRates(L"NE20001", 300, 100);
    m_screen.AdvanceSeconds(5);
    EXPECT_EQ(ReadFileBytes(L"\\Program Files\\Velmora\\UsageData200603.txt"), "");
    m_screen.AdvanceSeconds(6);
    std::string bytes = ReadFileBytes(L"\\Program Files\\Velmora\\UsageData200603.txt");
    std::wstring text = DecodeUtf16Le(bytes);
    EXPECT_EQ(text.rfind(L"2006-3-7-14 ", 0), 0u) << text;
    EXPECT_NE(text.find(L"ne20001 "), std::wstring::npos) << text;
}

TEST_F(ItemWindowTest, AShortSlideDownIsUndoneAndALongerOneKept)
{
    Start(0);
    HWND item = m_screen.Item();
    EXPECT_EQ(State().lastTop, TodayScreen::kItemTop);
    MoveWindow(item, 0, TodayScreen::kItemTop + 5, 240, 26, TRUE);
    RECT rect {};
    GetWindowRect(item, &rect);
    POINT topLeft { rect.left, rect.top };
    ScreenToClient(m_screen.Today(), &topLeft);
    EXPECT_EQ(topLeft.y, TodayScreen::kItemTop);
    EXPECT_EQ(State().lastTop, TodayScreen::kItemTop);

    MoveWindow(item, 0, TodayScreen::kItemTop + 10, 240, 26, TRUE);
    GetWindowRect(item, &rect);
    topLeft = POINT { rect.left, rect.top };
    ScreenToClient(m_screen.Today(), &topLeft);
    EXPECT_EQ(topLeft.y, TodayScreen::kItemTop + 10);
    EXPECT_EQ(State().lastTop, TodayScreen::kItemTop + 10);

    // Upwards is always accepted.
    MoveWindow(item, 0, 2, 240, 26, TRUE);
    EXPECT_EQ(State().lastTop, 2);
}
