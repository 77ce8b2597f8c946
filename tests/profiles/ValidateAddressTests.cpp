// The editor's address check: three dots at least, the platform's parser's consent, and only
// the text's first characters.
#include <gtest/gtest.h>

#include "profiles/ValidateAddress.h"

TEST(ValidateAddress, NeedsThreeDotsAndTheParsersConsent)
{
    EXPECT_EQ(ValidateAddress(L"10.0.0.5", false), 1u);
    EXPECT_EQ(ValidateAddress(L"0.0.0.0", false), 1u);
    EXPECT_EQ(ValidateAddress(L"10.1.1", false), 0u);
    EXPECT_EQ(ValidateAddress(L"10.1.1", true), 0u);
    // Three dots are not enough when a part is too large, and the parts need not be decimal.
    EXPECT_EQ(ValidateAddress(L"10.1.1.256", false), 0u);
    EXPECT_EQ(ValidateAddress(L"10.1.256.4", false), 0u);
    EXPECT_EQ(ValidateAddress(L"010.0x1F.0.07", false), 1u);
    EXPECT_EQ(ValidateAddress(L"1.2.3.4.5", true), 0u);
    EXPECT_EQ(ValidateAddress(L"10.0.0.0x", false), 0u); // a hexadecimal part needs a digit
    // The dots are counted in the whole text, while the parser stops at the first blank: a
    // short form ahead of it passes.
    EXPECT_EQ(ValidateAddress(L"10.1 .1.", false), 1u);
    EXPECT_EQ(ValidateAddress(L"10.1 .", false), 0u);
    EXPECT_EQ(ValidateAddress(L"10.20.3.4\t.", false), 1u);
    EXPECT_EQ(ValidateAddress(L"255.255.255.254", false), 1u);
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
