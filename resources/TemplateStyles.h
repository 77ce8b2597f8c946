// Styles shared by the module's dialog templates, so that every dialog's buttons, fields and
// check boxes look alike.
#pragma once

#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinUser.h"

namespace templates {

// The options pages: children of the frame's tab control, placed and sized by the frame.
constexpr DWORD kPageStyle = WS_CHILD | DS_SETFONT | DS_CONTROL;
constexpr DWORD kVisible = WS_VISIBLE;

constexpr DWORD kButton = kVisible | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kCheckLeft = kVisible | BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP;
constexpr DWORD kNumberField = kVisible | WS_BORDER | ES_NUMBER | ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kSpin = kVisible | UDS_ARROWKEYS;
constexpr WORD kNoId = 0xFFFF;

} // namespace templates
