#include "UiTestSupport.h"

#include "platform/ui/controls/ItemList.h"

using namespace ui_test;
using platform::ui::ItemList;

namespace {

class ListTest : public UiTest { };

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 5, 5, 120, 60, 1011, L"COMBOBOX", L"" },
    { WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0, 5, 25, 120, 60, 1067, L"COMBOBOX", L"" },
    { WS_VISIBLE | WS_BORDER | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, 0, 5, 45, 120, 50, 1075, L"LISTBOX", L"" },
    { WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 5, 100, 120, 30, 1076, L"LISTBOX", L"" },
};
const DLGTEMPLATE kPage = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 4, 0, 0, 130, 135, L"", 8, L"DejaVu Sans", kItems };

std::vector<std::pair<int, WORD>> g_commands;

INT_PTR CommandLoggingProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND)
        g_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::vector<WORD> CodesFrom(int id, std::initializer_list<WORD> skip = { CBN_SETFOCUS, CBN_KILLFOCUS })
{
    std::vector<WORD> codes;
    for (auto [from, code] : g_commands) {
        if (from == id && std::find(skip.begin(), skip.end(), code) == skip.end())
            codes.push_back(code);
    }
    return codes;
}

LRESULT Add(HWND control, UINT message, const wchar_t* text)
{
    return SendMessageW(control, message, 0, reinterpret_cast<LPARAM>(text));
}

} // namespace

TEST(ItemListTest, SortedAddsSearchesAndASelectionThatFollowsItsItem)
{
    ItemList list;
    EXPECT_EQ(list.Add(L"wifi0", true), 0);
    EXPECT_EQ(list.Add(L"Bluetooth", true), 0);
    EXPECT_EQ(list.Add(L"usb0", true), 1); // between, ignoring case
    EXPECT_EQ(list.Add(L"USB0", true), 2); // after its equal
    EXPECT_TRUE(list.Select(2));
    EXPECT_EQ(list.Insert(0, L"first"), 0);
    EXPECT_EQ(list.Selection(), 3);
    EXPECT_EQ(list.Insert(6, L"beyond"), -1);
    EXPECT_EQ(list.Delete(1), 4);
    EXPECT_EQ(list.Selection(), 2);
    EXPECT_EQ(list.Delete(2), 3);
    EXPECT_EQ(list.Selection(), -1);
    EXPECT_EQ(list.Delete(9), -1);

    // first, usb0, wifi0: searches start after the given item and wrap.
    EXPECT_EQ(list.Find(-1, L"USB0", true), 1);
    EXPECT_EQ(list.Find(1, L"u", false), 1);
    EXPECT_EQ(list.Find(0, L"w", false), 2);
    EXPECT_EQ(list.Find(-1, L"usb", true), -1);
    EXPECT_FALSE(list.Select(7));
    EXPECT_EQ(list.Selection(), -1);
}

TEST_F(ListTest, ADropDownListKeepsItemsDataAndSelection)
{
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND adapters = GetDlgItem(page, 1011);
    EXPECT_EQ(SendMessageW(adapters, CB_GETCURSEL, 0, 0), CB_ERR);
    const wchar_t* names[] = { L"Wi-Fi", L"USB Cable", L"Auto-Configure Adapter" };
    for (int p = 0; p < 3; ++p) {
        LRESULT at = SendMessageW(adapters, CB_INSERTSTRING, static_cast<WPARAM>(p), reinterpret_cast<LPARAM>(names[p]));
        EXPECT_EQ(at, p);
        EXPECT_EQ(SendMessageW(adapters, CB_SETITEMDATA, static_cast<WPARAM>(at), p == 2 ? 98 : p), TRUE);
    }
    EXPECT_EQ(SendMessageW(adapters, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(L"x")), CB_ERR);
    EXPECT_EQ(SendMessageW(adapters, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(adapters, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(adapters, CB_GETITEMDATA, 2, 0), 98);
    EXPECT_EQ(SendMessageW(adapters, CB_GETITEMDATA, 3, 0), CB_ERR);
    wchar_t text[64];
    std::fill(std::begin(text), std::end(text), L'#');
    EXPECT_EQ(SendMessageW(adapters, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 9);
    EXPECT_STREQ(text, L"USB Cable");
    EXPECT_EQ(text[10], L'#'); // nothing written past the terminator
    EXPECT_EQ(SendMessageW(adapters, CB_GETLBTEXTLEN, 0, 0), 5);
    EXPECT_EQ(GetWindowTextW(adapters, text, 64), 22);
    EXPECT_STREQ(text, L"Auto-Configure Adapter");
    EXPECT_EQ(SendMessageW(adapters, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"usb cable")), 1);

    // Deleting an item before the selection moves the selection with its item.
    EXPECT_EQ(SendMessageW(adapters, CB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(adapters, CB_GETCURSEL, 0, 0), 1);
    // An index out of range clears the selection and the field.
    EXPECT_EQ(SendMessageW(adapters, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(adapters, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(GetWindowTextLengthW(adapters), 0);
    EXPECT_EQ(SendMessageW(adapters, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageW(adapters, CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListTest, OnlyTheUsersChoiceNotifiesAndTheClosedFieldIsOneLineHigh)
{
    g_commands.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND fonts = GetDlgItem(page, 1011);
    for (const wchar_t* size : { L"Default", L"Large", L"Small" })
        Add(fonts, CB_ADDSTRING, size);
    SendMessageW(fonts, CB_SETCURSEL, 0, 0);
    EXPECT_TRUE(CodesFrom(1011).empty());

    m_driver.ChooseItem(fonts, 2);
    EXPECT_EQ(CodesFrom(1011), (std::vector<WORD> { CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP }));
    EXPECT_EQ(SendMessageW(fonts, CB_GETCURSEL, 0, 0), 2);
    g_commands.clear();
    m_driver.ChooseItem(fonts, 3);
    EXPECT_TRUE(CodesFrom(1011).empty());
    EXPECT_EQ(m_driver.Faults().size(), 1u);

    RECT rect;
    GetWindowRect(fonts, &rect);
    EXPECT_EQ(rect.bottom - rect.top, 13 + 6); // one line of the 8-point font and the frame
}

TEST_F(ListTest, AnEditableComboBoxTakesTypedTextAndPicks)
{
    g_commands.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND target = GetDlgItem(page, 1067);
    Add(target, CB_ADDSTRING, L"10.0.0.1");
    SendMessageW(target, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"example.org"));
    m_driver.TypeText(target, L"192.168.1.1");
    wchar_t text[64];
    EXPECT_EQ(GetDlgItemTextW(page, 1067, text, 64), 11u);
    EXPECT_STREQ(text, L"192.168.1.1");
    std::vector<WORD> codes = CodesFrom(1067);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_EDITCHANGE), 11);
    EXPECT_EQ(SendMessageW(target, CB_GETCURSEL, 0, 0), CB_ERR);

    m_driver.ChooseItem(target, 1);
    GetDlgItemTextW(page, 1067, text, 64);
    EXPECT_STREQ(text, L"10.0.0.1");
    SendMessageW(target, CB_LIMITTEXT, 4, 0);
    m_driver.TypeText(target, L"host.example");
    GetDlgItemTextW(page, 1067, text, 64);
    EXPECT_STREQ(text, L"host");
    SetWindowTextW(target, L"anything at all");
    GetDlgItemTextW(page, 1067, text, 64);
    EXPECT_STREQ(text, L"anything at all");
}

TEST_F(ListTest, AListBoxNotifiesOnlyWithLbsNotify)
{
    g_commands.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, CommandLoggingProc, 0);
    HWND profiles = GetDlgItem(page, 1075);
    EXPECT_EQ(Add(profiles, LB_ADDSTRING, L"(no profiles defined)"), 0);
    EXPECT_EQ(SendMessageW(profiles, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(profiles, LB_RESETCONTENT, 0, 0), LB_OKAY);
    EXPECT_EQ(SendMessageW(profiles, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"Office")), 0);
    EXPECT_EQ(SendMessageW(profiles, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(L"Home")), 1);
    EXPECT_EQ(SendMessageW(profiles, LB_SETITEMDATA, 1, 7), TRUE);

    g_commands.clear();
    m_driver.ChooseItem(profiles, 1);
    EXPECT_EQ(CodesFrom(1075, { LBN_SETFOCUS, LBN_KILLFOCUS }), (std::vector<WORD> { LBN_SELCHANGE }));
    EXPECT_EQ(SendMessageW(profiles, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(profiles, LB_GETSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(profiles, LB_GETITEMDATA, 1, 0), 7);
    wchar_t text[32];
    EXPECT_EQ(SendMessageW(profiles, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, L"Home");
    EXPECT_EQ(SendMessageW(profiles, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), LB_ERR);

    HWND quiet = GetDlgItem(page, 1076);
    Add(quiet, LB_ADDSTRING, L"one");
    g_commands.clear();
    m_driver.ChooseItem(quiet, 0);
    EXPECT_TRUE(CodesFrom(1076, {}).empty());
    EXPECT_EQ(SendMessageW(quiet, LB_GETCURSEL, 0, 0), 0);
}
