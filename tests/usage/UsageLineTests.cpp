#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "usage/UsageLine.h"

namespace {

UsageLineSums All(std::wstring_view line)
{
    return SumAllEntries(SplitUsageHeader(line).rest);
}

UsageLineSums Selected(std::wstring_view line, std::wstring_view selector)
{
    return SumSelectedEntry(SplitUsageHeader(line).rest, FileSelector(selector));
}

std::vector<std::wstring> Names(std::wstring_view line)
{
    std::vector<std::wstring> names;
    ForEachEntryName(SplitUsageHeader(line).rest, [&names](std::wstring_view name) { names.emplace_back(name); });
    return names;
}

} // namespace

TEST(UsageLine, HeaderGivesDayHourAndTheEntries)
{
    UsageLineHeader header = SplitUsageHeader(L"2006-3-7-14 *2* \tne20001 1048576 52428 \tppp:1 0 0 ");
    EXPECT_EQ(header.day, 7);
    EXPECT_EQ(header.hour, 14);
    EXPECT_EQ(header.rest, L"*2* \tne20001 1048576 52428 \tppp:1 0 0 ");
    UsageLineSums sums = SumAllEntries(header.rest);
    EXPECT_EQ(sums.sent, 1048576u);
    EXPECT_EQ(sums.received, 52428u);
    EXPECT_EQ(Names(L"2006-3-7-14 *2* \tne20001 1 2 \tppp:1 0 0 "), (std::vector<std::wstring> { L"ne20001", L"ppp:1" }));
}

TEST(UsageLine, NegativeValuesAre32BitTotalsAndPositiveOnesStandIn64Bits)
{
    UsageLineSums sums = All(L"2006-3-7-14 *1* \tppp:1 -1294967296 -1 ");
    EXPECT_EQ(sums.sent, 3000000000u);
    EXPECT_EQ(sums.received, 0xFFFFFFFFu);
    // Sums of several entries are 64-bit.
    EXPECT_EQ(All(L"2006-3-7-14 *2* \ta -1294967296 0 \tb -1294967296 0 ").sent, 6000000000ull);
    // A total of 2^32 and more is written plainly and read whole, by either reading.
    const wchar_t* large = L"2006-3-7-14 *2* \ta 5368709120 4294967296 \tb -1294967296 18446744073709551615 ";
    EXPECT_EQ(All(large).sent, 5368709120ull + 3000000000ull);
    EXPECT_EQ(All(large).received, 4294967295ull); // 2^32 + (2^64 - 1), in 64 bits
    EXPECT_EQ(Selected(large, L"a").sent, 5368709120ull);
    EXPECT_EQ(Selected(large, L"b").received, 18446744073709551615ull);
    // The slower reading of a field that is not digits alone follows the same rule.
    EXPECT_EQ(All(L"2006-3-7-14 *1* \ta +5368709121x -1294967297x ").sent, 5368709121ull);
    EXPECT_EQ(All(L"2006-3-7-14 *1* \ta +5368709121x -1294967297x ").received, 2999999999ull);
    // A negative value beyond 32 bits reads as the device's reader took it, modulo 2^32.
    EXPECT_EQ(All(L"2006-3-7-14 *1* \ta -5000000000 0 ").sent, static_cast<DWORD>(0u - static_cast<DWORD>(5000000000ull)));
}

TEST(UsageLine, DummyIsLeftOutOfAllButCountsWhenSelected)
{
    const wchar_t* line = L"2006-3-7-14 *2* \tdummy 5 6 \tne20001 1 2 ";
    EXPECT_EQ(All(line).sent, 1u);
    EXPECT_EQ(Selected(line, L"dummy").sent, 5u);
    EXPECT_EQ(Names(line).front(), L"dummy");
}

TEST(UsageLine, SelectorIsASubstringMatchInFileForm)
{
    EXPECT_EQ(Selected(L"2006-3-7-14 *1* \tppp:12 5 6 ", L"ppp:1").sent, 5u);
    EXPECT_EQ(Selected(L"2006-3-7-14 *1* \tppp:12 5 6 ", L"ppp:1").received, 6u);
    UsageLineSums usb = Selected(L"2006-3-7-14 *2* \tne20001 1 1 \tusb+sync+cable 70 80 ", L"USB Sync Cable");
    EXPECT_EQ(usb.sent, 70u);
    EXPECT_EQ(usb.received, 80u);
    EXPECT_EQ(Selected(L"2006-3-7-14 *1* \tne20001 1 1 ", L"wlan").sent, 0u);
    // The first occurrence wins, even inside the entry count: "2" matches "*2*", whose next
    // field is the tab and name of the first entry (0), then its sent value.
    UsageLineSums odd = Selected(L"2006-3-7-14 *2* \tne20001 7 8 \tx 9 9 ", L"2");
    EXPECT_EQ(odd.sent, 0u);
    EXPECT_EQ(odd.received, 7u);
}

TEST(UsageLine, ToleranceOfDamagedLines)
{
    // No separators at all: every field empty, nothing added.
    UsageLineHeader empty = SplitUsageHeader(L"garbage");
    EXPECT_EQ(empty.day, 0);
    EXPECT_EQ(empty.hour, 0);
    EXPECT_EQ(All(L"garbage").sent, 0u);
    // A missing separator empties the field and drops one character of the rest.
    UsageLineHeader shortHeader = SplitUsageHeader(L"2006-3-7 *1* \ta 5 6 ");
    EXPECT_EQ(shortHeader.day, 0); // "7 *1* \ta 5 6 " has no "-": day empty, "7" dropped
    EXPECT_EQ(shortHeader.hour, 0);
    EXPECT_EQ(shortHeader.rest, L"*1* \ta 5 6 ");
    EXPECT_EQ(SumAllEntries(shortHeader.rest).sent, 5u);
    // Leading digits count; the rest of a field is ignored.
    EXPECT_EQ(SplitUsageHeader(L"2006-3-07x-9y *0* ").day, 7);
    EXPECT_EQ(All(L"2006-3-7-14 *1* \ta 12abc 3x ").sent, 12u);
    // A count larger than the entries reads the missing ones as empty.
    EXPECT_EQ(All(L"2006-3-7-14 *5* \ta 1 2 ").sent, 1u);
    EXPECT_EQ(Names(L"2006-3-7-14 *3* \ta 1 2 "), (std::vector<std::wstring> { L"a", L"" }));
    // A count of 0 or below adds nothing, whatever follows.
    EXPECT_EQ(All(L"2006-3-7-14 *0* \ta 1 2 ").sent, 0u);
    EXPECT_EQ(All(L"2006-3-7-14 *-4* \ta 1 2 ").sent, 0u);
    // A huge count ends with the line.
    EXPECT_EQ(All(L"2006-3-7-14 *2147483647* \ta 1 2 ").received, 2u);
    for (const std::wstring& name : Names(L"2006-3-7-14 *2147483647* "))
        EXPECT_EQ(name, L"");
}

TEST(UsageLine, LongLineWithoutSpacesIsReadInOnePass)
{
    // A huge count before 2 million characters without a space: each entry past the last
    // space reads as empty, and the rest is not searched again for each of them (which took
    // hours). The sums and names are what the entries before give.
    const std::wstring noSpaces = L"2006-3-7-14 *2147483647* " + std::wstring(2000000, L'x');
    const std::wstring countsAtTheEnd
        = L"2006-3-7-14 *2147483647* \tne20001 5 6 \tppp:1 9" + std::wstring(2000000, L'7');
    EXPECT_EQ(All(noSpaces).sent, 0u);
    EXPECT_EQ(Names(noSpaces), std::vector<std::wstring> { L"" });
    EXPECT_EQ(All(countsAtTheEnd).sent, 5u);
    EXPECT_EQ(All(countsAtTheEnd).received, 6u);
    EXPECT_EQ(Names(countsAtTheEnd), (std::vector<std::wstring> { L"ne20001", L"ppp:1", L"" }));

    // The same as code units read in place.
    const std::u16string units(countsAtTheEnd.begin(), countsAtTheEnd.end());
    UsageLineSums sums = SumAllEntries(SplitUsageHeader(std::u16string_view(units)).rest);
    EXPECT_EQ(sums.sent, 5u);
    EXPECT_EQ(sums.received, 6u);
    size_t names = 0;
    ForEachEntryName(SplitUsageHeader(std::u16string_view(units)).rest, [&names](std::u16string_view) { ++names; });
    EXPECT_EQ(names, 3u);
}

TEST(UsageLine, BucketsByInterval)
{
    UsageLineSums sums { 100, 200 };
    UsageTable table {};
    UsageLineHeader line { 7, 14, {} };
    AddLineToTable(IntervalDaily, 3, 1, line, sums, table);
    EXPECT_EQ(table[7], 100u);
    EXPECT_EQ(table[39], 200u);
    AddLineToTable(IntervalHourly, 3, 7, line, sums, table);
    EXPECT_EQ(table[15], 100u);
    EXPECT_EQ(table[47], 200u);
    AddLineToTable(IntervalHourly, 3, 8, line, sums, table); // another day: nothing
    AddLineToTable(IntervalMonthly, 11, 1, line, sums, table); // the requested month
    EXPECT_EQ(table[11], 100u);
    EXPECT_EQ(table[43], 200u);

    // Day 0 goes to the unread bucket 0; days and hours without a bucket add nothing.
    UsageTable edges {};
    for (UsageLineHeader odd : { UsageLineHeader { 0, 0, {} }, UsageLineHeader { 32, 0, {} }, UsageLineHeader { -1, 0, {} } })
        AddLineToTable(IntervalDaily, 3, 1, odd, sums, edges);
    for (int hour : { -1, 24 })
        AddLineToTable(IntervalHourly, 3, 7, UsageLineHeader { 7, hour, {} }, sums, edges);
    UsageTable expected {};
    expected[0] = 100;
    expected[32] = 200;
    EXPECT_EQ(edges, expected);

    // The upper edges have buckets of their own: day 31, and hour 23 as bucket 24.
    UsageTable last {};
    AddLineToTable(IntervalDaily, 3, 1, UsageLineHeader { 31, 5, {} }, UsageLineSums { 31, 3100 }, last);
    AddLineToTable(IntervalHourly, 3, 30, UsageLineHeader { 30, 23, {} }, UsageLineSums { 23, 2300 }, last);
    EXPECT_EQ(last[31], 31u);
    EXPECT_EQ(last[UsageTableReceived + 31], 3100u);
    EXPECT_EQ(last[24], 23u);
    EXPECT_EQ(last[UsageTableReceived + 24], 2300u);
}
