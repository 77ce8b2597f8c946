// The look shared by the platform's own dialogs (message boxes, file dialogs): the blue title
// strip that carries their caption, and the making of their controls.
#pragma once

#include <string_view>

#include "platform/ui/WinUser.h"

namespace platform::ui {

// n logical pixels (96 per inch) in device pixels.
int ScaledPixels(int logical);

// One line of the bold system font with a margin; drawn across the top of the client area.
int TitleStripHeight();
void PaintTitleStrip(HDC dc, int width, std::wstring_view title);

// A child control of the dialog in pixels, with the dialog's font.
HWND AddDialogControl(HWND dialog, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect, int id);

} // namespace platform::ui
