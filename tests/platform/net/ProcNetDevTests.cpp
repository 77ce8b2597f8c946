// The counters' one read a tick: /proc/net/dev's rows, and putting them on the links read
// from the routing socket.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "platform/net/linux/ProcNetDev.h"
#include "support/TestSupport.h"

using namespace platform::linuxnet;

namespace {

constexpr const char* kHeader = "Inter-|   Receive                                                |  Transmit\n"
                                " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo colls carrier compressed\n";

KernelLink Link(const char* name, uint64_t rxBytes = 0)
{
    KernelLink link;
    link.name = name;
    link.stats.rxBytes = rxBytes;
    return link;
}

} // namespace

TEST(ProcNetDevParsing, EachColumnLandsInItsCounterAndHeadersAreSkipped)
{
    std::string text = std::string(kHeader)
        + "    lo:    3267      29    0    0    0     0          0         0     3267      29    0    0    0     0       0          0\n"
          "  eth0: 30950956    1071    3    4    5     6          7         8    57075     738    9   10   11    12      13         14\n"
          "wlp2s0-long.9: 18446744073709551615 2 0 0 0 0 0 0 1 0 0 0 0 0 0 0\n";
    std::vector<LinkCounters> rows = ParseProcNetDev(text);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "lo");
    EXPECT_EQ(rows[1].name, "eth0");
    const LinkStats& eth0 = rows[1].stats;
    EXPECT_EQ(eth0.rxBytes, 30950956u);
    EXPECT_EQ(eth0.rxPackets, 1071u);
    EXPECT_EQ(eth0.rxErrors, 3u);
    EXPECT_EQ(eth0.rxDropped, 4u);
    EXPECT_EQ(eth0.multicast, 8u);
    EXPECT_EQ(eth0.txBytes, 57075u);
    EXPECT_EQ(eth0.txPackets, 738u);
    EXPECT_EQ(eth0.txErrors, 9u);
    EXPECT_EQ(eth0.txDropped, 10u);
    // The kernel's name column is padded on the left only; long names push the numbers right.
    EXPECT_EQ(rows[2].name, "wlp2s0-long.9");
    EXPECT_EQ(rows[2].stats.rxBytes, UINT64_MAX);
    EXPECT_EQ(rows[2].stats.txBytes, 1u);
}

TEST(ProcNetDevParsing, RowsThatAreNotWholeAreLeftOut)
{
    std::string fifteen = "eth1: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n";
    std::string seventeen = "eth2: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17\n";
    std::string tooLarge = "eth3: 18446744073709551616 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
    std::string notNumbers = "eth4: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 1x\n";
    std::string blankName = "   : 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n";
    std::string cutOff = "eth5: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16"; // no line end: the read stopped inside it
    std::string good = "eth6: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\n";
    std::vector<LinkCounters> rows = ParseProcNetDev(good + fifteen + seventeen + tooLarge + notNumbers + blankName + cutOff);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, "eth6");
    EXPECT_EQ(rows[0].stats.rxBytes, 1u);
    EXPECT_EQ(rows[0].stats.txDropped, 12u);
    EXPECT_TRUE(ParseProcNetDev("").empty());
    EXPECT_TRUE(ParseProcNetDev(kHeader).empty());
}

TEST(ProcNetDevParsing, CountersGoOnTheLinksOfTheSameNamesOrAskForTheLinksAgain)
{
    std::vector<LinkCounters> rows(2);
    rows[0].name = "lo";
    rows[0].stats.rxBytes = 700;
    rows[0].stats.txBytes = 70;
    rows[1].name = "eth0";
    rows[1].stats.rxBytes = 900;
    rows[1].stats.txBytes = 90;
    std::vector<KernelLink> links = { Link("eth0", 5), Link("lo", 6) };
    ASSERT_TRUE(ApplyCounters(rows, links));
    EXPECT_TRUE(links[0].haveStats);
    EXPECT_EQ(links[0].stats.rxBytes, 900u);
    EXPECT_EQ(links[0].stats.txBytes, 90u);
    EXPECT_EQ(links[1].stats.rxBytes, 700u);

    // A link came, went or was renamed since the links were read: they keep what they had.
    std::vector<KernelLink> one = { Link("lo", 1) };
    EXPECT_FALSE(ApplyCounters(rows, one));
    std::vector<KernelLink> three = { Link("lo", 1), Link("eth0", 2), Link("eth1", 3) };
    EXPECT_FALSE(ApplyCounters(rows, three));
    std::vector<KernelLink> renamed = { Link("lo", 1), Link("lan0", 2) };
    EXPECT_FALSE(ApplyCounters(rows, renamed));
    EXPECT_EQ(renamed[1].stats.rxBytes, 2u);
    EXPECT_FALSE(renamed[1].haveStats);
}

TEST(ProcNetDev, ReadsTheWholeFileAgainAtEveryRead)
{
    testing_support::ScratchFolder folder;
    auto path = folder.Path() / "dev";
    std::string rows;
    // More than one buffer's worth, so that the read goes on past the first.
    for (int i = 0; i < 200; ++i)
        rows += "veth" + std::to_string(i) + ": " + std::to_string(i) + " 0 0 0 0 0 0 0 " + std::to_string(2 * i) + " 0 0 0 0 0 0 0\n";
    std::ofstream(path) << kHeader << rows;
    ProcNetDev reader(path);
    std::vector<LinkCounters> out;
    ASSERT_EQ(reader.Read(out), 0);
    ASSERT_EQ(out.size(), 200u);
    EXPECT_EQ(out[199].name, "veth199");
    EXPECT_EQ(out[199].stats.rxBytes, 199u);
    EXPECT_EQ(out[199].stats.txBytes, 398u);
    // The descriptor is kept: what the file holds at the next read is read from its start.
    std::ofstream(path) << kHeader << "lo: 1 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0\n";
    ASSERT_EQ(reader.Read(out), 0);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].name, "lo");
    EXPECT_EQ(out[0].stats.txBytes, 2u);

    ProcNetDev missing(folder.Path() / "none");
    EXPECT_EQ(missing.Read(out), ENOENT);
}
