// DrawTextW's layout by the platform's rules (prefix characters, line breaks, word breaking,
// alignment) over whole-pixel character advances, shared by every rendering backend: where a
// line goes and how wide it is must not depend on who draws it, since the item's height and the
// headless report are laid out from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/WinGdi.h"

namespace platform::ui {

// A font as the layout sees it: whole-pixel ascent, descent and advance per character.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int Ascent() const = 0;
    virtual int Descent() const = 0;
    virtual int Advance(wchar_t ch) const = 0;
};

// The em of a LOGFONTW in pixels: a negative height is the em, a positive one the cell
// (ascent and descent together), 0 the system font's.
int FontPixelSize(const LOGFONTW& font);

// The width of a text is the sum of its characters' rounded advances, and each character is
// drawn at its own whole-pixel position.
int TextWidth(const TextMeasure& measure, std::wstring_view text);

struct TextLine {
    std::wstring text;
    int width = 0;
    int underline = -1; // index of the character a prefix "&" underlines
};

struct TextLayout {
    std::vector<TextLine> lines;
    int lineHeight = 0;
    int ascent = 0;
    int widest = 0;
};

TextLayout LayoutText(std::wstring_view text, UINT format, int width, const TextMeasure& measure);

// One line where DrawTextW puts it: its left edge and top, and the underlined character's
// span [underlineFrom, underlineTo) when a prefix marks one.
struct PlacedLine {
    const TextLine* line = nullptr;
    int x = 0;
    int y = 0;
    int underlineFrom = 0;
    int underlineTo = 0;
};

// DrawTextW without the drawing: with DT_CALCRECT sets the rectangle's right and bottom;
// otherwise fills `placed` (when given) with each line's position. Returns what DrawTextW
// returns.
int PlaceText(const TextLayout& layout, const TextMeasure& measure, RECT& rect, UINT format,
    std::vector<PlacedLine>* placed);

// GetTextMetricsW and GetTextExtentExPointW's answers from a measure.
TEXTMETRICW TextMetricsOf(const TextMeasure& measure, const LOGFONTW& font, int maxCharWidth);
SIZE TextExtentOf(const TextMeasure& measure, std::wstring_view text, int* dx);

} // namespace platform::ui
