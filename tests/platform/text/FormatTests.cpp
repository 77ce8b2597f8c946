#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/text/Format.h"

TEST(Format, ConversionsTheSystemUses)
{
    EXPECT_EQ(Fmt(L"IP Address: %s", std::wstring(L"10.0.0.5")), L"IP Address: 10.0.0.5");
    EXPECT_EQ(Fmt(L"%S", "narrow"), L"narrow");
    EXPECT_EQ(Fmt(L"%d-%d-%d-%d *%d* ", 2006, 3, 7, 14, 2), L"2006-3-7-14 *2* ");
    EXPECT_EQ(Fmt(L"%02d:%02d:%02d", 1, 2, 5), L"01:02:05");
    EXPECT_EQ(Fmt(L"%02X-%02x", 0x0A, 0x4E), L"0A-4e");
    EXPECT_EQ(Fmt(L"%u", 4294967295u), L"4294967295");
    EXPECT_EQ(Fmt(L"%c%c", L'o', L'k'), L"ok");
    EXPECT_EQ(Fmt(L"%.1f KB", 1.25), L"1.2 KB");
    EXPECT_EQ(Fmt(L"%01.1f", 9.96), L"10.0");
    EXPECT_EQ(Fmt(L"%s (%d%%)", L"Good", 62), L"Good (62%)");
    EXPECT_EQ(Fmt(L"no conversions"), L"no conversions");
}

TEST(Format, UnsignedThroughPercentDPrintsTheSignedReading)
{
    // Usage files store 32-bit totals with %d; 3000000000 bytes read back as negative.
    EXPECT_EQ(Fmt(L"%d", 3000000000u), L"-1294967296");
    EXPECT_EQ(Fmt(L"%d", 4294967295u), L"-1");
    EXPECT_EQ(Fmt(L"%d", INT_MIN), L"-2147483648");
    EXPECT_EQ(Fmt(L"%u", -1), L"4294967295");
}

TEST(Format, WidthsPrecisionsAndFlags)
{
    EXPECT_EQ(Fmt(L"[%5d]", 42), L"[   42]");
    EXPECT_EQ(Fmt(L"[%-5d]", 42), L"[42   ]");
    EXPECT_EQ(Fmt(L"[%05d]", -42), L"[-0042]");
    EXPECT_EQ(Fmt(L"[%+d]", 7), L"[+7]");
    EXPECT_EQ(Fmt(L"[%6s]", L"ab"), L"[    ab]");
    EXPECT_EQ(Fmt(L"[%-6s]", L"ab"), L"[ab    ]");
    EXPECT_EQ(Fmt(L"[%.2s]", L"abcdef"), L"[ab]");
    EXPECT_EQ(Fmt(L"[%02d]", 123), L"[123]");
    EXPECT_EQ(Fmt(L"[%8.3f]", 3.14159), L"[   3.142]");
}

TEST(Format, AlternateFormsZeroPrecisionAndZeroPaddedText)
{
    EXPECT_EQ(Fmt(L"[%#x|%#X|%#x]", 0x1Fu, 0xABCDEF01u, 0u), L"[0x1f|0XABCDEF01|0]");
    EXPECT_EQ(Fmt(L"[%#08x]", 0x2Au), L"[0x00002a]");
    EXPECT_EQ(Fmt(L"[%#-8x]", 0x2Au), L"[0x2a    ]");
    EXPECT_EQ(Fmt(L"[%#u]", 17u), L"[17]");
    // No digit for zero at precision 0, only the width's spaces.
    EXPECT_EQ(Fmt(L"[%.0d|%.0u|%3.0x|%.0d]", 0, 0u, 0u, 5), L"[||   |5]");
    EXPECT_EQ(Fmt(L"[%.3d|%.4x]", -7, 0xFFu), L"[-007|00ff]");
    EXPECT_EQ(Fmt(L"[%04s|%03c|%-04s]", L"ab", L'z', L"ab"), L"[00ab|00z|ab  ]");
}

TEST(Format, TextsAndNulls)
{
    const wchar_t* nothing = nullptr;
    const char* narrowNothing = nullptr;
    EXPECT_EQ(Fmt(L"%s|%S", nothing, narrowNothing), L"(null)|(null)");
    // Narrow texts are widened byte by byte: 0xE9 stays one character of value 0xE9.
    EXPECT_EQ(Fmt(L"%S", std::string("caf\xE9")), std::wstring(L"caf\u00E9"));
    EXPECT_EQ(Fmt(L"%s", std::wstring_view(L"\u0412\u0435\u0440\u0441\u0438\u044F")), L"\u0412\u0435\u0440\u0441\u0438\u044F");
}

TEST(Format, AppendBuildsOnExistingText)
{
    std::wstring line = L"2006-3-7-14 *1* ";
    AppendFmt(line, L"\t%s %d %d ", L"ne20001", 1048576, 52428);
    AppendFmt(line, L"\r\n");
    EXPECT_EQ(line, L"2006-3-7-14 *1* \tne20001 1048576 52428 \r\n");
}
