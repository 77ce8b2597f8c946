#include "UiTestSupport.h"

#include "platform/ui/CommCtrl.h"

using namespace ui_test;

namespace {

class ListViewTest : public UiTest { };

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | WS_BORDER | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 0, 5, 5, 90, 120, 1007,
        L"SysListView32", L"List2" },
};
const DLGTEMPLATE kViewPage
    = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 1, 0, 0, 136, 135, L"", 8, L"DejaVu Sans", kItems };

struct Note {
    UINT code;
    int item;
    UINT oldState;
    UINT newState;
    UINT changed;
};
std::vector<Note> g_notes;
bool g_refuseChanging = false;
bool g_quietDeleteAll = false;

INT_PTR NoteLoggingProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == NM_CLICK) {
            g_notes.push_back(Note { header->code, -1, 0, 0, 0 });
            return FALSE;
        }
        auto* note = reinterpret_cast<NMLISTVIEW*>(lParam);
        g_notes.push_back(Note { header->code, note->iItem, note->uOldState, note->uNewState, note->uChanged });
        bool refuse = (header->code == LVN_ITEMCHANGING && g_refuseChanging)
            || (header->code == LVN_DELETEALLITEMS && g_quietDeleteAll);
        SetWindowLongW(dialog, DWL_MSGRESULT, refuse ? TRUE : FALSE);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

const wchar_t* kNames[] = { L"Adapter Name", L"IP Address", L"Subnet Mask", L"Default Gateway", L"DHCP Status" };

HWND MakeList(HWND& page)
{
    g_notes.clear();
    g_refuseChanging = false;
    g_quietDeleteAll = false;
    page = CreateDialogIndirectParamW(TestInstance(), &kViewPage, nullptr, NoteLoggingProc, 0);
    HWND list = GetDlgItem(page, 1007);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                  LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES), 0);
    for (int i = 0; i < 5; ++i) {
        LVITEMW item {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.iImage = -1;
        item.pszText = const_cast<LPWSTR>(kNames[i]);
        item.lParam = 101 + i;
        EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), i);
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(i == 2 ? 1 : 2);
        EXPECT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
    }
    g_notes.clear();
    return list;
}

UINT CheckImage(HWND list, int index)
{
    return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK)) >> 12;
}

std::wstring TextAt(HWND list, int index, LPARAM* param = nullptr)
{
    wchar_t text[32] = {};
    LVITEMW item {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (param != nullptr)
        *param = item.lParam;
    return text;
}

} // namespace

TEST_F(ListViewTest, ItemsKeepTextDataAndCheckBoxes)
{
    HWND page = nullptr;
    HWND list = MakeList(page);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 7);
    EXPECT_EQ(CheckImage(list, 0), 2u);
    EXPECT_EQ(CheckImage(list, 2), 1u);

    // With check boxes on, an item inserted without a state starts unchecked; an index past the
    // end appends.
    LVITEMW item {};
    item.mask = LVIF_TEXT;
    item.iItem = 40;
    item.pszText = const_cast<LPWSTR>(L"Data Rate");
    EXPECT_EQ(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)), 5);
    EXPECT_EQ(CheckImage(list, 5), 1u);
    EXPECT_EQ(g_notes.back().code, LVN_INSERTITEM);

    // A text buffer one short gets the text cut and terminated.
    wchar_t text[5];
    std::fill(std::begin(text), std::end(text), L'#');
    LVITEMW read {};
    read.mask = LVIF_TEXT | LVIF_STATE;
    read.iItem = 0;
    read.pszText = text;
    read.cchTextMax = 4;
    read.stateMask = LVIS_STATEIMAGEMASK;
    EXPECT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)));
    EXPECT_STREQ(text, L"Ada");
    EXPECT_EQ(text[4], L'#');
    EXPECT_EQ(read.state, INDEXTOSTATEIMAGEMASK(2));
    read.iItem = 6;
    EXPECT_FALSE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)));
}

TEST_F(ListViewTest, MovingALineByItsNeighboursSwapsTextDataAndCheck)
{
    HWND page = nullptr;
    HWND list = MakeList(page);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), -1);
    m_driver.ChooseItem(list, 2);
    int i = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 2, LVNI_ABOVE), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 0, LVNI_ABOVE), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 4, LVNI_BELOW), -1);
    int j = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_BELOW));
    ASSERT_EQ(j, 3);

    wchar_t textI[32];
    wchar_t textJ[32];
    LVITEMW a {};
    LVITEMW b {};
    for (auto [item, index, text] : { std::tuple { &a, i, textI }, std::tuple { &b, j, textJ } }) {
        item->mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item->iItem = index;
        item->pszText = text;
        item->cchTextMax = 32;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item));
    }
    UINT checkI = CheckImage(list, i);
    UINT checkJ = CheckImage(list, j);
    std::swap(a.iItem, b.iItem);
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&a)));
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&b)));
    LVITEMW state {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checkI);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(j), reinterpret_cast<LPARAM>(&state));
    state.state = INDEXTOSTATEIMAGEMASK(checkJ);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(SendMessageW(list, LVM_SETSELECTIONMARK, 0, j), 2);
    EXPECT_TRUE(SendMessageW(list, LVM_REDRAWITEMS, 0, 3));

    LPARAM param = 0;
    EXPECT_EQ(TextAt(list, 3, &param), L"Subnet Mask");
    EXPECT_EQ(param, 103);
    EXPECT_EQ(TextAt(list, 2, &param), L"Default Gateway");
    EXPECT_EQ(param, 104);
    EXPECT_EQ(CheckImage(list, 3), 1u); // the check box travelled with its line
    EXPECT_EQ(CheckImage(list, 2), 2u);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), 3);
}

TEST_F(ListViewTest, ChangesAreAnnouncedAndTheParentMayRefuseThem)
{
    HWND page = nullptr;
    HWND list = MakeList(page);
    m_driver.ToggleCheck(list, 2);
    EXPECT_EQ(CheckImage(list, 2), 2u);
    ASSERT_EQ(g_notes.size(), 2u);
    EXPECT_EQ(g_notes[0].code, LVN_ITEMCHANGING);
    EXPECT_EQ(g_notes[1].code, LVN_ITEMCHANGED);
    EXPECT_EQ(g_notes[1].item, 2);
    EXPECT_EQ(g_notes[1].changed, LVIF_STATE);
    EXPECT_EQ(g_notes[1].oldState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(1));
    EXPECT_EQ(g_notes[1].newState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));

    g_notes.clear();
    g_refuseChanging = true;
    m_driver.ToggleCheck(list, 2);
    EXPECT_EQ(CheckImage(list, 2), 2u);
    ASSERT_EQ(g_notes.size(), 1u);
    EXPECT_EQ(g_notes[0].code, LVN_ITEMCHANGING);
}

TEST_F(ListViewTest, OneItemIsSelectedAtATime)
{
    HWND page = nullptr;
    HWND list = MakeList(page);
    m_driver.ChooseItem(list, 1);
    m_driver.ChooseItem(list, 4);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 4);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 4);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED | LVIS_FOCUSED), 0);
    EXPECT_EQ(g_notes.back().code, NM_CLICK);
}

TEST_F(ListViewTest, DeletingEverythingAnnouncesEachItemUnlessTheParentDeclines)
{
    HWND page = nullptr;
    HWND list = MakeList(page);
    m_driver.ChooseItem(list, 1);
    g_notes.clear();
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), -1);
    EXPECT_EQ(g_notes.size(), 6u); // LVN_DELETEALLITEMS, then each
    EXPECT_EQ(g_notes.front().code, LVN_DELETEALLITEMS);

    list = MakeList(page);
    g_quietDeleteAll = true;
    EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(g_notes.size(), 1u);
}
