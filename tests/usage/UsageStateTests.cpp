// The counters kept from one run to the next: what a restart may count, the file's text, and
// putting a new state in place without ever leaving a half-written one.
#include <gtest/gtest.h>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "usage/UsageState.h"

using usage_test::DeviceFiles;

namespace {

constexpr uint64_t kFourGb = 1ull << 32;
const std::wstring kPath = L"\\Windows\\VelmoraCounters.dat";

UsageState KeptState()
{
    UsageState state;
    state.bootId = "boot-a";
    state.counters[L"ne20001"] = { kFourGb + 300, 7 * kFourGb + 1200, 4 };
    state.counters[L"my isp"] = { 40, 900, 9 };
    return state;
}

bool operator==(const UsageCounters& a, const UsageCounters& b)
{
    return a.up == b.up && a.down == b.down && a.link == b.link;
}

} // namespace

TEST(UsageState, ARestartInTheSameBootCountsTheGapIn64Bits)
{
    UsageState kept = KeptState();
    // Past 2^32 in both directions by unequal amounts: no 32-bit wrap takes any of it.
    UsageCounters since = kept.TrafficSince("boot-a", L"ne20001", { 3 * kFourGb + 500, 7 * kFourGb + 1250, 4 });
    EXPECT_EQ(since.up, 2 * kFourGb + 200);
    EXPECT_EQ(since.down, 50u);
    // Up to the top of the range.
    since = kept.TrafficSince("boot-a", L"ne20001", { UINT64_MAX, UINT64_MAX, 4 });
    EXPECT_EQ(since.up, UINT64_MAX - kFourGb - 300);
    EXPECT_EQ(since.down, UINT64_MAX - 7 * kFourGb - 1200);
    EXPECT_TRUE((kept.TrafficSince("boot-a", L"ne20001", { kFourGb + 300, 7 * kFourGb + 1200, 4 }) == UsageCounters {}));
}

TEST(UsageState, NothingIsCountedAfterARebootForAnInterfaceMadeAgainOrForAnUnknownName)
{
    UsageState kept = KeptState();
    UsageCounters more { 2 * kFourGb, 8 * kFourGb, 4 };
    EXPECT_TRUE((kept.TrafficSince("boot-b", L"ne20001", more) == UsageCounters {}));
    EXPECT_TRUE((kept.TrafficSince("boot-a", L"ppp:1", more) == UsageCounters {}));
    // Made again: another link index, or either counter below the kept one.
    EXPECT_TRUE((kept.TrafficSince("boot-a", L"ne20001", { 2 * kFourGb, 8 * kFourGb, 5 }) == UsageCounters {}));
    EXPECT_TRUE((kept.TrafficSince("boot-a", L"ne20001", { kFourGb + 299, 9 * kFourGb, 4 }) == UsageCounters {}));
    EXPECT_TRUE((kept.TrafficSince("boot-a", L"ne20001", { 9 * kFourGb, 7 * kFourGb + 1199, 4 }) == UsageCounters {}));
    // A machine that cannot tell its boots never carries counters over.
    kept.bootId.clear();
    EXPECT_TRUE((kept.TrafficSince("", L"ne20001", more) == UsageCounters {}));
}

TEST(UsageState, TextRoundTripsAndUnreadableEntriesArePassedOver)
{
    UsageState kept = KeptState();
    kept.counters[L"gprs \u0441\u0435\u0442\u044C"] = { 1, 2, 0 };
    std::wstring text = kept.Format();
    EXPECT_EQ(text.substr(0, 13), L"boot boot-a\r\n");
    std::optional<UsageState> read = UsageState::Parse(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->bootId, "boot-a");
    ASSERT_EQ(read->counters.size(), 3u);
    EXPECT_TRUE(read->counters[L"ne20001"] == kept.counters[L"ne20001"]);
    EXPECT_TRUE((read->counters[L"my isp"] == UsageCounters { 40, 900, 9 }));
    EXPECT_TRUE((read->counters[L"gprs \u0441\u0435\u0442\u044C"] == UsageCounters { 1, 2, 0 }));

    read = UsageState::Parse(L"boot x\r\n5 6 2 lan\r\n-1 6 2 minus\r\n7 2 ne\r\n8 9 2 \r\n18446744073709551616 1 2 over\r\n"
                             L"1 2 2147483648 link\r\n1 2 3 cut");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->counters.size(), 2u);
    EXPECT_TRUE((read->counters[L"lan"] == UsageCounters { 5, 6, 2 }));
    EXPECT_TRUE((read->counters[L"cut"] == UsageCounters { 1, 2, 3 }));
    EXPECT_FALSE(UsageState::Parse(L"5 6 2 lan\r\n").has_value());
    EXPECT_FALSE(UsageState::Parse(L"").has_value());
}

TEST(UsageState, SavingPutsTheNewStateInPlaceOrLeavesTheOldOne)
{
    DeviceFiles files;
    usage_test::MakeFolder(L"\\Windows");
    EXPECT_FALSE(UsageState::Load(kPath).has_value());
    ASSERT_TRUE(KeptState().Save(kPath));

    UsageState next = KeptState();
    next.counters[L"ne20001"].up += 5;
    files.Sim().FailWrites(kPath + L".new", 1, ERROR_WRITE_FAULT);
    EXPECT_FALSE(next.Save(kPath));
    std::optional<UsageState> read = UsageState::Load(kPath);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->counters[L"ne20001"].up, kFourGb + 300);
    EXPECT_FALSE(usage_test::FileExists(kPath + L".new"));

    ASSERT_TRUE(next.Save(kPath));
    read = UsageState::Load(kPath);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->counters[L"ne20001"].up, kFourGb + 305);
    EXPECT_FALSE(usage_test::FileExists(kPath + L".new"));
}
