// The common controls library: its initialisation calls.
#pragma once

#include "platform/ui/WinDef.h"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;

constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_DATE_CLASSES = 0x00000100;

// The controls are the platform's own classes, there from the start; these answer as the
// library does: the extended call checks its structure.
void InitCommonControls();
// FALSE with ERROR_INVALID_PARAMETER for a missing structure or one of the wrong size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// ---- Messages every common control takes ----

constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETVERSION = CCM_FIRST + 0x7;
constexpr UINT CCM_GETVERSION = CCM_FIRST + 0x8;
constexpr WPARAM COMCTL32_VERSION = 0x020C;

// ---- Tab control ----

#define WC_TABCONTROLW L"SysTabControl32"
constexpr DWORD TCS_BOTTOM = 0x0002;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_PARAM = 0x0008;

struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;

constexpr UINT TCN_FIRST = static_cast<UINT>(-550);
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;
