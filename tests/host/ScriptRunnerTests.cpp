// The script runner in this process, on the shell with no items: where a tap lands, and the
// answer it gives the next message box.
#include <gtest/gtest.h>

#include "host/ScriptRunner.h"
#include "host/TodayShell.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/ShellHost.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "platform/ui/WinUser.h"
#include "support/RegistryScope.h"
#include "support/TestSupport.h"

namespace {

int g_answer = 0;
int g_taps = 0;
std::vector<std::pair<WPARAM, LPARAM>> g_iconTaps;
constexpr UINT kIconMessage = WM_APP + 5;

// A window that asks a question when tapped.
LRESULT AskingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kIconMessage) {
        g_iconTaps.emplace_back(wParam, lParam);
        return 0;
    }
    if (message == WM_LBUTTONUP) {
        ++g_taps;
        g_answer = MessageBoxW(window, L"Delete the logs?", L"Velmora", MB_YESNO | MB_ICONQUESTION);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ScriptRunnerTest : public testing::Test {
protected:
    ScriptRunnerTest()
        : m_driver(m_clock.Clock())
    {
        platform::DestroyAllWindows();
        m_shell.Start();
        WNDCLASSW asking {};
        asking.lpfnWndProc = AskingProc;
        asking.lpszClassName = L"AskingWindow";
        RegisterClassW(&asking);
        g_answer = 0;
        g_taps = 0;
        g_iconTaps.clear();
    }
    ~ScriptRunnerTest() override
    {
        m_shell.Stop();
        platform::DestroyAllWindows();
        UnregisterClassW(L"AskingWindow", nullptr);
    }

    std::vector<std::string> Run(const std::string& text)
    {
        host::ScriptEnvironment environment;
        environment.driver = &m_driver;
        environment.shell = &m_shell;
        environment.advance = [this](int64_t ms) { m_driver.AdvanceMs(static_cast<uint64_t>(ms)); };
        environment.print = [] {};
        environment.screenshot = [](const std::string&) { return true; };
        environment.rotate = [] {};
        environment.note = [this](const std::string& line) { m_notes.push_back(line); };
        host::ScriptParseResult script = host::ParseScript(text);
        EXPECT_EQ(script.error, "");
        host::ScriptRunner runner(std::move(environment), std::move(script.actions));
        return runner.Run();
    }

    testing_support::MemoryRegistryScope m_registry;
    testing_support::VirtualClockScope m_clock;
    platform::VirtualDriver m_driver;
    host::TodayShell m_shell;
    std::vector<std::string> m_notes;
};

} // namespace

TEST_F(ScriptRunnerTest, AnswersTheNextMessageBox)
{
    HWND asking = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
        nullptr, nullptr);
    ASSERT_NE(asking, nullptr);
    EXPECT_TRUE(Run("answer no\ntap 50 120\n").empty());
    EXPECT_EQ(g_answer, IDNO);
    EXPECT_EQ(m_notes, std::vector<std::string> { "message box \"Velmora\": \"Delete the logs?\" answered no" });
}

TEST_F(ScriptRunnerTest, AQuestionNobodyAnsweredIsAFault)
{
    CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::string> errors = Run("tap 50 120\n");
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(g_taps, 1);
}

TEST_F(ScriptRunnerTest, ATapFindsTheFrontWindowAndItsDeepestChild)
{
    HWND back = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
        nullptr, nullptr);
    HWND front = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 100, 110, 100, 100, nullptr, nullptr,
        nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"AskingWindow", L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, front, nullptr,
        nullptr, nullptr);
    POINT client {};
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 50, 120 }, client), back);
    EXPECT_EQ(client.x, 50);
    EXPECT_EQ(client.y, 20);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 150, 120 }, client), front);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 115, 125 }, client), child);
    EXPECT_EQ(client.x, 5);
    EXPECT_EQ(client.y, 5);
    ShowWindow(front, SW_HIDE);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 150, 120 }, client), back);
    // The shell's own windows are there too: the taskbar's title child along the top.
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 10, 5 }, client), m_shell.Bar().Title().Window());
}

TEST_F(ScriptRunnerTest, ATapOnANotificationIconReachesItsWindow)
{
    HWND owner = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAW icon {};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner;
    icon.uID = 7;
    icon.uFlags = NIF_MESSAGE;
    icon.uCallbackMessage = kIconMessage;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &icon));
    // The notification area takes the right end of the taskbar: one slot of 20 pixels.
    EXPECT_TRUE(Run("tap 230 13\ntap 200 13\n").empty());
    EXPECT_EQ(g_iconTaps, (std::vector<std::pair<WPARAM, LPARAM>> { { 7, WM_LBUTTONDOWN }, { 7, WM_LBUTTONUP } }));
    Shell_NotifyIcon(NIM_DELETE, &icon);
    platform::ResetShell();
}
