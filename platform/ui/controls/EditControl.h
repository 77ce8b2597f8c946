// The "EDIT" class: a single-line text field, left, centred or right-aligned, digits only with
// ES_NUMBER, read-only or hiding a password, with the platform's selection, text limit and
// change notifications. Typing reaches it as WM_CHAR, from the deterministic driver or from
// subclassing procedures; the real Qt field edits itself and reports the new text.
#pragma once

#include <string>

#include "platform/ui/WinUser.h"

namespace platform::ui {

class Window;
class WindowWidget;

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WindowWidget* MakeEditWidget(Window& window);

// What one typed character (WM_CHAR) does to the text and selection, by the platform's rules:
// it replaces the selection, backspace deletes, a number field refuses anything but digits,
// and a full field refuses more. Pure, so that the rules are tested on their own.
struct EditRules {
    DWORD style = 0;
    size_t limit = 0;
};
enum class Typed { Changed, Refused, Full };
Typed ApplyTypedCharacter(const EditRules& rules, std::wstring& text, int& selStart, int& selEnd, wchar_t ch);

} // namespace platform::ui
