#include <gtest/gtest.h>

#include "metering/TrafficText.h"

TEST(FormatBytes, DecimalModeAtEachUnitBoundary)
{
    EXPECT_EQ(FormatBytes(0, ByteTextMode::Decimal), L"0 B");
    EXPECT_EQ(FormatBytes(1023, ByteTextMode::Decimal), L"1023 B");
    EXPECT_EQ(FormatBytes(1024, ByteTextMode::Decimal), L"1.0 KB");
    EXPECT_EQ(FormatBytes(1536, ByteTextMode::Decimal), L"1.5 KB");
    EXPECT_EQ(FormatBytes(1048575, ByteTextMode::Decimal), L"1024.0 KB");
    EXPECT_EQ(FormatBytes(1048576, ByteTextMode::Decimal), L"1.0 MB");
    EXPECT_EQ(FormatBytes(1073741823, ByteTextMode::Decimal), L"1024.0 MB");
    EXPECT_EQ(FormatBytes(1073741824, ByteTextMode::Decimal), L"1.0 GB");
    EXPECT_EQ(FormatBytes(0xFFFFFFFFu, ByteTextMode::Decimal), L"4.0 GB");
    // Past 32 bits the unit stays GB.
    EXPECT_EQ(FormatBytes(5ull << 30, ByteTextMode::Decimal), L"5.0 GB");
    EXPECT_EQ(FormatBytes((3ull << 40) + (1ull << 29), ByteTextMode::Decimal), L"3072.5 GB");
}

TEST(FormatBytes, DecimalModeRoundsInSinglePrecision)
{
    // 104910028 bytes are 100.0499 MB exactly, but the count becomes the float 104910032 and
    // the text rounds up, as on the device.
    EXPECT_EQ(FormatBytes(104910028u, ByteTextMode::Decimal), L"100.1 MB");
    // 3 GB - 1 byte is exactly 3 GB in single precision.
    EXPECT_EQ(FormatBytes(3221225471u, ByteTextMode::Decimal), L"3.0 GB");
}

TEST(FormatBytes, IntegerModeTruncates)
{
    EXPECT_EQ(FormatBytes(1023, ByteTextMode::Integer), L"1023 B");
    EXPECT_EQ(FormatBytes(1024, ByteTextMode::Integer), L"1 KB");
    EXPECT_EQ(FormatBytes(1536, ByteTextMode::Integer), L"1 KB");
    EXPECT_EQ(FormatBytes(1048575, ByteTextMode::Integer), L"1023 KB");
    EXPECT_EQ(FormatBytes(1048576, ByteTextMode::Integer), L"1 MB");
    EXPECT_EQ(FormatBytes(1073741823, ByteTextMode::Integer), L"1023 MB");
    EXPECT_EQ(FormatBytes(1073741824, ByteTextMode::Integer), L"1 GB");
    EXPECT_EQ(FormatBytes(0xFFFFFFFFu, ByteTextMode::Integer), L"3 GB");
    EXPECT_EQ(FormatBytes((5ull << 30) + 7, ByteTextMode::Integer), L"5 GB");
    EXPECT_EQ(FormatBytes(~0ull, ByteTextMode::Integer), L"17179869183 GB");
}

TEST(FormatRate, EachUnitBoundary)
{
    EXPECT_EQ(FormatRate(0), L"0.0 kbps");
    EXPECT_EQ(FormatRate(8000), L"7.8 kbps");
    EXPECT_EQ(FormatRate(1048575), L"1024.0 kbps");
    EXPECT_EQ(FormatRate(1048576), L"1.0 Mbps");
    EXPECT_EQ(FormatRate(1073741823), L"1024.0 Mbps");
    EXPECT_EQ(FormatRate(1073741824), L"1.0 Gbps");
    EXPECT_EQ(FormatRate(0xFFFFFFFFu), L"4.0 Gbps");
    EXPECT_EQ(FormatRate(10000000000u), L"9.3 Gbps");
    EXPECT_EQ(FormatRate(40000000000u), L"37.3 Gbps");
}
