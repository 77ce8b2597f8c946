#include "UiTestSupport.h"

#include "platform/core/LastError.h"

using namespace ui_test;

namespace {

class MessageTest : public UiTest { };

std::vector<UINT_PTR> g_timerProcIds;
void RecordingTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    g_timerProcIds.push_back(id);
}

} // namespace

TEST_F(MessageTest, SendIsImmediateAndPostWaitsForTheDriverInOrder)
{
    HWND window = MakeTopLevel();
    m_driver.Pump();
    Answers() = [](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_USER)
            return false;
        result = static_cast<LRESULT>(wParam) * 2;
        return true;
    };
    Log().clear();
    EXPECT_EQ(SendMessageW(window, WM_USER, 21, 0), 42);
    EXPECT_TRUE(PostMessageW(window, WM_USER + 5, 1, 0));
    EXPECT_TRUE(PostMessageW(window, WM_USER + 6, 2, 0));
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_USER }));
    m_driver.Pump();
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_USER, WM_USER + 5, WM_USER + 6 }));

    SetLastError(0);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(0xDEAD0)), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(static_cast<uintptr_t>(0xDEAD0)), WM_USER, 0, 0), 0);
}

TEST_F(MessageTest, MessagesPostedToADestroyedWindowAreDropped)
{
    HWND window = MakeTopLevel();
    m_driver.Pump();
    PostMessageW(window, WM_USER + 9, 0, 0);
    DestroyWindow(window);
    Log().clear();
    m_driver.Pump();
    EXPECT_TRUE(Log().empty());
}

TEST_F(MessageTest, PostedMessagesComeBeforePaintsAndPaintsBeforeTimers)
{
    HWND window = MakeTopLevel();
    m_driver.Pump();
    SetTimer(window, 1, 100, nullptr);
    m_clock.Clock().AdvanceMs(100); // the timer is due, but nothing has been dispatched yet
    InvalidateRect(window, nullptr, FALSE);
    PostMessageW(window, WM_USER, 0, 0);
    Log().clear();
    m_driver.Pump();
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_USER, WM_PAINT, WM_TIMER }));

    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    PostQuitMessage(3);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageTest, TimersFireInVirtualTimeInOrderOfDueTimeThenOfSetting)
{
    HWND a = MakeTopLevel();
    HWND b = MakeTopLevel();
    m_driver.Pump();
    DWORD start = GetTickCount();
    SetTimer(a, 11, 1000, nullptr);
    SetTimer(b, 16, 500, nullptr);
    SetTimer(b, 13, 1000, nullptr);
    Log().clear();
    m_driver.AdvanceMs(499);
    EXPECT_TRUE(LoggedKinds(nullptr, { WM_TIMER }).empty());
    m_driver.AdvanceMs(2501); // to 3000 ms
    std::vector<std::pair<UINT_PTR, DWORD>> fired;
    for (const LoggedMessage& m : Log()) {
        if (m.message == WM_TIMER)
            fired.emplace_back(m.wParam, m.tick - start);
    }
    EXPECT_EQ(fired, (std::vector<std::pair<UINT_PTR, DWORD>> { { 16, 500 }, { 11, 1000 }, { 16, 1000 }, { 13, 1000 },
                         { 16, 1500 }, { 11, 2000 }, { 16, 2000 }, { 13, 2000 }, { 16, 2500 }, { 11, 3000 },
                         { 16, 3000 }, { 13, 3000 } }));
}

TEST_F(MessageTest, SettingATimerAgainRestartsItAndKillingStopsIt)
{
    HWND window = MakeTopLevel();
    m_driver.Pump();
    SetTimer(window, 14, 400, nullptr);
    m_driver.AdvanceMs(300);
    SetTimer(window, 14, 400, nullptr); // restarted: due at 700, not 400
    Log().clear();
    m_driver.AdvanceMs(399);
    EXPECT_TRUE(LoggedKinds(window, { WM_TIMER }).empty());
    m_driver.AdvanceMs(1);
    EXPECT_EQ(LoggedKinds(window, { WM_TIMER }).size(), 1u);
    EXPECT_TRUE(KillTimer(window, 14));
    EXPECT_FALSE(KillTimer(window, 14));
    m_driver.AdvanceMs(5000);
    EXPECT_EQ(LoggedKinds(window, { WM_TIMER }).size(), 1u);

    // A timer procedure is called instead of the window procedure.
    g_timerProcIds.clear();
    SetTimer(window, 15, 50, RecordingTimerProc);
    Log().clear();
    m_driver.AdvanceMs(100);
    EXPECT_EQ(g_timerProcIds, (std::vector<UINT_PTR> { 15, 15 }));
    EXPECT_TRUE(LoggedKinds(window, { WM_TIMER }).empty());

    // A destroyed window's timers die with it.
    DestroyWindow(window);
    m_driver.AdvanceMs(100);
    EXPECT_EQ(g_timerProcIds.size(), 2u);
}

TEST_F(MessageTest, StylusTapsArriveInClientCoordinates)
{
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE | WS_BORDER);
    HWND child = MakeChild(top, 1, RECT { 10, 10, 60, 40 });
    m_driver.Pump();
    Log().clear();
    m_driver.Tap(child, 12, 7);
    ASSERT_EQ(LoggedKinds(child), (std::vector<UINT> { WM_LBUTTONDOWN, WM_LBUTTONUP }));
    EXPECT_EQ(GET_X_LPARAM(Log()[0].lParam), 12);
    EXPECT_EQ(GET_Y_LPARAM(Log()[1].lParam), 7);
    EXPECT_EQ(Log()[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
}
