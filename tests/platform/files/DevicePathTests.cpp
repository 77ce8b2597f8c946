#include <gtest/gtest.h>

#include "platform/files/DevicePath.h"
#include "platform/files/NamePattern.h"

using platform::DevicePath;
using platform::MatchesNamePattern;

namespace {

std::wstring Normalised(const wchar_t* text)
{
    DevicePath path;
    DWORD error = DevicePath::Parse(text, path);
    return error == ERROR_SUCCESS ? path.ToString() : L"error " + std::to_wstring(error);
}

} // namespace

TEST(DevicePath, NormalisesBeforeAnyLookup)
{
    EXPECT_EQ(Normalised(L"\\Program Files\\Velmora"), L"\\Program Files\\Velmora");
    EXPECT_EQ(Normalised(L"Program Files//Velmora/"), L"\\Program Files\\Velmora");
    EXPECT_EQ(Normalised(L"\\a\\.\\b\\..\\c"), L"\\a\\c");
    EXPECT_EQ(Normalised(L"\\"), L"\\");
    EXPECT_EQ(Normalised(L"\\a\\.."), L"\\");
    EXPECT_EQ(Normalised(L".."), L"error 5");
    EXPECT_EQ(Normalised(L"\\a\\..\\..\\b"), L"error 5");
    EXPECT_EQ(Normalised(L""), L"error 3");
    EXPECT_EQ(Normalised(L"\\a b.c d"), L"\\a b.c d");
    EXPECT_EQ(Normalised(L"\\x\x1F"), L"error 123");
    // MAX_PATH counts the terminator: 259 characters is the longest path.
    std::wstring longest = L"\\" + std::wstring(MAX_PATH - 2, L'a');
    EXPECT_EQ(Normalised(longest.c_str()), longest);
    EXPECT_EQ(Normalised((longest + L"a").c_str()), L"error 206");
    EXPECT_EQ(Normalised(std::wstring(MAX_PATH - 1, L'a').c_str()), L"error 206"); // as "\aaa..."
}

TEST(DevicePath, SearchKeepsTheLastComponentAsPattern)
{
    DevicePath folder;
    std::wstring pattern;
    ASSERT_EQ(DevicePath::ParseSearch(L"\\Program Files\\.\\Velmora\\UsageData*", folder, pattern), ERROR_SUCCESS);
    EXPECT_EQ(folder.ToString(), L"\\Program Files\\Velmora");
    EXPECT_EQ(pattern, L"UsageData*");
    ASSERT_EQ(DevicePath::ParseSearch(L"*.txt", folder, pattern), ERROR_SUCCESS);
    EXPECT_TRUE(folder.IsRoot());
    EXPECT_EQ(pattern, L"*.txt");
    EXPECT_EQ(DevicePath::ParseSearch(L"\\a?\\*", folder, pattern), ERROR_INVALID_NAME);
}

TEST(NamePattern, StarsQuestionMarksAndCase)
{
    EXPECT_TRUE(MatchesNamePattern(L"UsageData200603.txt", L"usagedata*"));
    EXPECT_TRUE(MatchesNamePattern(L"UsageData200603.txt", L"*.TXT"));
    EXPECT_TRUE(MatchesNamePattern(L"UsageData200603.txt", L"UsageData2006??.txt"));
    EXPECT_FALSE(MatchesNamePattern(L"UsageData20063.txt", L"UsageData2006??.txt"));
    EXPECT_TRUE(MatchesNamePattern(L"README", L"*.*"));
    EXPECT_FALSE(MatchesNamePattern(L"README", L"*.txt"));
    EXPECT_TRUE(MatchesNamePattern(L"", L"*"));
    EXPECT_FALSE(MatchesNamePattern(L"", L"?"));
    EXPECT_FALSE(MatchesNamePattern(L"ab", L"a"));
    EXPECT_TRUE(MatchesNamePattern(L"aXbYc", L"a*b*c"));
    EXPECT_TRUE(MatchesNamePattern(L"\u0416\u0443\u0440\u043D\u0430\u043B", L"\u0436*\u041B"));
    EXPECT_FALSE(MatchesNamePattern(std::wstring(200, L'a'), L"*a*a*a*a*a*a*a*b")); // no blow-up
}

TEST(NamePattern, DotsFollowThePlatformsRules)
{
    // "x.*" names x itself too.
    EXPECT_TRUE(MatchesNamePattern(L"aa", L"aa*.*"));
    EXPECT_TRUE(MatchesNamePattern(L"aab.log", L"aa*.*"));
    EXPECT_TRUE(MatchesNamePattern(L"Usage", L"usage.*"));
    EXPECT_FALSE(MatchesNamePattern(L"Usages", L"usage.*"));
    EXPECT_FALSE(MatchesNamePattern(L"ba", L"aa*.*"));
    // A final dot names files without an extension.
    EXPECT_TRUE(MatchesNamePattern(L"README", L"*."));
    EXPECT_FALSE(MatchesNamePattern(L"notes.txt", L"*."));
    EXPECT_TRUE(MatchesNamePattern(L"q", L"?."));
    EXPECT_FALSE(MatchesNamePattern(L"qq", L"?."));
    EXPECT_FALSE(MatchesNamePattern(L"q.c", L"?."));
    // A name that spells the pattern matches it, dots and all.
    EXPECT_TRUE(MatchesNamePattern(L"a.b.", L"a.b."));
    EXPECT_TRUE(MatchesNamePattern(L"x.", L"x."));
}
