#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "usage/UsageReader.h"

TEST(NameList, FirstAppearanceOrderExactComparisonAndTheResult)
{
    NameList names;
    EXPECT_TRUE(AddUniqueName(names, L"ppp:1"));
    EXPECT_TRUE(AddUniqueName(names, L"ne20001"));
    EXPECT_FALSE(AddUniqueName(names, L"ppp:1"));
    // Case, spaces and "+" count: only an exact repeat is one.
    EXPECT_TRUE(AddUniqueName(names, L"PPP:1"));
    EXPECT_TRUE(AddUniqueName(names, L"usb sync cable"));
    EXPECT_TRUE(AddUniqueName(names, L"usb+sync+cable"));
    EXPECT_TRUE(AddUniqueName(names, L""));
    EXPECT_FALSE(AddUniqueName(names, L""));
    EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.end()),
        (std::vector<std::wstring> { L"ppp:1", L"ne20001", L"PPP:1", L"usb sync cable", L"usb+sync+cable", L"" }));
    EXPECT_TRUE(names.Contains(L"usb+sync+cable"));
    EXPECT_FALSE(names.Contains(L"ppp:"));

    // A list given in full drops its repeats; the order counts when comparing.
    EXPECT_EQ((NameList { L"b", L"a", L"b" }), (NameList { L"b", L"a" }));
    EXPECT_FALSE((NameList { L"a", L"b" }) == (NameList { L"b", L"a" }));

    // A copy keeps its own index: each goes on without the other's names.
    NameList copy = names;
    EXPECT_TRUE(copy.Add(L"wlan1"));
    EXPECT_FALSE(copy.Add(L"ne20001"));
    EXPECT_TRUE(names.Add(L"wlan1"));
    names.Clear();
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(names.Add(L"ne20001"));
    EXPECT_EQ(copy.size(), 7u);
}

TEST(NameList, ManyDistinctNamesGoInWithoutSearchingTheList)
{
    // 200,000 names, each then offered again: with a search of the list per name this took
    // a quarter of an hour.
    const int count = 200000;
    NameList names;
    for (int i = count - 1; i >= 0; --i)
        ASSERT_TRUE(AddUniqueName(names, L"if" + std::to_wstring(i)));
    for (int i = 0; i < count; ++i)
        ASSERT_FALSE(AddUniqueName(names, L"if" + std::to_wstring(i)));
    ASSERT_EQ(names.size(), static_cast<size_t>(count));
    EXPECT_EQ(names[0], L"if199999");
    EXPECT_EQ(names[count - 1], L"if0");
}
