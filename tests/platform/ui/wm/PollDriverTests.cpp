#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/debug/DebugConsole.h"
#include "platform/time/Clock.h"
#include "platform/ui/Display.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Observe.h"
#include "platform/ui/wm/PollDriver.h"
#include "platform/ui/wm/WindowManager.h"

using platform::ui::PollDriver;
using platform::ui::SleepUntilDue;
using platform::ui::WindowManager;

namespace {

constexpr UINT kNoted = WM_USER + 7;

// What the test window heard: each WM_TIMER's id and tick, the private messages.
std::vector<std::pair<UINT_PTR, DWORD>> g_timers;
std::vector<UINT> g_messages;
std::function<void(HWND, UINT_PTR)> g_onTimer;

LRESULT HearingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        g_timers.emplace_back(wParam, GetTickCount());
        if (g_onTimer)
            g_onTimer(window, wParam);
    } else if (message >= WM_USER) {
        g_messages.push_back(message);
    }
    return message == WM_TIMER ? 0 : DefWindowProcW(window, message, wParam, lParam);
}

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0); }
    Pipe(const Pipe&) = delete;
    ~Pipe() { Close(); }
    void Close()
    {
        for (int& fd : fds) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    void Write() const { EXPECT_EQ(::write(fds[1], "x", 1), 1); }
    void Drain() const
    {
        for (char buffer[16]; ::read(fds[0], buffer, sizeof buffer) > 0;) {
        }
    }
    int fds[2] = { -1, -1 };
};

class PollDriverTest : public ::testing::Test {
protected:
    PollDriverTest()
    {
        // A wait that never ends kills the test program instead of hanging the suite.
        ::alarm(20);
        WindowManager::Get().SetDriver(&m_driver);
        platform::DestroyAllWindows();
        platform::ChangeDevice(platform::DeviceProfile::Qvga());
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = HearingProc;
        windowClass.lpszClassName = L"PollDriverTestWindow";
        EXPECT_NE(RegisterClassW(&windowClass), 0);
        // Hidden: nothing to paint keeps the loop awake.
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
            nullptr, nullptr);
        g_timers.clear();
        g_messages.clear();
        // Takes the set-up's wake, so that the next wait sleeps unless the test gives it work.
        platform::ui::PumpReadyMessages();
        PostMessageW(nullptr, WM_NULL, 0, 0);
        m_driver.WaitForMessage();
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_NULL, WM_NULL, PM_REMOVE));
    }
    ~PollDriverTest() override
    {
        platform::DestroyAllWindows();
        UnregisterClassW(L"PollDriverTestWindow", nullptr);
        WindowManager::Get().SetDriver(nullptr);
        g_onTimer = nullptr;
        ::alarm(0);
    }

    size_t Fired(UINT_PTR id) const
    {
        return std::count_if(g_timers.begin(), g_timers.end(), [id](auto& timer) { return timer.first == id; });
    }

    PollDriver m_driver;
    HWND m_window = nullptr;
};

} // namespace

TEST(PollDriverSleep, OneMillisecondPastTheDueTimeNeverBefore)
{
    auto ns = [](timespec t) { return t.tv_sec * 1'000'000'000L + t.tv_nsec; };
    EXPECT_EQ(ns(SleepUntilDue(10'040, 10'000)), 41'000'000L);
    EXPECT_EQ(ns(SleepUntilDue(13'250, 10'000)), 3'251'000'000L);
    // The millisecond more carries into the seconds; due now or overdue is no sleep.
    EXPECT_EQ(SleepUntilDue(11'000, 10'001).tv_sec, 1);
    EXPECT_EQ(SleepUntilDue(11'000, 10'001).tv_nsec, 0);
    EXPECT_EQ(ns(SleepUntilDue(10'000, 10'000)), 0);
    EXPECT_EQ(ns(SleepUntilDue(9'990, 10'000)), 0);
    // The farthest due time still sleeps, for its whole length.
    EXPECT_EQ(static_cast<uint64_t>(SleepUntilDue(UINT64_MAX, 3).tv_sec), (UINT64_MAX - 3) / 1000);
    EXPECT_EQ(SleepUntilDue(UINT64_MAX, 3).tv_nsec, 613'000'000L);
}

TEST_F(PollDriverTest, TimersOfDifferentPeriodsFireInDueOrderWakingTheThreadOncePerDueTimer)
{
    DWORD start = GetTickCount();
    SetTimer(m_window, 1, 40, nullptr);
    SetTimer(m_window, 2, 70, nullptr);
    MSG msg;
    for (int i = 0; i < 200 && (Fired(1) < 4 || Fired(2) < 2); ++i) {
        ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
        DispatchMessageW(&msg);
    }
    ASSERT_GE(Fired(1), 4u);
    ASSERT_GE(Fired(2), 2u);
    // 40, 70, 80: the first of each, then the shorter again; the n-th firing of each at n
    // periods at the earliest.
    EXPECT_EQ((std::vector<UINT_PTR> { g_timers[0].first, g_timers[1].first, g_timers[2].first }),
        (std::vector<UINT_PTR> { 1, 2, 1 }));
    DWORD counts[3] = {};
    for (auto [id, tick] : g_timers)
        EXPECT_GE(tick - start, ++counts[id] * (id == 1 ? 40 : 70)) << "timer " << id << " firing " << counts[id];
    // Each sleep ends with a timer due (two when the thread came late): a wake before the due
    // time would count one more.
    EXPECT_GE(m_driver.Sleeps(), 1u);
    EXPECT_LE(m_driver.Sleeps(), g_timers.size());
}

TEST_F(PollDriverTest, MessagesPaintsAndDescriptorsEndTheWait)
{
    // Queued work, or a window to paint, keeps the thread awake even after the wake was taken.
    PostMessageW(m_window, kNoted, 0, 0);
    m_driver.WaitForMessage();
    m_driver.WaitForMessage();
    ShowWindow(m_window, SW_SHOW);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, kNoted, kNoted, PM_REMOVE));
    m_driver.WaitForMessage();
    m_driver.WaitForMessage();
    EXPECT_EQ(m_driver.Sleeps(), 0u);
    platform::ui::PumpReadyMessages();

    // A pipe written from another thread ends a wait without timers; its handler posts.
    Pipe pipe;
    int handled = 0;
    m_driver.WatchReadable(pipe.fds[0], [&] {
        ++handled;
        pipe.Drain();
        PostMessageW(m_window, kNoted + 1, 0, 0);
    });
    DWORD start = GetTickCount();
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pipe.Write();
    });
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    writer.join();
    ASSERT_GT(got, 0);
    EXPECT_EQ(msg.message, kNoted + 1);
    EXPECT_GE(msg.time - start, 30u);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(m_driver.Sleeps(), 1u);
    m_driver.UnwatchReadable(pipe.fds[0]);
}

TEST_F(PollDriverTest, HandlersUnwatchAndWatchWhileTheReadyOnesRun)
{
    Pipe first, second;
    std::optional<Pipe> replacement;
    int runs[3] = {};
    // Captures enough that running it after its watch is gone reads freed memory.
    std::string name(64, 'f');
    m_driver.WatchReadable(first.fds[0], [&, name] {
        ++runs[0];
        // Left unread: were it still watched it would run at every wait.
        m_driver.UnwatchReadable(first.fds[0]);
        // The second, ready too, goes; its number comes back as a descriptor nobody wrote.
        m_driver.UnwatchReadable(second.fds[0]);
        second.Close();
        replacement.emplace();
        EXPECT_EQ(name.size(), 64u);
        m_driver.WatchReadable(replacement->fds[0], [&] {
            ++runs[2];
            replacement->Drain();
        });
    });
    m_driver.WatchReadable(second.fds[0], [&] { ++runs[1]; });
    first.Write();
    second.Write();
    for (int i = 0; i < 5 && runs[0] == 0; ++i)
        m_driver.WaitForMessage();
    EXPECT_EQ((std::vector<int>(runs, runs + 3)), (std::vector<int> { 1, 0, 0 }));

    replacement->Write();
    for (int i = 0; i < 5 && runs[2] == 0; ++i)
        m_driver.WaitForMessage();
    EXPECT_EQ((std::vector<int>(runs, runs + 3)), (std::vector<int> { 1, 0, 1 }));
    m_driver.UnwatchReadable(replacement->fds[0]);
}

TEST_F(PollDriverTest, ATimerEndsAModalLoopAndAQuitRequestTheEventLoop)
{
    bool finished = false;
    g_onTimer = [&](HWND window, UINT_PTR id) {
        KillTimer(window, id);
        if (id == 5) {
            finished = true;
            return;
        }
        PostMessageW(window, kNoted + 1, 0, 0);
        PostQuitMessage(7);
        PostMessageW(window, kNoted + 2, 0, 0);
    };
    DWORD start = GetTickCount();
    PostMessageW(m_window, kNoted, 0, 0);
    SetTimer(m_window, 5, 35, nullptr);
    m_driver.RunModal(m_window, [&] { return finished; });
    ASSERT_EQ(g_timers.size(), 1u);
    EXPECT_GE(g_timers[0].second - start, 35u);
    EXPECT_LE(m_driver.Sleeps(), 2u);

    SetTimer(m_window, 6, 25, nullptr);
    EXPECT_EQ(platform::RunEventLoop(), 7);
    // Posted messages come before the quit request, as on the device.
    EXPECT_EQ(g_messages, (std::vector<UINT> { kNoted, kNoted + 1, kNoted + 2 }));
}

TEST_F(PollDriverTest, FaultsAreReportedAndDoNotSpin)
{
    std::string debug;
    platform::CaptureDebugOutput(&debug);
    // A descriptor closed under its watch is dropped: it would end every wait at once.
    Pipe closed;
    m_driver.WatchReadable(closed.fds[0], [] { ADD_FAILURE() << "a closed descriptor's handler ran"; });
    closed.Close();
    m_driver.WaitForMessage();
    g_onTimer = [](HWND window, UINT_PTR id) { KillTimer(window, id); };
    SetTimer(m_window, 4, 20, nullptr);
    MSG msg;
    ASSERT_GT(GetMessageW(&msg, nullptr, 0, 0), 0);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    DispatchMessageW(&msg);
    EXPECT_EQ(m_driver.Sleeps(), 2u);

    // More descriptors than the process may open: ppoll refuses. The thread sleeps a while
    // each time instead of the loop asking again at once, and says why once.
    Pipe a, b;
    for (int fd : { a.fds[0], a.fds[1], b.fds[0] })
        m_driver.WatchReadable(fd, [] {});
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = 2;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    uint64_t start = WindowManager::NowMs();
    for (int i = 0; i < 3; ++i)
        m_driver.WaitForMessage();
    uint64_t elapsed = WindowManager::NowMs() - start;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    platform::CaptureDebugOutput(nullptr);
    for (int fd : { a.fds[0], a.fds[1], b.fds[0] })
        m_driver.UnwatchReadable(fd);
    EXPECT_GE(elapsed, 300u);
    EXPECT_NE(debug.find("PollDriver: ClosedDescriptor"), std::string::npos) << debug;
    EXPECT_NE(debug.find("PollDriver: WaitFailed"), std::string::npos) << debug;
    EXPECT_EQ(debug.find("PollDriver: WaitFailed"), debug.rfind("PollDriver: WaitFailed")) << debug;
}
