// A stop request (SIGINT, SIGTERM, SIGHUP) reaches the real-time event loop through a pipe the
// loop waits on: it ends a modal dialog's loop at once and then the run, and a running device
// stops cleanly with exit code 0.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "host/modes/StopSignal.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Observe.h"
#include "platform/ui/WinUser.h"
#include "support/TestSupport.h"

namespace {

const DLGITEMTEMPLATE kQuestionItems[] = {
    { WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 10, 40, 40, 14, IDOK, L"BUTTON", L"OK" },
};
const DLGTEMPLATE kQuestion
    = { WS_POPUP | WS_BORDER | DS_SETFONT, 0, 1, 0, 0, 100, 60, L"Question", 8, L"DejaVu Sans", kQuestionItems };

INT_PTR QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void RaiseStop(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::raise(SIGTERM);
}

TEST(StopSignalTest, SigtermInAModalDialogEndsTheDialogAndThenTheLoop)
{
    host::StopSignal stop;
    ASSERT_GE(stop.ReadFd(), 0);
    int wakes = 0;
    platform::WatchReadable(stop.ReadFd(), [&] {
        ++wakes;
        stop.Drain();
        PostQuitMessage(0);
    });
    SetTimer(nullptr, 0, 30, RaiseStop);
    auto started = std::chrono::steady_clock::now();
    // No one answers the dialog: only the stop can end it.
    INT_PTR answer = DialogBoxIndirectParamW(nullptr, &kQuestion, nullptr, QuietDialogProc, 0);
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(stop.Requested());
    EXPECT_EQ(platform::RunEventLoop(), 0); // the quit stays for the outer loop
    EXPECT_EQ(wakes, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    platform::UnwatchReadable(stop.ReadFd());
    platform::DestroyAllWindows();
}

// Each stop signal: SIGTERM as the service manager sends it, SIGINT as Ctrl-C, SIGHUP as a
// closed terminal.
TEST(StopSignalTest, ARunningDeviceStopsCleanlyOnEachStopSignal)
{
    for (int signal : { SIGTERM, SIGINT, SIGHUP }) {
        SCOPED_TRACE(strsignal(signal));
        testing_support::ScratchFolder data;
        int out[2];
        ASSERT_EQ(::pipe(out), 0);
        std::string program = std::string(VELMORA_BINARY_DIR) + "/velmora";
        std::string folder = data.Path().string();
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(out[1], STDERR_FILENO);
            ::close(out[0]);
            // 600 ticks would take ten minutes: only the stop ends this run.
            ::execl(program.c_str(), program.c_str(), "--data", folder.c_str(), "--headless", "--ticks", "600", nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        // The stop comes once the device runs: after its first tick.
        std::string output;
        char buffer[4096];
        bool stopped = false;
        ssize_t n;
        while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
            output.append(buffer, static_cast<size_t>(n));
            if (!stopped && output.find("activity") != std::string::npos) {
                stopped = true;
                ::kill(child, signal);
            }
        }
        ::close(out[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(stopped) << output;
        ASSERT_TRUE(WIFEXITED(status)) << output;
        EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    }
}

} // namespace
