// Echo packets on the wire and the checks a reply passes before it counts as the answer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/winsock/EchoPacket.h"

using namespace platform;

namespace {

// A 20-byte IP header with the TTL and type of service, before the ICMP message.
std::vector<BYTE> WithIpHeader(const std::vector<BYTE>& icmp, BYTE ttl, BYTE tos)
{
    std::vector<BYTE> packet(20, 0);
    packet[0] = 0x45;
    packet[1] = tos;
    packet[8] = ttl;
    packet[9] = 1;
    packet.insert(packet.end(), icmp.begin(), icmp.end());
    return packet;
}

std::vector<BYTE> Reply(uint16_t identifier, uint16_t sequence, size_t dataBytes)
{
    std::vector<BYTE> data(dataBytes, 0x5A);
    std::vector<BYTE> packet = BuildEchoRequest(identifier, sequence, data);
    packet[0] = kIcmpEchoReply;
    return packet;
}

TEST(EchoPacketTest, TheRequestCarriesItsIdentifierSequenceAndAChecksumThatSumsToZero)
{
    std::vector<BYTE> data = { 1, 2, 3 }; // odd: the last byte is padded for the sum
    std::vector<BYTE> packet = BuildEchoRequest(0xBEEF, 0x0102, data);
    ASSERT_EQ(packet.size(), 11u);
    EXPECT_EQ(packet[0], kIcmpEchoRequest);
    EXPECT_EQ(packet[4], 0xBE);
    EXPECT_EQ(packet[5], 0xEF);
    EXPECT_EQ(packet[6], 0x01);
    EXPECT_EQ(packet[7], 0x02);
    EXPECT_EQ(InternetChecksum(packet), 0);
}

TEST(EchoPacketTest, OnlyTheAwaitedReplyFromTheDestinationWithAllItsDataIsTheAnswer)
{
    ExpectedReply expected { 0x7F000001, 0x1234, 7, 32, true };
    auto verdict = [&](const std::vector<BYTE>& bytes, DWORD source, bool ip = false) {
        std::optional<IcmpPacket> packet = ParseIcmpPacket(bytes, ip);
        EXPECT_TRUE(packet);
        return packet ? CheckReply(*packet, source, expected) : ReplyVerdict::Foreign;
    };
    EXPECT_EQ(verdict(Reply(0x1234, 7, 32), 0x7F000001), ReplyVerdict::Answer);
    EXPECT_EQ(verdict(Reply(0x1234, 7, 40), 0x7F000001), ReplyVerdict::Answer);
    EXPECT_EQ(verdict(Reply(0x1234, 6, 32), 0x7F000001), ReplyVerdict::Foreign);
    EXPECT_EQ(verdict(Reply(0x1235, 7, 32), 0x7F000001), ReplyVerdict::Foreign);
    EXPECT_EQ(verdict(Reply(0x1234, 7, 32), 0x7F000002), ReplyVerdict::Foreign);
    EXPECT_EQ(verdict(Reply(0x1234, 7, 31), 0x7F000001), ReplyVerdict::Truncated);
    // Our own request seen on a raw socket is not its reply.
    EXPECT_EQ(verdict(BuildEchoRequest(0x1234, 7, std::vector<BYTE>(32)), 0x7F000001), ReplyVerdict::Foreign);
    // A datagram socket's kernel has matched the identifier already.
    expected.checkIdentifier = false;
    EXPECT_EQ(verdict(Reply(0x9999, 7, 32), 0x7F000001), ReplyVerdict::Answer);
}

TEST(EchoPacketTest, ARawPacketGivesItsTtlAndAnErrorReportTheRequestItQuotes)
{
    std::optional<IcmpPacket> reply = ParseIcmpPacket(WithIpHeader(Reply(1, 2, 8), 57, 0x10), true);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->ttl, 57);
    EXPECT_EQ(reply->tos, 0x10);
    EXPECT_EQ(reply->data.size(), 8u);

    std::vector<BYTE> report = { kIcmpTimeExceeded, 0, 0, 0, 0, 0, 0, 0 };
    std::vector<BYTE> quoted = WithIpHeader(BuildEchoRequest(0x4242, 9, {}), 1, 0);
    report.insert(report.end(), quoted.begin(), quoted.end());
    std::optional<IcmpPacket> error = ParseIcmpPacket(WithIpHeader(report, 250, 0), true);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->quotesEcho);
    EXPECT_EQ(error->identifier, 0x4242);
    EXPECT_EQ(error->sequence, 9);
    ExpectedReply expected { 0x0A000001, 0x4242, 9, 32, true };
    EXPECT_EQ(CheckReply(*error, 0x0A0000FE, expected), ReplyVerdict::Answer);
    expected.sequence = 10;
    EXPECT_EQ(CheckReply(*error, 0x0A0000FE, expected), ReplyVerdict::Foreign);

    EXPECT_FALSE(ParseIcmpPacket(std::vector<BYTE>(7), false));
    EXPECT_FALSE(ParseIcmpPacket(std::vector<BYTE>(27), true));
}

TEST(EchoPacketTest, ErrorReportsAndSocketErrorsMapToTheDevicesStatuses)
{
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 0), IP_DEST_NET_UNREACHABLE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 1), IP_DEST_HOST_UNREACHABLE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 2), IP_DEST_PROT_UNREACHABLE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 3), IP_DEST_PORT_UNREACHABLE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 4), IP_PACKET_TOO_BIG);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 5), IP_BAD_ROUTE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpUnreachable, 13), IP_DEST_HOST_UNREACHABLE);
    EXPECT_EQ(StatusOfIcmpError(kIcmpTimeExceeded, 0), IP_TTL_EXPIRED_TRANSIT);
    EXPECT_EQ(StatusOfIcmpError(kIcmpTimeExceeded, 1), IP_TTL_EXPIRED_REASSEM);
    EXPECT_EQ(StatusOfIcmpError(kIcmpParameterProblem, 0), IP_PARAM_PROBLEM);
    EXPECT_EQ(StatusOfIcmpError(kIcmpSourceQuench, 0), IP_SOURCE_QUENCH);
    EXPECT_EQ(StatusOfIcmpError(5 /* redirect */, 0), IP_GENERAL_FAILURE);
    EXPECT_EQ(StatusOfSocketError(EHOSTUNREACH), IP_DEST_HOST_UNREACHABLE);
    EXPECT_EQ(StatusOfSocketError(ENETUNREACH), IP_DEST_NET_UNREACHABLE);
    EXPECT_EQ(StatusOfSocketError(EMSGSIZE), IP_PACKET_TOO_BIG);
    EXPECT_EQ(StatusOfSocketError(ENOBUFS), IP_NO_RESOURCES);
    EXPECT_EQ(StatusOfSocketError(EACCES), IP_BAD_DESTINATION);
    EXPECT_EQ(StatusOfSocketError(EPIPE), IP_GENERAL_FAILURE);
}

} // namespace
