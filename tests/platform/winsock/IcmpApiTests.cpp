// The echo calls over the driver's echo service, the way the platform's API tests check them:
// against the simulated sockets (every status, lost, late and short replies, reply buffers at
// and below one driver record) and against this machine's loopback and, where the machine lets
// a test make one, a network namespace of the test's own.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <functional>
#include <cstring>
#include <vector>

#include <csignal>

#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/core/StopRequest.h"
#include "platform/winsock/EchoRecords.h"
#include "platform/winsock/IcmpApi.h"
#include "platform/winsock/linux/LinuxSockets.h"
#include "support/SimSocketsScope.h"
#include "support/TestSupport.h"

using testing_support::SimSocketsScope;
using testing_support::VirtualClockScope;

namespace {

constexpr DWORD kTimeoutMs = 2000;
constexpr BYTE kSentinel = 0xCD;

struct Echo {
    DWORD count = 0;
    DWORD lastError = 0;
    std::vector<ICMP_ECHO_REPLY> replies;
};

// An echo as the ping dialog sends it: 32 bytes, TTL 32, don't fragment.
Echo SendEcho(HANDLE icmp, const char* destination, DWORD replyBytes = 1024, BYTE ttl = 32, WORD dataBytes = 32)
{
    std::vector<BYTE> data(dataBytes);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>('a' + i % 23);
    IP_OPTION_INFORMATION options {};
    options.Ttl = ttl;
    options.Flags = platform::kIpFlagDontFragment;
    std::vector<uint64_t> words(replyBytes / 8 + 2);
    std::memset(words.data(), kSentinel, words.size() * 8);
    Echo echo;
    SetLastError(0);
    echo.count = IcmpSendEcho(icmp, inet_addr(destination), data.data(), dataBytes, &options, words.data(), replyBytes, kTimeoutMs);
    echo.lastError = GetLastError();
    const auto* records = reinterpret_cast<const ICMP_ECHO_REPLY*>(words.data());
    for (DWORD i = 0; i < echo.count; ++i) {
        echo.replies.push_back(records[i]);
        if (records[i].DataSize != 0) {
            EXPECT_EQ(std::memcmp(records[i].Data, data.data(), records[i].DataSize), 0);
        }
    }
    // Nothing past the caller's size is written.
    const auto* bytes = reinterpret_cast<const BYTE*>(words.data());
    for (size_t i = replyBytes; i < words.size() * 8; ++i)
        EXPECT_EQ(bytes[i], kSentinel) << "byte " << i;
    return echo;
}

class IcmpSimTest : public ::testing::Test {
protected:
    IcmpSimTest()
        : m_sockets(&m_clock.Clock())
    {
        m_icmp = IcmpCreateFile();
    }
    ~IcmpSimTest() override { IcmpCloseHandle(m_icmp); }

    void Scenario(const std::string& text)
    {
        platform::ScenarioParseResult parsed = platform::ParseScenario(text);
        ASSERT_TRUE(parsed.error.empty()) << parsed.error;
        for (const platform::ScenarioCommand& command : parsed.commands)
            ASSERT_EQ(m_sockets.Sockets().Perform(command), "");
    }
    uint64_t NowMs() const { return platform::CurrentClock().MonotonicMs(); }

    VirtualClockScope m_clock;
    SimSocketsScope m_sockets;
    HANDLE m_icmp = INVALID_HANDLE_VALUE;
};

TEST_F(IcmpSimTest, AReplyGivesOneHostRecordPointingIntoTheBufferAndTakesItsTime)
{
    Scenario("echo 10.1.2.3 time=17 ttl=61");
    uint64_t before = NowMs();
    Echo echo = SendEcho(m_icmp, "10.1.2.3");
    ASSERT_EQ(echo.count, 1u);
    const ICMP_ECHO_REPLY& reply = echo.replies[0];
    EXPECT_EQ(reply.Address, inet_addr("10.1.2.3"));
    EXPECT_EQ(reply.Status, platform::IP_SUCCESS);
    EXPECT_EQ(reply.RoundTripTime, 17u);
    EXPECT_EQ(reply.DataSize, 32);
    EXPECT_EQ(reply.Reserved, 0) << "the count is taken out of the first record";
    EXPECT_EQ(reply.Options.Ttl, 61);
    EXPECT_EQ(NowMs() - before, 17u);
    // What went out: the dialog's options reached the driver through the request layout.
    const platform::EchoRequest& sent = m_sockets.Sockets().Requests().back();
    EXPECT_EQ(sent.destination, 0x0A010203u);
    EXPECT_EQ(sent.timeoutMs, kTimeoutMs);
    EXPECT_TRUE(sent.optionsValid);
    EXPECT_EQ(sent.ttl, 32);
    EXPECT_EQ(sent.flags, platform::kIpFlagDontFragment);
    EXPECT_EQ(sent.data.size(), 32u);
}

TEST_F(IcmpSimTest, EveryStatusComesBackAsOneRecordFromWhoeverReportedIt)
{
    for (DWORD status = platform::IP_BUF_TOO_SMALL; status <= platform::IP_BAD_DESTINATION; ++status) {
        if (status == platform::IP_REQ_TIMED_OUT)
            continue;
        Scenario("echo 10.1.2.3 status=" + std::to_string(status) + " from=192.168.9.1 time=4 times=1");
        Echo echo = SendEcho(m_icmp, "10.1.2.3");
        ASSERT_EQ(echo.count, 1u) << status;
        EXPECT_EQ(echo.replies[0].Status, status);
        EXPECT_EQ(echo.replies[0].Address, inet_addr("192.168.9.1"));
        EXPECT_EQ(echo.replies[0].DataSize, 0);
    }
}

TEST_F(IcmpSimTest, NoAnswerIsACountOfZeroWithTimedOutAfterTheWholeTimeout)
{
    for (const char* line : { "echo 10.1.2.3 lost", "echo 10.1.2.3 truncated time=5", "echo 10.1.2.3 time=2000",
             "echo 10.1.2.3 time=5 from=10.1.2.4", "echo 10.1.2.3 off" }) {
        Scenario(line);
        uint64_t before = NowMs();
        Echo echo = SendEcho(m_icmp, "10.1.2.3");
        EXPECT_EQ(echo.count, 0u) << line;
        EXPECT_EQ(echo.lastError, platform::IP_REQ_TIMED_OUT) << line;
        EXPECT_EQ(NowMs() - before, kTimeoutMs) << line;
    }
}

// A reply that comes after its request gave up arrives during the next request's wait: its
// sequence number is not the one awaited, so the next request still waits for its own.
TEST_F(IcmpSimTest, ALateReplyIsNotTakenForTheNextRequestsAnswer)
{
    Scenario("echo 10.1.2.3 time=40\necho 10.1.2.3 late times=1");
    EXPECT_EQ(SendEcho(m_icmp, "10.1.2.3").lastError, platform::IP_REQ_TIMED_OUT);
    Echo next = SendEcho(m_icmp, "10.1.2.3");
    ASSERT_EQ(next.count, 1u);
    EXPECT_EQ(next.replies[0].RoundTripTime, 40u);
}

TEST_F(IcmpSimTest, AReplyBufferBelowOneDriverRecordIsRefusedBeforeSending)
{
    Scenario("echo 10.1.2.3 time=3");
    Echo echo = SendEcho(m_icmp, "10.1.2.3", 27);
    EXPECT_EQ(echo.count, 0u);
    EXPECT_EQ(echo.lastError, static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_TRUE(m_sockets.Sockets().Requests().empty());
}

// 28 bytes hold the driver's record but not the reply's data: the driver reports that in the
// record; and the host's record with its data must fit the caller's buffer too.
TEST_F(IcmpSimTest, ABufferOfOneDriverRecordGetsBufferTooSmall)
{
    Scenario("echo 10.1.2.3 time=3");
    Echo exact = SendEcho(m_icmp, "10.1.2.3", 28);
    EXPECT_EQ(exact.count, 0u);
    EXPECT_EQ(exact.lastError, platform::IP_BUF_TOO_SMALL);
    Echo hostShort = SendEcho(m_icmp, "10.1.2.3", sizeof(ICMP_ECHO_REPLY) + 31);
    EXPECT_EQ(hostShort.lastError, platform::IP_BUF_TOO_SMALL);
    Echo fits = SendEcho(m_icmp, "10.1.2.3", sizeof(ICMP_ECHO_REPLY) + 32);
    EXPECT_EQ(fits.count, 1u);
}

TEST_F(IcmpSimTest, TheDriverRefusesDestinationsAndOptionsThatCannotBeSent)
{
    EXPECT_EQ(SendEcho(m_icmp, "0.0.0.0").replies.at(0).Status, platform::IP_BAD_DESTINATION);
    EXPECT_TRUE(m_sockets.Sockets().Requests().empty());

    std::array<BYTE, 41> optionBytes {};
    IP_OPTION_INFORMATION options {};
    options.Ttl = 32;
    options.OptionsSize = static_cast<UCHAR>(optionBytes.size());
    options.OptionsData = optionBytes.data();
    std::array<uint64_t, 128> reply {};
    ASSERT_EQ(IcmpSendEcho(m_icmp, inet_addr("10.1.2.3"), nullptr, 0, &options, reply.data(), sizeof reply, 100), 1u);
    EXPECT_EQ(reinterpret_cast<ICMP_ECHO_REPLY*>(reply.data())->Status, platform::IP_OPTION_TOO_BIG);
}

TEST_F(IcmpSimTest, HandlesAreCheckedAndClosedOnce)
{
    std::array<uint64_t, 16> reply {};
    EXPECT_EQ(IcmpSendEcho(reinterpret_cast<HANDLE>(0x1234), inet_addr("10.1.2.3"), nullptr, 0, nullptr, reply.data(), sizeof reply, 10), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE second = IcmpCreateFile();
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(IcmpCloseHandle(second));
    EXPECT_FALSE(IcmpCloseHandle(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    m_sockets.Sockets().SetEchoAvailable(false);
    EXPECT_EQ(IcmpCreateFile(), INVALID_HANDLE_VALUE);
}

TEST(WsControlTest, RefusesOtherActionsShortRepliesAndRequestsThatDoNotHoldTogether)
{
    SimSocketsScope sockets;
    std::array<BYTE, 64> request {};
    std::array<BYTE, 64> reply {};
    DWORD requestBytes = 20;
    DWORD replyBytes = 64;
    EXPECT_EQ(WsControl(6, 3, request.data(), &requestBytes, reply.data(), &replyBytes), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    replyBytes = 27;
    EXPECT_EQ(WsControl(6, 2, request.data(), &requestBytes, reply.data(), &replyBytes), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    // Data said to lie past the request's end.
    request[8] = 20;
    request[10] = 45;
    requestBytes = 64;
    replyBytes = 64;
    EXPECT_EQ(WsControl(6, 2, request.data(), &requestBytes, reply.data(), &replyBytes), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(EchoRecordsTest, TheRequestLayoutReadsBackWhatWasWritten)
{
    platform::EchoRequest request;
    request.timeoutMs = 70000;
    request.optionsValid = true;
    request.ttl = 200;
    request.tos = 0x10;
    request.flags = 2;
    request.options = { 1, 1, 7 };
    request.data = { 9, 8, 7, 6, 5 };
    std::vector<BYTE> bytes(platform::EchoRequestBytes(3, 5));
    platform::WriteEchoRequest(bytes, inet_addr("192.168.200.7"), request);
    EXPECT_EQ(bytes[0], 192);
    EXPECT_EQ(bytes[3], 7);
    EXPECT_EQ(bytes[8], 23) << "data offset 20 + options";
    EXPECT_EQ(bytes[16], 20);
    EXPECT_EQ(bytes[18], 3);
    std::optional<platform::EchoRequest> read = platform::ReadEchoRequest(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->destination, 0xC0A8C807u);
    EXPECT_EQ(read->timeoutMs, 70000u);
    EXPECT_EQ(read->ttl, 200);
    EXPECT_EQ(read->tos, 0x10);
    EXPECT_EQ(read->options, request.options);
    EXPECT_EQ(read->data, request.data);
    bytes.pop_back();
    EXPECT_FALSE(platform::ReadEchoRequest(bytes));
}

// --- this machine ---------------------------------------------------------------------------

bool EchoSocketsAllowed()
{
    return platform::LinuxSockets::AvailableKind() != platform::EchoSocketKind::None;
}

TEST(IcmpLinuxTest, TheLoopbackAnswersFourTimes)
{
    if (!EchoSocketsAllowed())
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    HANDLE icmp = IcmpCreateFile();
    ASSERT_NE(icmp, INVALID_HANDLE_VALUE);
    for (int i = 0; i < 4; ++i) {
        Echo echo = SendEcho(icmp, "127.0.0.1");
        ASSERT_EQ(echo.count, 1u) << "request " << i << ", last error " << echo.lastError;
        EXPECT_EQ(echo.replies[0].Status, platform::IP_SUCCESS);
        EXPECT_EQ(echo.replies[0].Address, inet_addr("127.0.0.1"));
        EXPECT_EQ(echo.replies[0].DataSize, 32);
        EXPECT_LT(echo.replies[0].RoundTripTime, kTimeoutMs);
    }
    EXPECT_TRUE(IcmpCloseHandle(icmp));
}

// Runs argv with a fixed environment; its exit code, or -1.
int RunTool(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    char path[] = "PATH=/usr/sbin:/usr/bin:/sbin:/bin";
    char* environment[] = { path, nullptr };
    pid_t child = 0;
    if (posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environment) != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the body in a child process inside a network namespace of its own with its loopback up;
// the body's result, or kNoNamespace when the machine does not allow one.
constexpr int kNoNamespace = 200;
int InOwnNamespace(const std::function<int()>& body)
{
    pid_t child = fork();
    if (child == 0) {
        if (unshare(CLONE_NEWNET) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
            _exit(kNoNamespace);
        if (RunTool({ "ip", "link", "set", "lo", "up" }) != 0)
            _exit(kNoNamespace);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The first status of an echo, or a number above 100 for what went wrong before it.
int EchoStatus(const char* destination, DWORD timeoutMs)
{
    HANDLE icmp = IcmpCreateFile();
    if (icmp == INVALID_HANDLE_VALUE)
        return 101;
    std::array<uint64_t, 128> reply {};
    DWORD count = IcmpSendEcho(icmp, inet_addr(destination), nullptr, 0, nullptr, reply.data(), sizeof reply, timeoutMs);
    if (count == 0)
        return GetLastError() == platform::IP_REQ_TIMED_OUT ? 10 : 102;
    DWORD status = reinterpret_cast<ICMP_ECHO_REPLY*>(reply.data())->Status;
    return status == platform::IP_DEST_HOST_UNREACHABLE ? 0 : status == platform::IP_DEST_NET_UNREACHABLE ? 1 : 103;
}

bool IgnoreEchoRequests()
{
    std::ofstream("/proc/sys/net/ipv4/icmp_echo_ignore_all") << "1\n";
    std::ifstream in("/proc/sys/net/ipv4/icmp_echo_ignore_all");
    int value = 0;
    in >> value;
    return value == 1;
}

TEST(IcmpLinuxTest, ADestinationBehindAnUnreachableRouteIsUnreachable)
{
    if (!EchoSocketsAllowed())
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    int result = InOwnNamespace([] {
        if (RunTool({ "ip", "route", "add", "unreachable", "10.99.0.0/16" }) != 0)
            return kNoNamespace;
        return EchoStatus("10.99.1.2", 1000);
    });
    if (result == kNoNamespace || result == 101)
        GTEST_SKIP() << "this machine does not let the test make a network namespace with its own routes";
    EXPECT_TRUE(result == 0 || result == 1) << "child result " << result;
}

// A router between this namespace and a network behind it, in a second namespace of its own:
// an echo with TTL 1 expires at the router.
TEST(IcmpLinuxTest, ATtlTooSmallForTheRoutedPathExpiresInTransit)
{
    if (!EchoSocketsAllowed())
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    int result = InOwnNamespace([] {
        int ready[2];
        int go[2];
        if (pipe(ready) != 0 || pipe(go) != 0)
            return kNoNamespace;
        pid_t router = fork();
        char byte = 0;
        if (router == 0) {
            bool made = unshare(CLONE_NEWNET) == 0;
            byte = made ? 1 : 0;
            if (write(ready[1], &byte, 1) != 1 || !made || read(go[0], &byte, 1) != 1)
                _exit(1);
            std::ofstream("/proc/sys/net/ipv4/ip_forward") << "1\n";
            bool up = RunTool({ "ip", "addr", "add", "10.98.0.2/24", "dev", "vb" }) == 0
                && RunTool({ "ip", "link", "set", "vb", "up" }) == 0
                && RunTool({ "ip", "link", "add", "vc", "type", "veth", "peer", "name", "vd" }) == 0
                && RunTool({ "ip", "addr", "add", "10.97.0.1/24", "dev", "vc" }) == 0
                && RunTool({ "ip", "link", "set", "vc", "up" }) == 0
                && RunTool({ "ip", "link", "set", "vd", "up" }) == 0;
            byte = up ? 1 : 0;
            if (write(ready[1], &byte, 1) != 1)
                _exit(1);
            pause();
            _exit(0);
        }
        auto stopRouter = [router] {
            kill(router, SIGKILL);
            waitpid(router, nullptr, 0);
        };
        if (read(ready[0], &byte, 1) != 1 || byte != 1) {
            stopRouter();
            return kNoNamespace;
        }
        bool linked = RunTool({ "ip", "link", "add", "va", "type", "veth", "peer", "name", "vb" }) == 0
            && RunTool({ "ip", "link", "set", "vb", "netns", std::to_string(router) }) == 0
            && RunTool({ "ip", "addr", "add", "10.98.0.1/24", "dev", "va" }) == 0
            && RunTool({ "ip", "link", "set", "va", "up" }) == 0
            && RunTool({ "ip", "route", "add", "10.97.0.0/24", "via", "10.98.0.2" }) == 0;
        if (!linked || write(go[1], "x", 1) != 1 || read(ready[0], &byte, 1) != 1 || byte != 1) {
            stopRouter();
            return kNoNamespace;
        }
        HANDLE icmp = IcmpCreateFile();
        IP_OPTION_INFORMATION options {};
        options.Ttl = 1;
        std::array<uint64_t, 128> reply {};
        DWORD count = IcmpSendEcho(icmp, inet_addr("10.97.0.5"), nullptr, 0, &options, reply.data(), sizeof reply, 2000);
        const auto* record = reinterpret_cast<ICMP_ECHO_REPLY*>(reply.data());
        int outcome = count == 0 ? 102
            : record->Status != platform::IP_TTL_EXPIRED_TRANSIT ? 103
            : record->Address != inet_addr("10.98.0.2") ? 104 : 0;
        stopRouter();
        return outcome;
    });
    if (result == kNoNamespace)
        GTEST_SKIP() << "this machine does not let the test make the namespaces of a routed path";
    EXPECT_EQ(result, 0);
}

// A loopback that ignores echo requests: the wait lasts the timeout, and ends at once when the
// host is asked to stop.
TEST(IcmpLinuxTest, ASilentDestinationTimesOutUnlessAStopComesFirst)
{
    if (!EchoSocketsAllowed())
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    int result = InOwnNamespace([] {
        if (!IgnoreEchoRequests())
            return kNoNamespace;
        auto start = std::chrono::steady_clock::now();
        if (EchoStatus("127.0.0.1", 300) != 10 || std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300))
            return 1;
        int stop[2];
        if (pipe(stop) != 0 || write(stop[1], "x", 1) != 1)
            return 2;
        platform::InstallStopDescriptor(stop[0]);
        start = std::chrono::steady_clock::now();
        if (EchoStatus("127.0.0.1", 60000) != 10)
            return 3;
        return std::chrono::steady_clock::now() - start < std::chrono::seconds(5) ? 0 : 4;
    });
    if (result == kNoNamespace || result == 101)
        GTEST_SKIP() << "this machine does not let the test make a network namespace with its own settings";
    EXPECT_EQ(result, 0);
}

} // namespace
