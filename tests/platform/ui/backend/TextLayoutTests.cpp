#include <gtest/gtest.h>

#include "platform/ui/backend/TextLayout.h"

using namespace platform::ui;

namespace {

// Unequal advances, so that a width summed from the wrong characters shows: a space 3, "i" 2,
// "W" 11, anything else 7; ascent 9 and descent 4.
class FakeMeasure final : public TextMeasure {
public:
    int Ascent() const override { return 9; }
    int Descent() const override { return 4; }
    int Advance(wchar_t ch) const override { return ch == L' ' ? 3 : ch == L'i' ? 2 : ch == L'W' ? 11 : 7; }
};

std::vector<std::wstring> Lines(const TextLayout& layout)
{
    std::vector<std::wstring> lines;
    for (const TextLine& line : layout.lines)
        lines.push_back(line.text);
    return lines;
}

} // namespace

TEST(TextLayout, PrefixesMarkTheFirstMarkedCharacterAndDoubleAmpersandsStayOne)
{
    FakeMeasure measure;
    TextLayout layout = LayoutText(L"A&&b &Wi&x&", 0, 1000, measure);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].text, L"A&b Wix&");
    EXPECT_EQ(layout.lines[0].underline, 4);
    EXPECT_EQ(layout.lines[0].width, 7 + 7 + 7 + 3 + 11 + 2 + 7 + 7);

    TextLayout plain = LayoutText(L"A&&b &W", DT_NOPREFIX, 1000, measure);
    EXPECT_EQ(plain.lines[0].text, L"A&&b &W");
    EXPECT_EQ(plain.lines[0].underline, -1);
}

TEST(TextLayout, LinesBreakAtEveryKindOfLineEndUnlessSingleLine)
{
    FakeMeasure measure;
    TextLayout layout = LayoutText(L"ab\r\ncd\ref\n\ngh", 0, 1000, measure);
    EXPECT_EQ(Lines(layout), (std::vector<std::wstring> { L"ab", L"cd", L"ef", L"", L"gh" }));
    EXPECT_EQ(layout.lineHeight, 13);
    TextLayout single = LayoutText(L"ab\r\ncd\nef", DT_SINGLELINE, 1000, measure);
    EXPECT_EQ(Lines(single), (std::vector<std::wstring> { L"abcdef" }));
    TextLayout tabs = LayoutText(L"a\tb", DT_EXPANDTABS, 1000, measure);
    EXPECT_EQ(tabs.lines[0].text, L"a        b");
}

TEST(TextLayout, WordBreakingFitsEachPieceAndKeepsAnOverlongWordWhole)
{
    FakeMeasure measure;
    // "iii WWW ii": 6, 3+33, 3+4. At 40 "iii WWW" (42) does not fit; "WWW ii" is 40 and does.
    TextLayout layout = LayoutText(L"iii WWW ii", DT_WORDBREAK, 40, measure);
    EXPECT_EQ(Lines(layout), (std::vector<std::wstring> { L"iii", L"WWW ii" }));
    EXPECT_EQ(layout.widest, 40);
    // One pixel less and the last word moves down; a word wider than the width stays whole.
    TextLayout narrower = LayoutText(L"iii WWW ii", DT_WORDBREAK, 39, measure);
    EXPECT_EQ(Lines(narrower), (std::vector<std::wstring> { L"iii", L"WWW", L"ii" }));
    TextLayout tiny = LayoutText(L"WWWW i", DT_WORDBREAK, 5, measure);
    EXPECT_EQ(Lines(tiny), (std::vector<std::wstring> { L"WWWW", L"i" }));
    // The underline follows its character into the piece it lands in.
    TextLayout marked = LayoutText(L"iii WW&W ii", DT_WORDBREAK, 39, measure);
    ASSERT_EQ(marked.lines.size(), 3u);
    EXPECT_EQ(marked.lines[0].underline, -1);
    EXPECT_EQ(marked.lines[1].underline, 2);
    EXPECT_EQ(marked.lines[2].underline, -1);
}

TEST(TextLayout, PlacementAlignsEachLineAndAnswersAsDrawTextDoes)
{
    FakeMeasure measure;
    TextLayout layout = LayoutText(L"Wi\n&ii", 0, 100, measure);
    RECT rect { 10, 20, 110, 220 };
    std::vector<PlacedLine> placed;
    EXPECT_EQ(PlaceText(layout, measure, rect, DT_RIGHT, &placed), 26);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].x, 110 - 13);
    EXPECT_EQ(placed[1].x, 110 - 4);
    EXPECT_EQ(placed[1].y, 33);
    EXPECT_EQ(placed[1].underlineFrom, 106);
    EXPECT_EQ(placed[1].underlineTo, 108);

    placed.clear();
    PlaceText(layout, measure, rect, DT_CENTER, &placed);
    EXPECT_EQ(placed[0].x, 10 + (100 - 13) / 2);

    // A single line centred or at the bottom answers with its bottom's offset from the top.
    TextLayout one = LayoutText(L"Wi", DT_SINGLELINE, 100, measure);
    EXPECT_EQ(PlaceText(one, measure, rect, DT_SINGLELINE | DT_VCENTER, nullptr), (200 - 13) / 2 + 13);
    EXPECT_EQ(PlaceText(one, measure, rect, DT_SINGLELINE | DT_BOTTOM, nullptr), 200);

    RECT calc { 5, 7, 6, 8 };
    EXPECT_EQ(PlaceText(layout, measure, calc, DT_CALCRECT, nullptr), 26);
    EXPECT_EQ(calc.right, 5 + 13);
    EXPECT_EQ(calc.bottom, 7 + 26);
}

TEST(TextLayout, ExtentsAccumulateCharacterByCharacter)
{
    FakeMeasure measure;
    int dx[4] = {};
    SIZE size = TextExtentOf(measure, L"W iW", dx);
    EXPECT_EQ(size.cx, 27);
    EXPECT_EQ(size.cy, 13);
    EXPECT_EQ(dx[0], 11);
    EXPECT_EQ(dx[1], 14);
    EXPECT_EQ(dx[2], 16);
    EXPECT_EQ(dx[3], 27);
}
