#include <gtest/gtest.h>

#include "platform/core/LastError.h"
#include "platform/time/DateFormat.h"
#include "support/TestSupport.h"

namespace {

std::wstring Formatted(const SYSTEMTIME& date, const wchar_t* format, DWORD flags = 0)
{
    wchar_t text[32] = {};
    int written = GetDateFormatW(0, flags, &date, format, text, 32);
    EXPECT_EQ(written, written > 0 ? static_cast<int>(wcslen(text)) + 1 : 0);
    return text;
}

} // namespace

TEST(DateFormat, PicturesNameMonthsAndWeekdaysFromTheDateAlone)
{
    // The caller's day of the week (here wrong) and time of day are not looked at.
    SYSTEMTIME date { 2006, 3, 5, 7, 99, 99, 99, 9999 };
    EXPECT_EQ(Formatted(date, L"MMMM"), L"March");
    EXPECT_EQ(Formatted(date, L"ddd"), L"Tue");
    EXPECT_EQ(Formatted(date, L"dddd d dd M MM MMM y yy yyyy"), L"Tuesday 7 07 3 03 Mar 6 06 2006");
    EXPECT_EQ(Formatted(date, L"'d''s' MMMMM/dddddd gg"), L"d's March/Tuesday A.D.");
    EXPECT_EQ(Formatted(SYSTEMTIME { 2000, 2, 0, 29, 0, 0, 0, 0 }, L"dddd"), L"Tuesday");
    EXPECT_EQ(Formatted(SYSTEMTIME { 1601, 1, 0, 1, 0, 0, 0, 0 }, L"dddd"), L"Monday");
    EXPECT_EQ(Formatted(date, nullptr), L"3/7/2006");
    EXPECT_EQ(Formatted(date, nullptr, DATE_LONGDATE), L"Tuesday, March 07, 2006");
}

TEST(DateFormat, SizesBuffersAndRefusesWhatThePlatformRefuses)
{
    SYSTEMTIME date { 2006, 12, 0, 31, 0, 0, 0, 0 };
    EXPECT_EQ(GetDateFormatW(0, 0, &date, L"MMMM", nullptr, 0), 9);
    wchar_t small[8] = L"keep";
    SetLastError(0);
    EXPECT_EQ(GetDateFormatW(0, 0, &date, L"MMMM", small, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    wchar_t text[32];
    SYSTEMTIME bad { 2006, 2, 0, 30, 0, 0, 0, 0 };
    EXPECT_EQ(GetDateFormatW(0, 0, &bad, L"MMMM", text, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetDateFormatW(0x0411, 0, &date, L"MMMM", text, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetDateFormatW(0, DATE_LONGDATE, &date, L"MMMM", text, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);

    testing_support::VirtualClockScope clock;
    clock.SetLocal(2007, 1, 2, 10, 0, 0);
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 32), 9);
    EXPECT_EQ(std::wstring(text), L"1/2/2007");
}
