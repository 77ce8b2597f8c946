// The editor's address check, and the platform's parser beneath it.
#include <gtest/gtest.h>

#include "profiles/ValidateAddress.h"

TEST(ParseInetAddress, ReadsTheShortAndTheOctalAndHexForms)
{
    EXPECT_EQ(ParseInetAddress("10.0.0.5"), 0x0A000005u);
    EXPECT_EQ(ParseInetAddress("192.168.1.254"), 0xC0A801FEu);
    // The last part fills the bytes left: 10.1.1 is 10.1.0.1, 10.65539 is 10.1.0.3.
    EXPECT_EQ(ParseInetAddress("10.1.1"), 0x0A010001u);
    EXPECT_EQ(ParseInetAddress("10.65539"), 0x0A010003u);
    EXPECT_EQ(ParseInetAddress("3232235777"), 0xC0A80101u);
    EXPECT_EQ(ParseInetAddress("010.0x1F.0.07"), 0x081F0007u);
    EXPECT_EQ(ParseInetAddress("1.2.3.4 and more"), 0x01020304u);
}

TEST(ParseInetAddress, RefusesWhatIsNoAddress)
{
    for (const char* text : { "", "1.2.3.256", "1.2.256.4", "256.2.3.4", "1.2.3.4.5", "1..3.4", "1.2.3.", ".1.2.3",
             "1.2.3.4x", "08.1.1.1", "0x.1.1.1x", "1.2.65536", "4294967296", "a.b.c.d", "-1.2.3.4" })
        EXPECT_EQ(ParseInetAddress(text), 0xFFFFFFFFu) << text;
    // The one address that reads as its own failure.
    EXPECT_EQ(ParseInetAddress("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseInetAddress("255.255.255.254"), 0xFFFFFFFEu);
}

TEST(ValidateAddress, NeedsThreeDotsAndTheParsersConsent)
{
    EXPECT_EQ(ValidateAddress(L"10.0.0.5", false), 1u);
    EXPECT_EQ(ValidateAddress(L"0.0.0.0", false), 1u);
    EXPECT_EQ(ValidateAddress(L"10.1.1", false), 0u);
    EXPECT_EQ(ValidateAddress(L"10.1.1", true), 0u);
    EXPECT_EQ(ValidateAddress(L"255.255.255.255", false), 0u);
    EXPECT_EQ(ValidateAddress(L"10.0.0.5*", true), 0u);
    EXPECT_EQ(ValidateAddress(L"10.0.0.\x0665", true), 0u);
    EXPECT_EQ(ValidateAddress(L"", true), 1u);
    EXPECT_EQ(ValidateAddress(L"", false), 0u);
}

TEST(ValidateAddress, ReadsOnlyTheFirst31Characters)
{
    // Octal zeros, then a 9 that no octal number may hold: seen at the 31st character, cut off
    // at the 32nd.
    std::wstring zeros30 = L"10.0.0." + std::wstring(23, L'0');
    ASSERT_EQ(zeros30.size(), 30u);
    EXPECT_EQ(ValidateAddress(zeros30, false), 1u);
    EXPECT_EQ(ValidateAddress(zeros30 + L"9", false), 0u);
    EXPECT_EQ(ValidateAddress(zeros30 + L"09", false), 1u);
}
