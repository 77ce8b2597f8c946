#include "platform/ui/backend/TextLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/device/Device.h"
#include "platform/ui/gdi/GdiObject.h"

namespace platform::ui {

namespace {

// Whitespace as the word breaker trims it: the separators and the C0 spacing controls.
bool IsSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r') || ch == 0x85 || ch == 0xA0 || ch == 0x1680
        || (ch >= 0x2000 && ch <= 0x200A) || ch == 0x2028 || ch == 0x2029 || ch == 0x202F || ch == 0x205F
        || ch == 0x3000;
}

std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// Removes prefix characters: "&&" is a literal "&", "&x" marks x.
TextLine StripPrefix(std::wstring_view text, bool prefixes)
{
    TextLine line;
    if (!prefixes) {
        line.text = text;
        return line;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != L'&' && line.underline < 0)
                line.underline = static_cast<int>(line.text.size());
        }
        line.text.push_back(text[i]);
    }
    return line;
}

// Breaks one line at spaces so that each piece fits the width; a word wider than the width
// stays whole on its own line.
std::vector<std::wstring> BreakWords(std::wstring_view text, int width, const TextMeasure& measure)
{
    std::vector<std::wstring> pieces;
    std::wstring current;
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        while (i < text.size() && text[i] == L' ')
            ++i;
        while (i < text.size() && text[i] != L' ')
            ++i;
        std::wstring_view word = text.substr(start, i - start);
        std::wstring candidate = current;
        candidate += word;
        if (current.empty() || TextWidth(measure, Trimmed(candidate)) <= width) {
            current = std::move(candidate);
            continue;
        }
        pieces.push_back(std::move(current));
        current = Trimmed(word);
    }
    pieces.push_back(std::move(current));
    for (std::wstring& piece : pieces) {
        while (!piece.empty() && piece.back() == L' ')
            piece.pop_back();
    }
    return pieces;
}

} // namespace

int FontPixelSize(const LOGFONTW& font)
{
    // DejaVu Sans: ascent 0.928 and descent 0.236 of the em, so a cell height h has an em of
    // h / 1.164.
    int height = font.lfHeight;
    int pixels = height < 0 ? -height : height > 0 ? static_cast<int>(std::lround(height / 1.164)) : -SystemLogFont().lfHeight;
    return pixels > 0 ? pixels : 1;
}

int TextWidth(const TextMeasure& measure, std::wstring_view text)
{
    int width = 0;
    for (wchar_t ch : text)
        width += measure.Advance(ch);
    return width;
}

TextLayout LayoutText(std::wstring_view text, UINT format, int width, const TextMeasure& measure)
{
    TextLayout layout;
    layout.ascent = measure.Ascent();
    layout.lineHeight = measure.Ascent() + measure.Descent();
    std::wstring all(text);
    if ((format & DT_EXPANDTABS) != 0)
        ReplaceAll(all, L"\t", std::wstring(8, L' '));
    std::vector<std::wstring> rawLines;
    if ((format & DT_SINGLELINE) != 0) {
        std::erase_if(all, [](wchar_t ch) { return ch == L'\r' || ch == L'\n'; });
        rawLines.push_back(std::move(all));
    } else {
        ReplaceAll(all, L"\r\n", L"\n");
        std::replace(all.begin(), all.end(), L'\r', L'\n');
        size_t start = 0;
        for (size_t end = all.find(L'\n'); end != std::wstring::npos; end = all.find(L'\n', start)) {
            rawLines.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        rawLines.push_back(all.substr(start));
    }
    bool prefixes = (format & DT_NOPREFIX) == 0;
    for (const std::wstring& raw : rawLines) {
        TextLine stripped = StripPrefix(raw, prefixes);
        if ((format & DT_WORDBREAK) != 0 && (format & DT_SINGLELINE) == 0) {
            size_t consumed = 0;
            for (std::wstring& piece : BreakWords(stripped.text, width, measure)) {
                TextLine line;
                size_t at = stripped.text.find(piece, consumed);
                int from = static_cast<int>(at);
                if (stripped.underline >= from && stripped.underline < from + static_cast<int>(piece.size()))
                    line.underline = stripped.underline - from;
                consumed = at + piece.size();
                line.text = std::move(piece);
                layout.lines.push_back(std::move(line));
            }
        } else {
            layout.lines.push_back(std::move(stripped));
        }
    }
    for (TextLine& line : layout.lines) {
        line.width = TextWidth(measure, line.text);
        layout.widest = std::max(layout.widest, line.width);
    }
    return layout;
}

int PlaceText(const TextLayout& layout, const TextMeasure& measure, RECT& rect, UINT format,
    std::vector<PlacedLine>* placed)
{
    int height = layout.lineHeight * static_cast<int>(layout.lines.size());
    if ((format & DT_CALCRECT) != 0) {
        rect.right = rect.left + layout.widest;
        rect.bottom = rect.top + height;
        return height;
    }
    int top = rect.top;
    bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER) != 0)
        top = rect.top + (rect.bottom - rect.top - layout.lineHeight) / 2;
    else if (single && (format & DT_BOTTOM) != 0)
        top = rect.bottom - layout.lineHeight;
    if (placed != nullptr) {
        int y = top;
        for (const TextLine& line : layout.lines) {
            PlacedLine at { &line, rect.left, y, 0, 0 };
            if ((format & DT_CENTER) != 0)
                at.x = rect.left + (rect.right - rect.left - line.width) / 2;
            else if ((format & DT_RIGHT) != 0)
                at.x = rect.right - line.width;
            if (line.underline >= 0) {
                std::wstring_view text = line.text;
                at.underlineFrom = at.x + TextWidth(measure, text.substr(0, static_cast<size_t>(line.underline)));
                at.underlineTo = at.x + TextWidth(measure, text.substr(0, static_cast<size_t>(line.underline) + 1));
            }
            placed->push_back(at);
            y += layout.lineHeight;
        }
    }
    if (single && ((format & DT_VCENTER) != 0 || (format & DT_BOTTOM) != 0))
        return top + layout.lineHeight - rect.top;
    return height;
}

TEXTMETRICW TextMetricsOf(const TextMeasure& measure, const LOGFONTW& font, int maxCharWidth)
{
    TEXTMETRICW metrics {};
    metrics.tmAscent = measure.Ascent();
    metrics.tmDescent = measure.Descent();
    metrics.tmHeight = measure.Ascent() + measure.Descent();
    metrics.tmInternalLeading = metrics.tmHeight - FontPixelSize(font);
    metrics.tmAveCharWidth = measure.Advance(L'x');
    metrics.tmMaxCharWidth = maxCharWidth;
    metrics.tmWeight = font.lfWeight >= 600 ? FW_BOLD : FW_NORMAL;
    metrics.tmDigitizedAspectX = metrics.tmDigitizedAspectY = CurrentDevice().dpi;
    metrics.tmFirstChar = 0x20;
    metrics.tmLastChar = 0xFFFC;
    metrics.tmDefaultChar = L'?';
    metrics.tmBreakChar = L' ';
    metrics.tmItalic = font.lfItalic != 0 ? 1 : 0;
    metrics.tmUnderlined = font.lfUnderline != 0 ? 1 : 0;
    metrics.tmCharSet = 1;
    return metrics;
}

SIZE TextExtentOf(const TextMeasure& measure, std::wstring_view text, int* dx)
{
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        width += measure.Advance(text[i]);
        if (dx != nullptr)
            dx[i] = width;
    }
    return SIZE { width, measure.Ascent() + measure.Descent() };
}

} // namespace platform::ui
