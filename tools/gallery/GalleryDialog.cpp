#include "GalleryDialog.h"

#include <initializer_list>
#include <iterator>

#include "platform/ui/CommCtrl.h"
#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/WinGdi.h"

namespace gallery {

namespace {

constexpr DWORD kVisible = WS_VISIBLE;

const DLGITEMTEMPLATE kItems[] = {
    { kVisible | BS_GROUPBOX, 0, 2, 2, 126, 64, 1023, L"BUTTON", L"Установки счетчика:" },
    { kVisible | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 8, 12, 50, 10, 1022, L"BUTTON", L"Включен" },
    { kVisible | BS_AUTORADIOBUTTON, 0, 64, 12, 58, 10, 1021, L"BUTTON", L"Выключен" },
    { kVisible | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 0, 8, 24, 80, 10, 1025, L"BUTTON", L"Предупреждения" },
    { kVisible, 0, 8, 39, 28, 8, 1032, L"STATIC", L"каждые" },
    { kVisible | WS_BORDER | ES_NUMBER | ES_RIGHT | WS_TABSTOP, 0, 38, 37, 28, 12, 1026, L"EDIT", L"" },
    { kVisible | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 9, 12, 1031,
        L"msctls_updown32", L"Spin1" },
    { kVisible, 0, 70, 39, 14, 8, 1033, L"STATIC", L"MB" },
    { kVisible | BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, 0, 8, 52, 56, 10, 1052, L"BUTTON", L"Жирный:" },
    { kVisible | BS_PUSHBUTTON | WS_TABSTOP, 0, 2, 70, 40, 14, 1034, L"BUTTON", L"Сброс" },
    { kVisible | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 46, 70, 40, 14, IDOK, L"BUTTON", L"OK" },
    { kVisible | BS_OWNERDRAW | WS_TABSTOP, 0, 92, 70, 14, 14, 1105, L"BUTTON", L"D" },
    { kVisible | SS_LEFT, 0, 2, 88, 40, 8, 0xFFFF, L"STATIC", L"Слева" },
    { kVisible | SS_CENTER, 0, 44, 88, 40, 8, 0xFFFF, L"STATIC", L"В центре" },
    { kVisible | SS_RIGHT, 0, 86, 88, 42, 8, 0xFFFF, L"STATIC", L"Справа" },
    { kVisible | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 2, 100, 126, 60, 1074, L"COMBOBOX", L"" },
    { kVisible | CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0, 2, 116, 126, 60, 1067, L"COMBOBOX", L"" },
    { kVisible | WS_BORDER | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, 0, 2, 132, 126, 38, 1075, L"LISTBOX", L"" },
    { kVisible | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 2, 174, 126, 12, 1121, L"EDIT", L"" },
    { kVisible | WS_BORDER | LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, 0, 2, 190, 126, 60, 1007,
        L"SysListView32", L"List2" },
    { kVisible | WS_CLIPSIBLINGS | TCS_BOTTOM, 0, 2, 254, 126, 40, 1200, L"SysTabControl32", L"tabctrl" },
    { kVisible, 0, 2, 300, 48, 8, 0xFFFF, L"STATIC", L"Дата начала:" },
    { kVisible | WS_TABSTOP, 0, 52, 298, 76, 12, 1122, L"SysDateTimePick32", L"DateTimePicker1" },
    { kVisible | WS_BORDER, 0, 2, 314, 126, 96, 1300, L"DISPLAYCLASS", L"" },
};

const DLGTEMPLATE kDialog = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, static_cast<WORD>(std::size(kItems)), 0, 0, 130,
    412, L"Галерея", 8, L"DejaVu Sans", kItems };

void DrawOwnerButton(const DRAWITEMSTRUCT& item)
{
    HBRUSH fill = CreateSolidBrush((item.itemState & ODS_SELECTED) != 0 ? RGB(0, 0, 160) : RGB(80, 120, 220));
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
    HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
    Rectangle(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    SelectObject(item.hDC, oldBrush);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    SetBkMode(item.hDC, TRANSPARENT);
    RECT text = item.rcItem;
    DrawTextW(item.hDC, L"Д", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void FillViewItems(HWND list)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES);
    const wchar_t* names[] = { L"Adapter Name", L"IP Address", L"Subnet Mask", L"Default Gateway", L"DHCP Status",
        L"Meter Reading", L"DNS Server", L"WINS Server", L"Time Connected", L"Data Rate" };
    for (int i = 0; i < 10; ++i) {
        LVITEMW item {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.iImage = -1;
        item.pszText = const_cast<LPWSTR>(names[i]);
        item.lParam = 101 + i;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(i % 3 == 2 ? 1 : 2);
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    LVITEMW selected {};
    selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));
}

void FillTabs(HWND tabs)
{
    const wchar_t* labels[] = { L"Вид", L"Адаптер", L"Счетчик" };
    for (int i = 0; i < 3; ++i) {
        TCITEMW item {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.iImage = -1;
        item.pszText = const_cast<LPWSTR>(labels[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
    RECT client;
    GetClientRect(tabs, &client);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&client));
    HWND page = CreateWindowExW(0, L"STATIC", L"Страница «Адаптер»", WS_CHILD | WS_VISIBLE | SS_CENTER, client.left,
        client.top + 2, client.right - client.left, client.bottom - client.top - 2, tabs, nullptr, nullptr, nullptr);
    SendMessageW(page, WM_SETFONT, SendMessageW(GetParent(tabs), WM_GETFONT, 0, 0), FALSE);
}

void FillPage(HWND viewer)
{
    SendMessageW(viewer, DTM_ENABLESCRIPTING, 0, FALSE);
    SendMessageW(viewer, DTM_ZOOMLEVEL, 0, 1);
    const wchar_t* fragments[] = {
        L"<table width=\"100%\" align=\"center\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"> ",
        L"<tr> <td align=center><strong>Hourly Traffic: March 7, 2006</strong></td></tr>",
        L"<tr> <td align=center><font size=2>Все адаптеры</font></td></tr></table>",
        L"<table width=\"100%\" align=\"center\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\"> ",
        L"<tr bordercolor=\"#666666\" bgcolor=\"#FFFF00\"><td align=center> Hour</td><td align=center> Xmit </td>"
        L"<td align=center> Rcv </td><td align=center> Total</td></tr>",
        L"<tr bordercolor=\"#666666\" bgcolor=\"#DDDDDD\"><td align=center>2-3 PM</td> <td align=center>1 KB</td> "
        L"<td align=center>20 KB</td> <td align=center>21 KB</td></tr>",
        L"<tr bordercolor=\"#666666\" bgcolor=\"#FFFFFF\"><td align=center>3-4 PM</td> <td align=center>-</td> "
        L"<td align=center>2 KB</td> <td align=center>2 KB</td></tr></table>",
        L"<p align=center><form method=\"POST\" action=><input type=button name='cmd:10' value='Ok'></p>",
    };
    for (const wchar_t* fragment : fragments)
        SendMessageW(viewer, DTM_ADDTEXTW, FALSE, reinterpret_cast<LPARAM>(fragment));
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
}

INT_PTR GalleryProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        CheckDlgButton(dialog, 1022, BST_CHECKED);
        CheckDlgButton(dialog, 1025, BST_CHECKED);
        SendDlgItemMessageW(dialog, 1031, UDM_SETRANGE32, 1, 99);
        SendDlgItemMessageW(dialog, 1031, UDM_SETPOS32, 0, 50);
        for (const wchar_t* size : { L"Default", L"Large", L"Small" })
            SendDlgItemMessageW(dialog, 1074, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
        SendDlgItemMessageW(dialog, 1074, CB_SETCURSEL, 1, 0);
        for (const wchar_t* target : { L"192.168.1.1", L"example.org" })
            SendDlgItemMessageW(dialog, 1067, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(target));
        SetDlgItemTextW(dialog, 1067, L"10.0.0.1");
        for (const wchar_t* profile : { L"Офис", L"Дом", L"Гостиница" })
            SendDlgItemMessageW(dialog, 1075, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(profile));
        SendDlgItemMessageW(dialog, 1075, LB_SETCURSEL, 1, 0);
        SetDlgItemTextW(dialog, 1121, L"\\Program Files\\Velmora\\export.csv");
        FillViewItems(GetDlgItem(dialog, 1007));
        FillTabs(GetDlgItem(dialog, 1200));
        FillPage(GetDlgItem(dialog, 1300));
        return TRUE;
    }
    case WM_DRAWITEM:
        DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

HWND CreateGalleryDialog(HINSTANCE instance)
{
    return CreateDialogIndirectParamW(instance, &kDialog, nullptr, GalleryProc, 0);
}

} // namespace gallery
