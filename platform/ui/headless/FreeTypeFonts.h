// The platform's one typeface, DejaVu Sans, read with FreeType: the text metrics that Qt gives
// under the same font settings (no hinting, no kerning, no substitute fonts), and antialiased
// glyphs drawn at whole-pixel positions, without loading Qt.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/Image.h"
#include "platform/ui/backend/TextLayout.h"

namespace platform::ui {

// One face at one pixel size.
class FontSize final : public TextMeasure {
public:
    FontSize(FT_Face face, int pixels, bool synthesiseItalic, bool antialiased);
    ~FontSize() override;
    FontSize(const FontSize&) = delete;
    FontSize& operator=(const FontSize&) = delete;

    int Ascent() const override { return m_ascent; }
    int Descent() const override { return m_descent; }
    int Advance(wchar_t ch) const override;
    int MaxWidth() const { return m_maxWidth; }
    int Pixels() const { return m_pixels; }

    // The characters one after another from x on the baseline, in the colour, inside the clip.
    void DrawRun(Image& target, const RECT& clip, int x, int baseline, std::wstring_view text, COLORREF color);

private:
    struct Glyph {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> coverage;
    };

    FT_UInt GlyphIndex(wchar_t ch) const;
    int MeasureAdvance(wchar_t ch) const;
    // The character's glyph as drawn, rendered on first use; empty for what shows nothing.
    const Glyph& GlyphOf(wchar_t ch);
    Glyph Render(FT_UInt index);

    FT_Face m_face;
    FT_Size m_size = nullptr;
    int m_pixels;
    bool m_italic;
    bool m_antialiased;
    int m_ascent = 0;
    int m_descent = 0;
    int m_maxWidth = 0;
    // Advances are asked for character by character at every layout: the Latin ones from an
    // array, the rest remembered as they come.
    mutable std::array<int, 0x250> m_latin;
    mutable std::unordered_map<wchar_t, int> m_others;
    std::unordered_map<wchar_t, Glyph> m_glyphs;
};

class FreeTypeFonts {
public:
    // Null with the reason when FreeType or the regular face cannot be opened.
    static std::unique_ptr<FreeTypeFonts> Open(std::string& error);
    ~FreeTypeFonts();
    FreeTypeFonts(const FreeTypeFonts&) = delete;
    FreeTypeFonts& operator=(const FreeTypeFonts&) = delete;

    // The face and size a LOGFONTW asks for, made on first use and kept.
    FontSize& Size(const LOGFONTW& font);

private:
    FreeTypeFonts() = default;
    FT_Face Face(bool bold, bool italic, bool& synthesiseItalic);

    FT_Library m_library = nullptr;
    std::string m_folder;
    // Regular, bold, oblique, bold oblique; the obliques may be missing (the upright faces are
    // slanted instead).
    std::array<FT_Face, 4> m_faces {};
    std::array<bool, 4> m_tried {};
    std::map<std::tuple<int, bool, bool, bool>, std::unique_ptr<FontSize>> m_sizes;
};

} // namespace platform::ui
