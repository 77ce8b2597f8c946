#include "UiTestSupport.h"

#include "platform/ui/controls/EditControl.h"

using namespace ui_test;
using platform::ui::ApplyTypedCharacter;
using platform::ui::EditRules;
using platform::ui::Typed;

namespace {

class EditTest : public UiTest { };

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_RIGHT | WS_TABSTOP, 0, 5, 5, 40, 12, 1026, L"EDIT", L"" },
    { WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 5, 20, 100, 12, 1081, L"EDIT", L"" },
};
const DLGTEMPLATE kPage = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 2, 0, 0, 130, 60, L"", 8, L"DejaVu Sans", kItems };

std::vector<std::pair<int, WORD>> g_commands;

INT_PTR CommandLoggingProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

} // namespace

TEST(EditRulesTest, TypingReplacesTheSelectionAndFollowsTheFieldsStyle)
{
    std::wstring text = L"150";
    int start = 0;
    int end = 3;
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_NUMBER, 10 }, text, start, end, L'x'), Typed::Refused);
    EXPECT_EQ(text, L"150");
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_NUMBER, 10 }, text, start, end, L'7'), Typed::Changed);
    EXPECT_EQ(text, L"7");
    EXPECT_EQ(start, 1);
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_NUMBER, 2 }, text, start, end, L'8'), Typed::Changed);
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_NUMBER, 2 }, text, start, end, L'9'), Typed::Full);
    EXPECT_EQ(text, L"78");
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_NUMBER, 2 }, text, start, end, 0x08), Typed::Changed);
    EXPECT_EQ(text, L"7");
    start = end = 0;
    EXPECT_EQ(ApplyTypedCharacter(EditRules { 0, 10 }, text, start, end, 0x08), Typed::Refused); // nothing before
    EXPECT_EQ(ApplyTypedCharacter(EditRules { 0, 10 }, text, start, end, L'\r'), Typed::Refused);
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_UPPERCASE, 10 }, text, start, end, L'a'), Typed::Changed);
    EXPECT_EQ(text, L"A7");
    EXPECT_EQ(ApplyTypedCharacter(EditRules { ES_READONLY, 10 }, text, start, end, L'b'), Typed::Refused);
}

TEST_F(EditTest, TypingAndSettingTheTextBothNotifyTheParent)
{
    g_commands.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND threshold = GetDlgItem(page, 1026);
    m_driver.Pump();
    g_commands.clear();

    SetDlgItemTextW(page, 1026, L"5");
    EXPECT_EQ(g_commands, (std::vector<std::pair<int, WORD>> { { 1026, EN_UPDATE }, { 1026, EN_CHANGE } }));
    EXPECT_FALSE(SendMessageW(threshold, EM_GETMODIFY, 0, 0));

    g_commands.clear();
    m_driver.TypeText(threshold, L"1x50"); // the letter is refused, the digits replace the 5
    EXPECT_EQ(TextOf(threshold), L"150");
    EXPECT_TRUE(SendMessageW(threshold, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(std::count(g_commands.begin(), g_commands.end(), std::pair<int, WORD> { 1026, EN_CHANGE }), 3);
    EXPECT_EQ(GetFocus(), threshold); // the first tab stop

    g_commands.clear();
    m_driver.TypeText(GetDlgItem(page, 1081), L"a");
    ASSERT_GE(g_commands.size(), 2u);
    EXPECT_EQ(g_commands[0], (std::pair<int, WORD> { 1026, EN_KILLFOCUS }));
    EXPECT_EQ(g_commands[1], (std::pair<int, WORD> { 1081, EN_SETFOCUS }));

    // Text from the program is taken as it is, even in a number field.
    SetWindowTextW(threshold, L"abc");
    EXPECT_EQ(TextOf(threshold), L"abc");
}

TEST_F(EditTest, TheLimitStopsTypingButNotTheProgram)
{
    g_commands.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND edit = GetDlgItem(page, 1081);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 32767);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    m_driver.TypeText(edit, L"abcd");
    EXPECT_EQ(TextOf(edit), L"abc");
    EXPECT_NE(std::find(g_commands.begin(), g_commands.end(), std::pair<int, WORD> { 1081, EN_MAXTEXT }),
        g_commands.end());
    SetWindowTextW(edit, L"longer than three");
    EXPECT_EQ(TextOf(edit), L"longer than three");
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, SelectionAndReplacement)
{
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND edit = GetDlgItem(page, 1081);
    SetWindowTextW(edit, L"10.0.0.1");
    DWORD start = 0xDEAD;
    DWORD end = 0xBEEF;
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)), 0);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    SendMessageW(edit, EM_SETSEL, 3, -1);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(3, 8));
    SendMessageW(edit, EM_SETSEL, 6, 2); // given backwards
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(2, 6));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"1.1"));
    EXPECT_EQ(TextOf(edit), L"101.1.1");
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(5, 5));
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0); // deselect, caret stays
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(5, 5));

    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY, 0);
    m_driver.TypeText(edit, L"x");
    EXPECT_EQ(TextOf(edit), L"101.1.1");
}

TEST_F(EditTest, ANumberFieldShowsItsTextRightAlignedInsideItsBorder)
{
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND threshold = GetDlgItem(page, 1026);
    SetWindowTextW(threshold, L"99");
    m_driver.Pump();
    platform::Pixels pixels = platform::CaptureWindow(threshold);
    ASSERT_GT(pixels.width, 20);
    EXPECT_EQ(pixels.At(0, pixels.height / 2), RGB(0, 0, 0)); // the platform's border
    auto darkIn = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
            for (int y = 2; y < pixels.height - 2; ++y) {
                COLORREF c = pixels.At(x, y);
                if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128)
                    return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(darkIn(2, pixels.width / 2));
    EXPECT_TRUE(darkIn(pixels.width / 2, pixels.width - 2));
}
