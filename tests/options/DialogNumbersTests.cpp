// The numbers the options pages read from their fields and the steps of their up-down arrows.
#include <gtest/gtest.h>

#include "options/DialogNumbers.h"

TEST(DialogNumbers, TextIsReadAsADecimalNumberHeldWithinItsBounds)
{
    EXPECT_EQ(BoundedNumberFromText(L"37", 1, 99), 37u);
    EXPECT_EQ(BoundedNumberFromText(L"99", 1, 99), 99u);
    EXPECT_EQ(BoundedNumberFromText(L"100", 1, 99), 99u);
    EXPECT_EQ(BoundedNumberFromText(L"150", 1, 99), 99u);
    EXPECT_EQ(BoundedNumberFromText(L"0", 1, 99), 1u);
    EXPECT_EQ(BoundedNumberFromText(L"", 1, 99), 1u);
    EXPECT_EQ(BoundedNumberFromText(L"MB", 1, 99), 1u);
    EXPECT_EQ(BoundedNumberFromText(L"-5", 1, 99), 1u);
    // Leading digits count; the rest of the text does not.
    EXPECT_EQ(BoundedNumberFromText(L"42x7", 1, 99), 42u);
    EXPECT_EQ(BoundedNumberFromText(L"3", 5, 60), 5u);
    EXPECT_EQ(BoundedNumberFromText(L"61", 5, 60), 60u);
}

TEST(DialogNumbers, OnlyTheFirstTenCharactersCount)
{
    // 4294967297 would wrap to 1 in 32 bits: it is far above the bound instead.
    EXPECT_EQ(BoundedNumberFromText(L"4294967297", 1, 99), 99u);
    EXPECT_EQ(BoundedNumberFromText(L"4294967295", 1, 0xFFFFFFFFu), 0xFFFFFFFFu);
    // The eleventh digit is not read: 12345678901 reads 1234567890.
    EXPECT_EQ(BoundedNumberFromText(L"12345678901", 1, 0xFFFFFFFFu), 1234567890u);
    EXPECT_EQ(BoundedNumberFromText(L"         7", 1, 99), 7u);
    EXPECT_EQ(BoundedNumberFromText(L"          7", 1, 99), 1u);
}

TEST(DialogNumbers, StepsGoUpForDeltasBelowOneAndStayWithinOneToHigh)
{
    EXPECT_EQ(StepBoundedNumber(5, -1, 99), 6u);
    EXPECT_EQ(StepBoundedNumber(5, 0, 99), 6u);
    EXPECT_EQ(StepBoundedNumber(5, 1, 99), 4u);
    EXPECT_EQ(StepBoundedNumber(5, 3, 99), 4u);
    EXPECT_EQ(StepBoundedNumber(98, -1, 99), 99u);
    EXPECT_EQ(StepBoundedNumber(99, -1, 99), 99u);
    EXPECT_EQ(StepBoundedNumber(150, 1, 99), 99u);
    EXPECT_EQ(StepBoundedNumber(1, 1, 99), 1u);
    EXPECT_EQ(StepBoundedNumber(0, 1, 99), 1u);
    EXPECT_EQ(StepBoundedNumber(0, -1, 99), 1u);
    EXPECT_EQ(StepBoundedNumber(0xFFFFFFFFu, -1, 0xFFFFFFFFu), 0xFFFFFFFFu);
}
