#include "platform/text/NumberText.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(NumberText, IntegersAndDwordsTakeTheWholeText)
{
    EXPECT_EQ(ParseInteger("-42"), -42);
    EXPECT_EQ(ParseInteger("+17"), 17);
    EXPECT_EQ(ParseInteger("9223372036854775807"), INT64_MAX);
    for (const char* bad : { "", "-", "+", "1 ", " 1", "1x", "99999999999999999999", "9223372036854775808" })
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;

    // The upper edge of a DWORD and one past it, a sign either way, a negative zero.
    EXPECT_EQ(ParseDword("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDword("+7"), 7u);
    EXPECT_EQ(ParseDword("-0"), 0u);
    for (const char* bad : { "4294967296", "-1", "", "0x10" })
        EXPECT_FALSE(ParseDword(bad).has_value()) << bad;
}

TEST(NumberText, Ipv4InHostByteOrder)
{
    EXPECT_EQ(ParseIpv4("192.168.1.10"), 0xC0A8010Au);
    EXPECT_EQ(ParseIpv4("255.0.7.1"), 0xFF000701u);
    for (const char* bad : { "", "1.2.3", "1.2.3.4.", "256.1.1.1", "1.2.3.4 ", "01234.1.1.1", "a.b.c.d" })
        EXPECT_FALSE(ParseIpv4(bad).has_value()) << bad;
}
