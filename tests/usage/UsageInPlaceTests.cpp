// The month files parsed in place, as code units, against the reading of decoded text that
// the reader did before: the whole file decoded, split into lines, each line read as text.
#include <gtest/gtest.h>

#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "platform/text/Format.h"
#include "platform/text/Utf16.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageReader.h"

using platform::CalendarTime;
using usage_test::DeviceFiles;

namespace {

const std::wstring kFolder = L"\\Logs";
const std::wstring kPath = MonthFileName(kFolder, 2006, 3);

void PutBytes(const std::string& bytes)
{
    usage_test::MakeFolder(kFolder);
    HANDLE file = CreateFileW(kPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

UsageTable DecodedTotals(DWORD interval, int day, const std::wstring& selector)
{
    std::wstring text;
    EXPECT_TRUE(ReadMonthFileText(kPath, text));
    const std::wstring fileSelector = FileSelector(selector);
    UsageTable table {};
    for (std::wstring_view line : SplitLines(text)) {
        UsageLineHeader header = SplitUsageHeader(line);
        UsageLineSums sums = fileSelector.empty() ? SumAllEntries(header.rest) : SumSelectedEntry(header.rest, fileSelector);
        AddLineToTable(interval, 3, day, header, sums, table);
    }
    return table;
}

NameList DecodedNames()
{
    std::wstring text;
    EXPECT_TRUE(ReadMonthFileText(kPath, text));
    NameList names;
    for (std::wstring_view line : SplitLines(text)) {
        ForEachEntryName(SplitUsageHeader(line).rest, [&names](std::wstring_view name) {
            if (!name.empty())
                AddUniqueName(names, NameFromFile(name));
        });
    }
    return names;
}

// Every interval, day and selector through the direct source and the export's cache, and the
// names, as the decoded reading gives them.
void ExpectSameAsDecoded(const std::string& bytes, const std::vector<std::wstring>& selectors)
{
    PutBytes(bytes);
    // Line by line, the header's fields and the rest after it.
    std::wstring text;
    ASSERT_TRUE(ReadMonthFileText(kPath, text));
    std::vector<std::wstring_view> decoded = SplitLines(text);
    size_t at = 0;
    std::u16string buffer;
    ReadMonthFileUnits(kPath, buffer, [&](std::u16string_view line) {
        ASSERT_LT(at, decoded.size());
        Utf16LineHeader units = SplitUsageHeader(line);
        UsageLineHeader characters = SplitUsageHeader(decoded[at++]);
        EXPECT_EQ(units.day, characters.day);
        EXPECT_EQ(units.hour, characters.hour);
        EXPECT_EQ(DecodeUtf16(units.rest), characters.rest);
    });
    EXPECT_EQ(at, decoded.size());

    DirectMonthSource direct;
    MonthFileCache cache;
    for (const std::wstring& selector : selectors) {
        for (DWORD interval : { IntervalMonthly, IntervalDaily, IntervalHourly }) {
            for (int day : { 1, 7, 31 }) {
                SCOPED_TRACE(testing::Message() << "selector '" << WideToUtf8(selector) << "' interval " << interval << " day " << day);
                CalendarTime time = CalendarTime::FromFields(2006, 3, day, 0, 0, 0);
                UsageTable expected = DecodedTotals(interval, day, selector);
                UsageTable fromFile {};
                UsageTable fromCache {};
                EXPECT_TRUE(direct.ReadMonthTotals(interval, time, kFolder, selector, fromFile));
                EXPECT_TRUE(cache.ReadMonthTotals(interval, time, kFolder, selector, fromCache));
                EXPECT_EQ(fromFile, expected);
                EXPECT_EQ(fromCache, expected);
            }
        }
    }
    NameList fromFile;
    NameList fromCache;
    EXPECT_TRUE(direct.CollectMonthNames(kFolder, 2006, 3, fromFile));
    EXPECT_TRUE(cache.CollectMonthNames(kFolder, 2006, 3, fromCache));
    EXPECT_EQ(fromFile, DecodedNames());
    EXPECT_EQ(fromCache, DecodedNames());
}

UsageTable Daily(const std::wstring& selector = {})
{
    UsageTable table {};
    DirectMonthSource direct;
    direct.ReadMonthTotals(IntervalDaily, CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), kFolder, selector, table);
    return table;
}

class UsageInPlaceTest : public ::testing::Test {
protected:
    DeviceFiles m_files;
};

} // namespace

TEST_F(UsageInPlaceTest, LineEndsLastLinesAndStrayBytes)
{
    const std::wstring lines = L"2006-3-7-14 *2* \tne20001 100 200 \tppp:1 30 40 \r\n2006-3-8-0 *1* \tne20001 5 6 ";
    // The last line counts without a line break; CR LF and LF alone read alike; an odd last
    // byte is no character.
    for (const std::string& bytes : { EncodeUtf16Le(lines), EncodeUtf16Le(lines) + "\x37",
             EncodeUtf16Le(L"2006-3-7-14 *2* \tne20001 100 200 \tppp:1 30 40 \n2006-3-8-0 *1* \tne20001 5 6 \n") }) {
        ExpectSameAsDecoded(bytes, { L"", L"NE20001", L"ppp:1" });
        UsageTable daily = Daily();
        EXPECT_EQ(daily[7], 130u);
        EXPECT_EQ(daily[UsageTableReceived + 7], 240u);
        EXPECT_EQ(daily[8], 5u);
        EXPECT_EQ(daily[UsageTableReceived + 8], 6u);
    }
    // A carriage return inside a line stays part of it; one before the line break goes.
    ExpectSameAsDecoded(EncodeUtf16Le(L"2006-3-7-14 *1* \ta\r 1 2 \r\r\n2006-3-9-1\r *1* \tb 3 4 \r"), { L"", L"a\r", L"b" });
}

TEST_F(UsageInPlaceTest, MalformedLinesAmongGoodOnes)
{
    const std::wstring text = L"2006-3-7-14 *2* \tne20001 100 200 \tdummy 7 7 \r\n"
                              L"garbage\r\n"
                              L"\r\n"
                              L"2006-3-7 *1* \tne20001 1 1 \r\n"           // no hour: the day reads 0
                              L"2006-3-9-5 *5* \tne20001 -1 2 \r\n"        // a count beyond the entries
                              L"2006-3-40-99 *1* \tne20001 9 9 \r\n"       // no bucket
                              L"2006-3-\U0001F6007 *1* \tne20001 8 8 \r\n" // no day: the pair goes, hour 7
                              L"2006-3-9-6 *2* \tne20001 12abc 3x \tppp:1\r\n"
                              L"2006-3-31-23 *1* \tne20001 2147483647 1 \r\n";
    ExpectSameAsDecoded(EncodeUtf16Le(text), { L"", L"ne20001", L"dummy", L"ppp:1", L"2", L"\U0001F600" });
    UsageTable daily = Daily(L"NE20001");
    EXPECT_EQ(daily[7], 100u);
    EXPECT_EQ(daily[0], 1u + 8u);
    EXPECT_EQ(daily[9], 0xFFFFFFFFull + 12u); // 64-bit sums
    EXPECT_EQ(daily[31], 2147483647u);
    EXPECT_EQ(Daily()[7], 100u); // dummy left out of all interfaces
}

TEST_F(UsageInPlaceTest, NameAtTheLengthLimitAndSurrogatePairs)
{
    // An interface name fills the 255 characters of the interface table's name field; some of
    // them are above U+FFFF (two code units each).
    std::wstring name = L"USB Modem ";
    while (name.size() < 250)
        name += L"\U0001D400x";
    name.resize(255, L'z');
    std::wstring fileName = FileSelector(name);
    std::wstring text;
    for (int hour = 0; hour < 24; ++hour)
        text += Fmt(L"2006-3-7-%d *2* \tne20001 1 2 \t%s %d 1000 \r\n", hour, fileName, hour + 1);
    ExpectSameAsDecoded(EncodeUtf16Le(text), { L"", name, name.substr(0, 100), fileName.substr(1), L"\U0001D400" });
    EXPECT_EQ(Daily(name)[7], 300u);
    EXPECT_EQ(Daily(name)[UsageTableReceived + 7], 24000u);
    NameList names;
    DirectMonthSource().CollectMonthNames(kFolder, 2006, 3, names);
    EXPECT_EQ(names, (NameList { L"ne20001", WideToLower(name) }));

    // A selector matches whole characters only: half of a pair is no match, and the halves of
    // a pair given apart would join in a file, so they match nothing.
    PutBytes(EncodeUtf16Le(L"2006-3-7-14 *2* \ta\U0001D400 5 6 \t\xD835x 7 8 \r\n"));
    EXPECT_EQ(Daily(std::wstring(1, static_cast<wchar_t>(0xD835)))[7], 7u);
    EXPECT_EQ(Daily(std::wstring(1, static_cast<wchar_t>(0xDC00)))[7], 0u);
    EXPECT_EQ(Daily(L"a\U0001D400")[7], 5u);
    EXPECT_FALSE(Utf16FileSelector(std::wstring { static_cast<wchar_t>(0xD835), static_cast<wchar_t>(0xDC00) }).has_value());
    EXPECT_FALSE(Utf16FileSelector(std::wstring(1, static_cast<wchar_t>(0x110000))).has_value());
    ExpectSameAsDecoded(EncodeUtf16Le(L"2006-3-7-14 *2* \ta\U0001D400 5 6 \t\xD835x 7 8 \r\n"),
        { std::wstring(1, static_cast<wchar_t>(0xD835)), std::wstring(1, static_cast<wchar_t>(0xDC00)),
            std::wstring { static_cast<wchar_t>(0xD835), static_cast<wchar_t>(0xDC00) } });
}

TEST_F(UsageInPlaceTest, FileWithoutLineBreaksLongerThanAPiece)
{
    // One line of 5000 entries, some 100 KB: more than the 64 KB the reader takes at a time.
    std::wstring text = L"2006-3-7-14 *5000* ";
    for (int i = 0; i < 5000; ++i)
        text += Fmt(L"\tif%d %d 2 ", i % 40, i % 7);
    ExpectSameAsDecoded(EncodeUtf16Le(text), { L"", L"if39", L"IF1" });
    UsageTable daily = Daily();
    EXPECT_EQ(daily[7], 14995u);
    EXPECT_EQ(daily[UsageTableReceived + 7], 10000u);
}

TEST_F(UsageInPlaceTest, RecordsRunTogetherAreOneLineReadInOnePass)
{
    // 20,000 records without line ends, some 2 MB, are one line whose first record alone
    // counts. Read in pieces of 6 bytes, the line is not searched again from its start for
    // each piece (which took hours).
    const std::wstring record = L"2006-3-7-14 *2* \tne20001 1048576 52428 \tppp:1 3 4 ";
    std::wstring text;
    for (int i = 0; i < 20000; ++i)
        text += record;
    PutBytes(EncodeUtf16Le(text));
    size_t lines = 0;
    size_t length = 0;
    EXPECT_TRUE(ReadMonthFileLines(kPath, [&](std::wstring_view line) {
        ++lines;
        length = line.size();
    }, 6));
    EXPECT_EQ(lines, 1u);
    EXPECT_EQ(length, text.size());

    UsageTable daily = Daily();
    EXPECT_EQ(daily[7], 1048579u);
    EXPECT_EQ(daily[UsageTableReceived + 7], 52432u);
    EXPECT_EQ(Daily(L"ppp:1")[UsageTableReceived + 7], 4u);
    NameList names;
    EXPECT_TRUE(MonthFileCache().CollectMonthNames(kFolder, 2006, 3, names));
    EXPECT_EQ(names, (NameList { L"ne20001", L"ppp:1" }));
}

TEST_F(UsageInPlaceTest, UnitsReadInPiecesAreTheDecodedLines)
{
    // Pieces of any size, odd ones too, cut units, pairs and CR LF; the buffer is kept from a
    // longer file before, and grows for a line longer than a piece.
    std::string bytes = EncodeUtf16Le(L"2006-3-7-14 *1* \tne20001 1 2 \r\n\r\nx\ry\n\U0001F600 long line without an end \r");
    bytes += EncodeUtf16Le(std::wstring(1, static_cast<wchar_t>(0xD83D)));
    bytes += 'z';
    PutBytes(bytes);
    std::vector<std::wstring> expected;
    ASSERT_TRUE(ReadMonthFileLines(kPath, [&expected](std::wstring_view line) { expected.emplace_back(line); }));
    ASSERT_EQ(expected.size(), 4u);
    std::u16string buffer(100000, u'\n');
    for (size_t chunk : { 1, 2, 3, 5, 6, 7, 64, 65536 }) {
        std::vector<std::wstring> lines;
        EXPECT_TRUE(ReadMonthFileUnits(kPath, buffer, [&lines](std::u16string_view line) { lines.push_back(DecodeUtf16(line)); },
            chunk));
        EXPECT_EQ(lines, expected) << chunk;
    }
    EXPECT_FALSE(ReadMonthFileUnits(MonthFileName(kFolder, 2006, 4), buffer, [](std::u16string_view) { FAIL(); }));
    usage_test::HeldOpen writer(kPath);
    EXPECT_FALSE(ReadMonthFileUnits(kPath, buffer, [](std::u16string_view) { FAIL(); }));
}
