// The platform's common file dialogs on device paths: a full-screen dialog listing a folder's
// files of the chosen type, with the name field, the folder and type lists, and OK and Cancel.
#pragma once

#include "platform/ui/WinUser.h"

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    // Pairs of texts, each ended by a null, the list by a second null: "Text(*.txt)\0*.txt\0\0".
    // A pattern may list several, separated by ";".
    LPCWSTR lpstrFilter;
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1 for the first pair; the pair chosen on return
    // In: the initial file name (or path); out: the chosen file's full device path.
    LPWSTR lpstrFile;
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle; // out: the name alone, when given
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir; // null: the folder of an initial path, else "\My Documents"
    LPCWSTR lpstrTitle;      // null: "Open" or "Save As"
    DWORD Flags;
    WORD nFileOffset;    // out: where the name starts in lpstrFile
    WORD nFileExtension; // out: where the extension starts, or the terminator without one
    // Appended, after a ".", to a name typed without an extension.
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCWSTR lpTemplateName;
};
using LPOPENFILENAMEW = OPENFILENAMEW*;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;

// True with the chosen path; false when the user cancelled (CommDlgExtendedError 0) or the
// call failed (its error code).
BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn);
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn);

constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
// The path does not fit lpstrFile; its first character holds the size needed.
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
DWORD CommDlgExtendedError();
