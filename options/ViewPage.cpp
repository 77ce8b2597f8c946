#include "options/ViewPage.h"

#include <algorithm>
#include <array>

#include "item/PluginModule.h"
#include "options/ViewOptionsDialog.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"

namespace {

constexpr UINT kCheckedImage = 2;
constexpr UINT kUncheckedImage = 1;
constexpr int kLineTextCapacity = 32;

HWND List(HWND page)
{
    return GetDlgItem(page, IDC_VIEW_LIST);
}

UINT CheckImage(HWND list, int row)
{
    auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return (state & LVIS_STATEIMAGEMASK) >> 12;
}

void SetCheckImage(HWND list, int row, UINT image)
{
    LVITEMW item {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(image);
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

int LineCount(HWND list)
{
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The lines in the settings' display order, each checked when the item shows it.
void ViewPage_Fill(HWND page)
{
    HWND list = List(page);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES);
    Settings& settings = g_pModule->m_settings;
    settings.SortViewItems();
    for (ViewItem line = settings.NextViewItem(); line.id != EndOfItems; line = settings.NextViewItem()) {
        LVITEMW item {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(line.position);
        item.iImage = -1;
        item.pszText = const_cast<LPWSTR>(line.name != nullptr ? line.name : L"");
        item.lParam = static_cast<LPARAM>(line.id);
        auto row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetCheckImage(list, row, line.visible != 0 ? kCheckedImage : kUncheckedImage);
    }
    CheckRadioButton(page, IDC_VIEW_COMPACT, IDC_VIEW_FULL, settings.FullViewEnabled == 1 ? IDC_VIEW_FULL : IDC_VIEW_COMPACT);
}

struct ListLine {
    std::array<wchar_t, kLineTextCapacity> text {};
    LVITEMW item {};
    UINT checkImage = kUncheckedImage;
};

// The selection travels with the line, so that the highlight stays on the line that moves.
ListLine ReadLine(HWND list, int row)
{
    ListLine line;
    line.item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    line.item.iItem = row;
    line.item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    line.item.pszText = line.text.data();
    line.item.cchTextMax = kLineTextCapacity;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&line.item));
    line.checkImage = CheckImage(list, row);
    return line;
}

void WriteLine(HWND list, int row, ListLine line)
{
    line.item.iItem = row;
    line.item.pszText = line.text.data();
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&line.item));
    SetCheckImage(list, row, line.checkImage == kUncheckedImage ? kUncheckedImage : kCheckedImage);
}

// Swaps the selected line with its neighbour above or below; the selection mark follows it, so
// further presses keep moving the same line.
void ViewPage_OnMove(HWND page, bool up)
{
    HWND list = List(page);
    auto selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
    if (selected == -1)
        return;
    if (up ? selected <= 0 : selected >= LineCount(list) - 1)
        return;
    auto neighbour = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(selected), up ? LVNI_ABOVE : LVNI_BELOW));
    if (neighbour < 0)
        return;
    ListLine moving = ReadLine(list, selected);
    ListLine other = ReadLine(list, neighbour);
    WriteLine(list, neighbour, moving);
    WriteLine(list, selected, other);
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, neighbour);
    SendMessageW(list, LVM_REDRAWITEMS, 0, std::max(selected, neighbour));
    UpdateWindow(list);
}

// Back to the settings as last committed: unsaved moves and checks are dropped.
void ViewPage_OnRevert(HWND page)
{
    SendMessageW(List(page), LVM_DELETEALLITEMS, 0, 0);
    CheckRadioButton(page, IDC_VIEW_COMPACT, IDC_VIEW_FULL, g_pModule->m_settings.FullViewEnabled != 0 ? IDC_VIEW_FULL : IDC_VIEW_COMPACT);
    ViewPage_Fill(page);
}

void ViewPage_OnCommit(HWND page)
{
    HWND list = List(page);
    Settings& settings = g_pModule->m_settings;
    int count = LineCount(list);
    for (int row = 0; row < count; ++row) {
        LVITEMW item {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        DWORD visible = CheckImage(list, row) == kCheckedImage ? 1 : 0;
        settings.SetViewItem(static_cast<DWORD>(item.lParam), visible, static_cast<DWORD>(row));
    }
    settings.SetFullView(IsDlgButtonChecked(page, IDC_VIEW_FULL) == BST_CHECKED ? 1 : 0);
    g_pModule->m_item.remeasure = true;
    EndDialog(page, 1);
}

// The list keeps its place and width and reaches down to the page's new bottom; the page's top
// on the screen stands in for the space the title bar takes.
void ViewPage_OnSize(HWND page, int clientHeight)
{
    RECT pageRect {};
    GetWindowRect(page, &pageRect);
    HWND list = List(page);
    RECT listRect {};
    GetWindowRect(list, &listRect);
    int height = std::max(0, clientHeight - static_cast<int>(pageRect.top));
    SetWindowPos(list, nullptr, 0, 0, listRect.right - listRect.left, height, SWP_NOMOVE | SWP_NOZORDER);
}

BOOL ViewPage_OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_VIEW_UP:
        ViewPage_OnMove(page, true);
        return TRUE;
    case IDC_VIEW_DOWN:
        ViewPage_OnMove(page, false);
        return TRUE;
    case IDC_VIEW_REVERT:
        ViewPage_OnRevert(page);
        return TRUE;
    case IDC_VIEW_MORE:
        OpenViewOptions(page);
        return TRUE;
    case IDOK:
        ViewPage_OnCommit(page);
        return TRUE;
    case IDCANCEL:
        EndDialog(page, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR ViewPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        ViewPage_Fill(page);
        return TRUE;
    case WM_SIZE:
        ViewPage_OnSize(page, HIWORD(lParam));
        return FALSE;
    case WM_COMMAND:
        return ViewPage_OnCommand(page, LOWORD(wParam));
    default:
        return FALSE;
    }
}
