// A stop request (SIGINT, SIGTERM, SIGHUP) reaches the real-time event loop through a pipe the
// loop waits on: it ends a modal dialog's loop at once and then the run, and a running device
// stops cleanly with exit code 0.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "host/StopSignal.h"
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

TEST(StopSignalTest, ARunningDeviceStopsCleanlyOnSigterm)
{
    testing_support::ScratchFolder data;
    // 600 ticks would take ten minutes; the stop comes after two seconds.
    std::string command = "timeout --preserve-status -s TERM 2 '" + std::string(VELMORA_BINARY_DIR) + "/velmora' --data '"
        + data.Path().string() + "' --headless --ticks 600 2>&1";
    auto started = std::chrono::steady_clock::now();
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = ::pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_NE(output.find("activity"), std::string::npos) << output;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << output;
}

} // namespace
