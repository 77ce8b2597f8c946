// The combining marks that take no advance of their own: text measures them as zero wide
// whether the font has a glyph for them or not.
#pragma once

namespace platform::ui {

bool IsNonspacingMark(wchar_t ch);

} // namespace platform::ui
