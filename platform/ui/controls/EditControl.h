// The "EDIT" class: a single-line text field, left, centred or right-aligned, digits only with
// ES_NUMBER, read-only or hiding a password, with the platform's selection, text limit and
// change notifications. Typing reaches it as WM_CHAR, from the deterministic driver or from
// subclassing procedures; the field on the screen edits itself and reports the new text.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"
#include "platform/ui/wm/UserAction.h"
#include "platform/ui/controls/ControlSupport.h"

namespace platform::ui {

class Window;

constexpr size_t kDefaultEditLimit = 32767;

// What the control keeps beside its text.
struct EditData : ControlData {
    int selStart = 0;
    int selEnd = 0;
    size_t limit = kDefaultEditLimit;
    bool modified = false;
};

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The user edited the text in the field on the screen: the new text and the caret
// (EN_UPDATE, EN_CHANGE); or moved the selection.
void EditUserTyped(Window& window, const std::wstring& text, int caret);
void EditUserSelected(Window& window, int start, int end);

// What one typed character (WM_CHAR) does to the text and selection, by the platform's rules:
// it replaces the selection, backspace deletes, a number field refuses anything but digits,
// and a full field refuses more. Pure, so that the rules are tested on their own.
struct EditRules {
    DWORD style = 0;
    size_t limit = 0;
};
enum class Typed { Changed, Refused, Full };
Typed ApplyTypedCharacter(const EditRules& rules, std::wstring& text, int& selStart, int& selEnd, wchar_t ch);

// SelectAllText: the field's whole text.
bool EditUserAction(Window& window, const UserAction& action);

} // namespace platform::ui
