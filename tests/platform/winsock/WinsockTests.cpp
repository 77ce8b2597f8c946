// The dotted address text both ways and name resolution, with the platform's results: the
// short address forms, INADDR_NONE for the broadcast address and for garbage, the host entry's
// shape, and names that do not resolve, from the simulation and from this machine's resolver.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/core/LastError.h"
#include "platform/winsock/Winsock.h"
#include "platform/winsock/linux/LinuxSockets.h"
#include "support/SimSocketsScope.h"

using testing_support::SimSocketsScope;

namespace {

// The address's bytes as they lie in memory (network order).
std::array<int, 4> Bytes(ULONG address)
{
    in_addr in {};
    in.s_addr = address;
    return { in.S_un.S_un_b.s_b1, in.S_un.S_un_b.s_b2, in.S_un.S_un_b.s_b3, in.S_un.S_un_b.s_b4 };
}

std::string Dotted(ULONG address)
{
    in_addr in {};
    in.s_addr = address;
    return inet_ntoa(in);
}

TEST(InetAddrTest, ReadsTheFullAndTheShortForms)
{
    EXPECT_EQ(Bytes(inet_addr("192.168.1.254")), (std::array<int, 4> { 192, 168, 1, 254 }));
    // The last part fills the bytes that no part before it took.
    EXPECT_EQ(Bytes(inet_addr("10.1.513")), (std::array<int, 4> { 10, 1, 2, 1 }));
    EXPECT_EQ(Bytes(inet_addr("127.65535")), (std::array<int, 4> { 127, 0, 255, 255 }));
    EXPECT_EQ(Bytes(inet_addr("3232235777")), (std::array<int, 4> { 192, 168, 1, 1 }));
    // Octal after a leading zero, hexadecimal after 0x.
    EXPECT_EQ(Bytes(inet_addr("010.0x1F.0.0377")), (std::array<int, 4> { 8, 31, 0, 255 }));
    EXPECT_EQ(Bytes(inet_addr("0.0.0.0")), (std::array<int, 4> { 0, 0, 0, 0 }));
    EXPECT_EQ(Bytes(inet_addr("255.255.255.254")), (std::array<int, 4> { 255, 255, 255, 254 }));
    // A blank of any kind ends the address: what follows it is not read.
    for (const char* text : { "10.200.3.5 and more", "10.200.3.5\tx", "10.200.3.5\r\n", "10.200.3.5\v." })
        EXPECT_EQ(Bytes(inet_addr(text)), (std::array<int, 4> { 10, 200, 3, 5 })) << text;
}

TEST(InetAddrTest, GivesInaddrNoneForTheBroadcastAddressAndForWhatIsNoAddress)
{
    EXPECT_EQ(inet_addr("255.255.255.255"), INADDR_NONE);
    for (const char* text : { "", "localhost", "1.2.3.4.5", "256.1.1.1", "1.256.1.1", "1.2.65536", "1.16777216",
             "4294967296", "1..2.3", "1.2.3.", "09.1.1.1", "0x", "1.2.3.4x", "-1.2.3.4" })
        EXPECT_EQ(inet_addr(text), INADDR_NONE) << text;
    EXPECT_EQ(inet_addr(nullptr), INADDR_NONE);
}

TEST(InetNtoaTest, WritesTheBytesInTheirOrderIntoOneBufferPerThread)
{
    EXPECT_EQ(Dotted(inet_addr("10.200.3.255")), "10.200.3.255");
    in_addr first {};
    first.s_addr = inet_addr("1.2.3.4");
    char* text = inet_ntoa(first);
    in_addr second {};
    second.s_addr = inet_addr("255.255.255.254");
    EXPECT_EQ(inet_ntoa(second), text);
    EXPECT_STREQ(text, "255.255.255.254");
}

class GetHostByNameSimTest : public ::testing::Test {
protected:
    SimSocketsScope m_sockets;
};

TEST_F(GetHostByNameSimTest, AnswersFromTheScenarioWithTheHostEntrysShape)
{
    platform::ScenarioParseResult parsed = platform::ParseScenario("host Router.Example 192.168.7.1 10.0.0.9\n");
    ASSERT_TRUE(parsed.error.empty());
    EXPECT_EQ(m_sockets.Sockets().Perform(parsed.commands[0]), "");

    hostent* entry = gethostbyname("router.example");
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->h_name, "Router.Example");
    EXPECT_EQ(entry->h_addrtype, AF_INET);
    EXPECT_EQ(entry->h_length, 4);
    ASSERT_NE(entry->h_aliases, nullptr);
    EXPECT_EQ(entry->h_aliases[0], nullptr);
    ASSERT_NE(entry->h_addr_list[0], nullptr);
    ASSERT_NE(entry->h_addr_list[1], nullptr);
    EXPECT_EQ(entry->h_addr_list[2], nullptr);
    EXPECT_EQ(*reinterpret_cast<ULONG*>(entry->h_addr_list[0]), inet_addr("192.168.7.1"));
    EXPECT_EQ(*reinterpret_cast<ULONG*>(entry->h_addr_list[1]), inet_addr("10.0.0.9"));
}

TEST_F(GetHostByNameSimTest, TellsAnEmptyListAndAnotherAddressTypeApart)
{
    for (const char* line : { "host empty.example", "host six.example 10.0.0.1 family=23 length=16" }) {
        platform::ScenarioParseResult parsed = platform::ParseScenario(line);
        ASSERT_EQ(m_sockets.Sockets().Perform(parsed.commands[0]), "") << line;
    }
    hostent* empty = gethostbyname("empty.example");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->h_addr_list[0], nullptr);
    hostent* six = gethostbyname("six.example");
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->h_addrtype, 23);
    EXPECT_EQ(six->h_length, 16);
}

TEST_F(GetHostByNameSimTest, ANameNoLineGivesIsNotFoundAndADottedAddressIsItself)
{
    SetLastError(0);
    EXPECT_EQ(gethostbyname("nowhere.example"), nullptr);
    EXPECT_EQ(WSAGetLastError(), static_cast<int>(WSAHOST_NOT_FOUND));
    EXPECT_EQ(GetLastError(), WSAHOST_NOT_FOUND);
    hostent* entry = gethostbyname("172.16.0.3");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(*reinterpret_cast<ULONG*>(entry->h_addr_list[0]), inet_addr("172.16.0.3"));
}

TEST(SimSocketsCommandTest, RefusesMalformedHostAndEchoLines)
{
    for (const char* line : { "host", "host a.example 1.2.3", "host a.example 1.2.3.4 kind=2", "echo",
             "echo 1.2.3", "echo 1.2.3.4 slow", "echo 1.2.3.4 ttl=256", "echo 1.2.3.4 speed=3",
             "echo 1.2.3.4 from=here", "echo 1.2.3.4 lost late" }) {
        platform::ScenarioParseResult parsed = platform::ParseScenario(line);
        ASSERT_TRUE(parsed.error.empty()) << line;
        EXPECT_NE(platform::SimSockets::CheckCommand(parsed.commands[0]), "") << line;
    }
    platform::ScenarioParseResult other = platform::ParseScenario("interface eth0");
    EXPECT_EQ(platform::SimSockets::CheckCommand(other.commands[0]), "unknown command");
    platform::ScenarioParseResult good = platform::ParseScenario("echo 10.0.0.2 time=12 status=11013 from=10.0.0.1 times=2");
    EXPECT_EQ(platform::SimSockets::CheckCommand(good.commands[0]), "");
}

// This machine's resolver: "localhost" from the hosts file; a name under "invalid" is refused
// at once, so the test does not wait for a name server that may not answer.
TEST(GetHostByNameLinuxTest, ResolvesLocalhostAndRefusesAReservedInvalidNameAtOnce)
{
    hostent* entry = gethostbyname("localhost");
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(entry->h_addr_list[0], nullptr);
    EXPECT_EQ(Dotted(*reinterpret_cast<ULONG*>(entry->h_addr_list[0])), "127.0.0.1");
    EXPECT_EQ(entry->h_length, 4);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(gethostbyname("no-such-host.velmora.invalid"), nullptr);
    EXPECT_EQ(WSAGetLastError(), static_cast<int>(WSAHOST_NOT_FOUND));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(GetHostByNameLinuxTest, KnowsTheReservedInvalidDomainWhateverItsCase)
{
    EXPECT_TRUE(platform::IsReservedInvalidName("a.b.INVALID."));
    EXPECT_TRUE(platform::IsReservedInvalidName("invalid"));
    EXPECT_FALSE(platform::IsReservedInvalidName("notinvalid"));
    EXPECT_FALSE(platform::IsReservedInvalidName("invalid.example"));
}

} // namespace
