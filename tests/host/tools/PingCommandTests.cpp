// velmora ping, run as a program: the dialog's caption and result lines, and its exit codes,
// over a simulated network and over this machine's loopback.
#include <gtest/gtest.h>

#include <fstream>

#include "host/ProgramRun.h"
#include "platform/winsock/linux/LinuxSockets.h"
#include "support/TestSupport.h"

namespace {

using host_test::RunVelmora;

class PingCommandTest : public ::testing::Test {
protected:
    std::string Scenario(const std::string& text)
    {
        std::filesystem::path path = m_folder.Path() / "scenario.txt";
        std::ofstream(path) << text;
        return path.string();
    }
    testing_support::ScratchFolder m_folder;
};

TEST_F(PingCommandTest, PrintsTheDialogsLinesAndSucceedsWhenAnyReplyCame)
{
    std::string scenario = Scenario("host gw.example 10.0.0.1\n"
                                    "echo 10.0.0.1 time=12\n"
                                    "echo 10.0.0.1 lost times=1\n"
                                    "echo 10.0.0.1 status=11013 from=10.0.0.254 times=1\n");
    host_test::ProgramResult run = RunVelmora({ "ping", "gw.example", "-c", "3", "--simulate", scenario });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Pinging 10.0.0.1:\nRequest timed out.\nError: TTL Expired\n10.0.0.1: OK (12ms)\n");
}

TEST_F(PingCommandTest, FailsWithOneWhenNothingAnsweredAndTwoWhenTheNameDoesNotResolve)
{
    std::string scenario = Scenario("echo 10.0.0.2 status=11003 from=10.0.0.254\n");
    host_test::ProgramResult unreachable = RunVelmora({ "ping", "10.0.0.2", "--simulate", scenario });
    EXPECT_EQ(unreachable.exitCode, 1);
    std::string expected = "Pinging 10.0.0.2:\n";
    for (int i = 0; i < 4; ++i)
        expected += "10.0.0.254: Unreachable\n";
    EXPECT_EQ(unreachable.out, expected);

    host_test::ProgramResult unknown = RunVelmora({ "ping", "nowhere.example", "--simulate", scenario });
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("Could not resolve hostname."), std::string::npos) << unknown.err;

    // This machine's resolver, without waiting for a name server.
    host_test::ProgramResult reserved = RunVelmora({ "ping", "no-such-host.velmora.invalid" });
    EXPECT_EQ(reserved.exitCode, 2);
    EXPECT_NE(reserved.err.find("Could not resolve hostname."), std::string::npos) << reserved.err;
}

TEST_F(PingCommandTest, RefusesAMissingHostAndACountOutOfRange)
{
    EXPECT_EQ(RunVelmora({ "ping" }).exitCode, 2);
    EXPECT_EQ(RunVelmora({ "ping", "127.0.0.1", "-c", "0" }).exitCode, 2);
    EXPECT_EQ(RunVelmora({ "ping", "127.0.0.1", "-c", "1000001" }).exitCode, 2);
    EXPECT_EQ(RunVelmora({ "ping", "127.0.0.1", "10.0.0.1" }).exitCode, 2);
}

TEST_F(PingCommandTest, TheLoopbackAnswersFourTimes)
{
    if (platform::LinuxSockets::AvailableKind() == platform::EchoSocketKind::None)
        GTEST_SKIP() << "this machine allows neither an ICMP datagram socket nor a raw socket";
    host_test::ProgramResult run = RunVelmora({ "ping", "127.0.0.1", "-c", "2" });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Pinging 127.0.0.1:\n127.0.0.1: OK (", 0), 0u) << run.out;
    size_t lines = 0;
    for (size_t at = 0; (at = run.out.find("127.0.0.1: OK (", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 2u);
}

} // namespace
