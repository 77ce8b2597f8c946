// A stop request (SIGINT, SIGTERM, SIGHUP) reaches the real-time event loop through a pipe the
// loop waits on: it ends a modal dialog's loop at once and then the run, and a running device
// stops cleanly with exit code 0.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "host/modes/StopSignal.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Observe.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
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

// The exit codes of a child that could not set up its own network.
constexpr int kNoNamespace = 77;
constexpr int kNoLink = 78;

// Datagrams sent from inside the network namespace of a process to a neighbour on its veth
// link, whose counters take them as sent.
bool SendInNamespaceOf(pid_t process, int datagrams, size_t bytes)
{
    std::string path = "/proc/" + std::to_string(process) + "/ns/net";
    int space = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (space < 0)
        return false;
    bool sent = false;
    std::thread thread([&] {
        if (::setns(space, CLONE_NEWNET) != 0)
            return;
        int sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (sock < 0)
            return;
        sockaddr_in to {};
        to.sin_family = AF_INET;
        to.sin_port = htons(9);
        ::inet_pton(AF_INET, "10.77.0.2", &to.sin_addr);
        std::string payload(bytes, 'v');
        sent = true;
        for (int i = 0; i < datagrams; ++i)
            sent = sent
                && ::sendto(sock, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to)
                    == static_cast<ssize_t>(payload.size());
        ::close(sock);
    });
    thread.join();
    ::close(space);
    return sent;
}

// What the month files of a data folder logged as sent under a name, over all their records.
uint64_t LoggedSent(const std::filesystem::path& data, const std::wstring& name)
{
    uint64_t sent = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(data / "device" / "Program Files" / "Velmora", error)) {
        if (entry.path().filename().string().rfind("UsageData", 0) != 0)
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        std::wstring text = DecodeUtf16Le(bytes.str());
        std::wstring key = L"\t" + name + L" ";
        for (size_t at = text.find(key); at != std::wstring::npos; at = text.find(key, at + 1))
            sent += static_cast<uint32_t>(std::wcstol(text.c_str() + at + key.size(), nullptr, 10));
    }
    return sent;
}

TEST(StopSignalTest, SigtermWritesTheUnfinishedHoursTrafficAndExitsWithZero)
{
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
        // A network of its own: the loopback and a veth pair that nothing else sends on, with
        // a neighbour known in advance so that datagrams leave without asking for it.
        if (::unshare(CLONE_NEWNET) != 0)
            ::_exit(kNoNamespace);
        if (std::system("(ip link set lo up && ip link add vlm0 type veth peer name vlm1 && ip link set vlm1 up"
                        " && ip address add 10.77.0.1/24 dev vlm0 && ip link set vlm0 up"
                        " && ip neighbour add 10.77.0.2 lladdr 02:00:00:00:77:02 dev vlm0 nud permanent)"
                        " > /dev/null 2>&1")
            != 0)
            ::_exit(kNoLink);
        ::execl(program.c_str(), program.c_str(), "--data", folder.c_str(), "--headless", "--ticks", "600", nullptr);
        ::_exit(127);
    }
    ::close(out[1]);
    // Traffic after the first tick, which takes the counters' starting point; the stop two
    // ticks later, well before the hour's end would write anything.
    std::string output;
    char buffer[4096];
    int ticks = 0;
    bool sent = false;
    bool stopped = false;
    ssize_t n;
    while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<size_t>(n));
        ticks = 0;
        for (size_t at = output.find("activity"); at != std::string::npos; at = output.find("activity", at + 1))
            ++ticks;
        if (ticks >= 1 && !sent) {
            sent = true;
            EXPECT_TRUE(SendInNamespaceOf(child, 20, 1000));
        }
        if (ticks >= 3 && !stopped) {
            stopped = true;
            ::kill(child, SIGTERM);
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    if (WEXITSTATUS(status) == kNoNamespace || WEXITSTATUS(status) == kNoLink)
        GTEST_SKIP() << "a network namespace with a veth link needs CAP_SYS_ADMIN and ip (iproute2)";
    EXPECT_TRUE(stopped) << output;
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    // The link's adapter name is VLM01; every datagram went out with its headers.
    EXPECT_GE(LoggedSent(data.Path(), L"vlm01"), 20u * 1000u) << output;
}

} // namespace
