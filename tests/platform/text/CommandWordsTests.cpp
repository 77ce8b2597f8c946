#include "platform/text/CommandWords.h"

#include <gtest/gtest.h>

using platform::ParseCommandSeconds;
using platform::SplitCommandWords;

namespace {

std::vector<std::string> Words(std::string_view line)
{
    std::vector<std::string> words;
    EXPECT_TRUE(SplitCommandWords(line, words)) << line;
    return words;
}

} // namespace

TEST(CommandWords, QuotesKeepBlanksAndEscapesAndCommentsEndTheLine)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(Words("  type  1001\t\"a b\"  # why\r"), (List{ "type", "1001", "a b" }));
    EXPECT_EQ(Words("adapter name=\"Home LAN\" up"), (List{ "adapter", "name=Home LAN", "up" }));
    EXPECT_EQ(Words(R"(say "quote \" and \\ back")"), (List{ "say", R"(quote " and \ back)" }));
    EXPECT_EQ(Words(R"(x "a#b")"), (List{ "x", "a#b" }));
    EXPECT_EQ(Words(R"(x "")"), (List{ "x", "" }));
    EXPECT_TRUE(Words("   # only a comment").empty());

    std::vector<std::string> words;
    EXPECT_FALSE(SplitCommandWords("type 1 \"open", words));
}

TEST(CommandWords, SecondsTakeUpToThreeDecimals)
{
    EXPECT_EQ(ParseCommandSeconds("0"), 0);
    EXPECT_EQ(ParseCommandSeconds("2.25"), 2250);
    EXPECT_EQ(ParseCommandSeconds("1.005"), 1005);
    EXPECT_EQ(ParseCommandSeconds("1000000000"), int64_t{ 1'000'000'000'000 });
    for (const char* bad : { "", ".5", "1.", "1.2345", "-1", "+1", "1e3", "1,5", "1000000001", "9x" })
        EXPECT_EQ(ParseCommandSeconds(bad), std::nullopt) << bad;
}
