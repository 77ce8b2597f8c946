// The platform's HTML viewer control: window class "DISPLAYCLASS", registered by
// InitHTMLControl, fed with HTML text by messages and rendered by Qt's rich-text engine. A form
// button named "cmd:N" (<input type=button name='cmd:N' value='Ok'>) shows as a push button that
// sends WM_COMMAND N to the viewer's parent, the window that asked for the page.
#pragma once

#include "platform/ui/WinUser.h"

constexpr const wchar_t* WC_HTML = L"DISPLAYCLASS";

// Styles.
constexpr DWORD HS_NOFITTOWINDOW = 0x0001;
constexpr DWORD HS_CONTEXTMENU = 0x0002;
constexpr DWORD HS_CLEARTYPE = 0x0004;
constexpr DWORD HS_NOSCRIPTING = 0x0008;

// wParam TRUE: the text is plain text, shown as it is; FALSE: HTML. lParam: the text.
constexpr UINT DTM_ADDTEXT = WM_USER + 101; // 8-bit text
constexpr UINT DTM_ADDTEXTW = WM_USER + 102;
// The page is complete.
constexpr UINT DTM_ENDOFSOURCE = WM_USER + 104;
// Empties the page.
constexpr UINT DTM_CLEAR = WM_USER + 113;
// Options, lParam: TRUE or FALSE; the zoom level 0 (smallest) to 4 (largest), 2 the medium.
constexpr UINT DTM_ENABLECLEARTYPE = WM_USER + 114;
constexpr UINT DTM_ENABLESCRIPTING = WM_USER + 115;
constexpr UINT DTM_ZOOMLEVEL = WM_USER + 116;

// Registers the viewer's class (once; later calls succeed too).
BOOL InitHTMLControl(HINSTANCE instance);
