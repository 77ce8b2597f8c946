// The look of the shell's bars (the taskbar along the top and the menu bar along the bottom):
// their background and their text.
#pragma once

#include <string>

#include "platform/ui/WinDef.h"

namespace host {

// A dark blue band, lighter towards its bottom.
void FillBar(HDC dc, const RECT& area);
// White text in the bar's font (the system font, bold), placed with DT_ flags; the width the
// text takes.
int DrawBarText(HDC dc, const std::wstring& text, RECT area, UINT flags);
int BarTextWidth(HDC dc, const std::wstring& text);

} // namespace host
