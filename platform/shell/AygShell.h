// The shell library's calls that the plug-in makes: the extra controls' initialisation and the
// notification bubbles.
#pragma once

#include "platform/ui/WinDef.h"

// Registers the shell's extra dialog controls (the input-panel preference control, class
// "SIPPREF"); exported by ordinal 9 on the device, called once before any dialog that uses
// them. Calling it again changes nothing.
BOOL SHInitExtraControls();

// ---- The input panel (the on-screen keyboard) ----

enum SIPSTATE : DWORD {
    SIP_UP = 0,
    SIP_DOWN = 1,
    SIP_FORCEDOWN = 2,
    SIP_UNCHANGED = 3,
    SIP_INPUTDIALOG = 4, // up, for a window that takes text only
};

// Asks the shell to raise or lower the input panel for the window. FALSE with
// ERROR_INVALID_WINDOW_HANDLE for a window that is not there, ERROR_INVALID_PARAMETER for a
// state out of range.
BOOL SHSipPreference(HWND window, SIPSTATE state);

// A dialog holding a (hidden) "SIPPREF" control has the panel raised whenever focus moves to
// one of its text fields (an edit that is not read-only, an editable combo box) and lowered
// when it moves to any other control.
constexpr const wchar_t* WC_SIPPREF = L"SIPPREF";

enum SHNP : DWORD {
    SHNP_INFORM = 0x1B1, // a bubble that opens at once
    SHNP_ICONIC = 0,     // only an icon until the user taps it
};

struct SHNOTIFICATIONDATA {
    DWORD cbStruct;
    DWORD dwID;
    SHNP npPriority;
    DWORD csDuration; // seconds
    HICON hicon;
    DWORD grfFlags;
    CLSID clsid;
    HWND hwndSink;    // receives WM_COMMAND for the bubble's "cmd:N" buttons
    LPCWSTR pszHTML;
    LPCWSTR pszTitle;
    LPARAM lParam;
};

// Shows a notification, copying what it needs: the caller may free the structure after the
// call. A notification with the same class identifier and id replaces the one shown.
// ERROR_SUCCESS, or ERROR_INVALID_PARAMETER for a missing structure or a wrong size.
LRESULT SHNotificationAdd(SHNOTIFICATIONDATA* data);
// ERROR_SUCCESS, or ERROR_NOT_FOUND when no such notification is shown.
LRESULT SHNotificationRemove(const CLSID* clsid, DWORD id);

// ---- Dialogs the shell's way ----

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO*;

constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;       // the title bar's OK button, which sends IDOK
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;          // between the taskbar and the menu bar
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004; // from the taskbar to the screen's bottom
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;            // lowers the input panel
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;

// FALSE with ERROR_INVALID_PARAMETER for a missing structure or a window that is no dialog.
BOOL SHInitDialog(PSHINITDLGINFO info);

struct SHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB; // out: the menu bar
    COLORREF clrBk;
};
using PSHMENUBARINFO = SHMENUBARINFO*;

constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
constexpr DWORD SHCMBF_HIDDEN = 0x0002;

// Makes the menu bar along the bottom of the screen, owned by the parent's top-level window.
// Only empty bars (SHCMBF_EMPTYBAR) are made here; a bar from a tool-bar resource fails with
// ERROR_NOT_SUPPORTED. FALSE with ERROR_INVALID_PARAMETER for a wrong structure size.
BOOL SHCreateMenuBar(PSHMENUBARINFO info);
