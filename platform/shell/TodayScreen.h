// The Today screen's contract with the plug-ins it hosts: the item record the shell keeps for
// each plug-in, the export ordinals it calls, and the messages between the shell and an item.
#pragma once

#include "platform/ui/WinDef.h"
#include "platform/ui/WinUser.h"

constexpr int MAX_ITEMNAME = 32;

enum TODAYLISTITEMTYPE : DWORD {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,
    tlitNil,
};

struct TODAYLISTITEM {
    WCHAR szName[MAX_ITEMNAME];
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp;          // the item's height in pixels, set by the item at the refresh query
    BOOL fEnabled;
    BOOL fOptions;      // the item has an options dialog (export 241)
    DWORD grfFlags;
    WCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;
    BOOL fSizeOnDraw;
    BYTE* prgbCachedData;
    DWORD cbCachedData;
};

// Exports of a Today item module, found by ordinal.
constexpr WORD ORDINAL_INITIALIZEITEM = 240;
constexpr WORD ORDINAL_OPTIONSDIALOGPROC = 241;
using PFNCUSTOMINITIALIZEITEM = HWND (*)(TODAYLISTITEM* item, HWND parent);

// Shell to item: does the item want a new height? (wParam: its TODAYLISTITEM*). The item
// returns TRUE when it set or changed cyp.
constexpr UINT WM_TODAYCUSTOM_CLEARCACHE = WM_USER + 242;
constexpr UINT WM_TODAYCUSTOM_QUERYREFRESHCACHE = WM_USER + 243;

// Item to shell (sent to the item's parent).
constexpr UINT TODAYM_GETCOLOR = WM_USER + 100;       // wParam: a TODAYCOLOR_ value; returns a COLORREF
constexpr UINT TODAYM_DRAWWATERMARK = WM_USER + 101;  // lParam: TODAYDRAWWATERMARKINFO*
constexpr UINT TODAYM_TOOKSELECTION = WM_USER + 102;

constexpr WPARAM TODAYCOLOR_TEXT = 0x10000004;
constexpr WPARAM TODAYCOLOR_HIGHLIGHT = 0x10000022;
constexpr WPARAM TODAYCOLOR_HIGHLIGHTEDTEXT = 0x10000023;

struct TODAYDRAWWATERMARKINFO {
    HDC hdc;
    RECT rc;
    HWND hwnd;
};

// WM_SETTINGCHANGE's SETTINGCHANGE_RESET (rotation, layout to redo) is in WinUser.h.
