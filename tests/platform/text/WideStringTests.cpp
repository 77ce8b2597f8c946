#include <gtest/gtest.h>

#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

TEST(WideString, WtoLStopsAtTheFirstNonDigit)
{
    EXPECT_EQ(WtoL(L""), 0);
    EXPECT_EQ(WtoL(L"abc"), 0);
    EXPECT_EQ(WtoL(L"  42xyz"), 42);
    EXPECT_EQ(WtoL(L"-1294967296"), -1294967296);
    EXPECT_EQ(static_cast<uint32_t>(WtoL(L"-1294967296")), 3000000000u);
    EXPECT_EQ(WtoL(L"+7"), 7);
    EXPECT_EQ(WtoL(L"- 7"), 0);
    // Past 32 bits the device's conversion wraps.
    EXPECT_EQ(static_cast<uint32_t>(WtoL(L"4294967296")), 0u);
    EXPECT_EQ(static_cast<uint32_t>(WtoL(L"4294967295")), 4294967295u);
}

TEST(WideString, CaseFoldingCoversLatinAndCyrillic)
{
    EXPECT_EQ(WideToLower(std::wstring_view(L"USB Sync Cable")), L"usb sync cable");
    EXPECT_EQ(WideToLower(std::wstring_view(L"\u0412\u0415\u0420\u0421\u0418\u042F \u0401")), L"\u0432\u0435\u0440\u0441\u0438\u044F \u0451");
    EXPECT_EQ(WideToLower(std::wstring_view(L"\u00C9T\u00C9 \u00D7")), L"\u00E9t\u00E9 \u00D7");
    EXPECT_TRUE(EqualsNoCase(L"Software\\Tavrel", L"SOFTWARE\\tavrel"));
    EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
    EXPECT_LT(CompareNoCase(L"Apple", L"banana"), 0);
    EXPECT_EQ(WideToUpper(L'\u0451'), L'\u0401');
}

TEST(WideString, WideningIsByteByByte)
{
    const char raw[] = { 'N', 'E', '\x80', '\xFF', 0, 'x' };
    EXPECT_EQ(WidenBytes(raw, sizeof raw), std::wstring(L"NE\u0080\u00FF"));
    EXPECT_EQ(WidenBytes("abcdef", 3), L"abc");
    EXPECT_EQ(NarrowBytes(L"NE\u00FF"), std::string("NE\xFF"));
}

TEST(WideString, Utf8RoundTripAndInvalidBytes)
{
    std::wstring text = L"\u0412\u0435\u0440\u0441\u0438\u044F: 1.9 \U0001F600";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(Utf8ToWide("a\xC3"), std::wstring(L"a\uFFFD"));
    EXPECT_EQ(Utf8ToWide("\xFF" "b"), std::wstring(L"\uFFFD" L"b"));
    EXPECT_EQ(Utf8ToWide("\xC0\xAF"), std::wstring(L"\uFFFD\uFFFD")); // overlong form refused
}

TEST(WideString, TrimAndContains)
{
    EXPECT_EQ(TrimWhite(L"  NE20001 \t\r\n"), L"NE20001");
    EXPECT_EQ(TrimWhite(L"   "), L"");
    EXPECT_TRUE(Contains(L"ppp:12", L"ppp"));
    EXPECT_FALSE(Contains(L"PPP1", L"ppp"));
}

TEST(Utf16, LittleEndianWithoutByteOrderMark)
{
    std::string bytes = EncodeUtf16Le(L"A\u0416\r\n");
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes, std::string("A\0\x16\x04\r\0\n\0", 8));
    EXPECT_EQ(DecodeUtf16Le(bytes), L"A\u0416\r\n");
}

TEST(Utf16, SurrogatesAndOddBytes)
{
    std::string pair = EncodeUtf16Le(L"\U0001F600");
    EXPECT_EQ(pair, std::string("\x3D\xD8\x00\xDE", 4));
    EXPECT_EQ(DecodeUtf16Le(pair), L"\U0001F600");
    EXPECT_EQ(Utf16Length(L"a\U0001F600"), 3u);
    // A lone surrogate survives a round trip, so foreign data is kept byte for byte.
    std::string lone("\x00\xD8\x41\x00", 4);
    EXPECT_EQ(EncodeUtf16Le(DecodeUtf16Le(lone)), lone);
    EXPECT_EQ(DecodeUtf16Le(std::string("A\0B", 3)), L"A");
}

TEST(Utf16, RegistryStringData)
{
    auto data = Utf16LeWithTerminator(L"ppp1");
    EXPECT_EQ(data.size(), 10u);
    EXPECT_EQ(Utf16LeUpToTerminator(data.data(), data.size()), L"ppp1");
    const char twoStrings[] = "a\0\0\0b\0\0\0\0\0";
    EXPECT_EQ(Utf16LeUpToTerminator(twoStrings, 10), L"a");
    EXPECT_EQ(Utf16LeUpToTerminator("x\0y\0", 4), L"xy"); // no terminator: up to the end
}
