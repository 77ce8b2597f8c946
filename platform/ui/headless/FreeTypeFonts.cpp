#include "platform/ui/headless/FreeTypeFonts.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/ui/backend/Raster.h"
#include "platform/ui/headless/NonspacingMarks.h"

namespace platform::ui {

namespace {

constexpr const char* kFaceFiles[] = {
    "DejaVuSans.ttf",
    "DejaVuSans-Bold.ttf",
    "DejaVuSans-Oblique.ttf",
    "DejaVuSans-BoldOblique.ttf",
};

// Where the distributions put the DejaVu faces; the user's own fonts first, as the system's
// font configuration looks there first too.
std::vector<std::filesystem::path> FontFolders()
{
    std::vector<std::filesystem::path> folders;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome != nullptr && *dataHome != '\0')
        folders.emplace_back(std::filesystem::path(dataHome) / "fonts");
    else if (home != nullptr && *home != '\0')
        folders.emplace_back(std::filesystem::path(home) / ".local/share/fonts");
    for (const char* folder : { "/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/TTF", "/usr/share/fonts/dejavu",
             "/usr/share/fonts/dejavu-sans-fonts", "/usr/local/share/fonts", "/usr/share/fonts/truetype" })
        folders.emplace_back(folder);
    return folders;
}

// A face's vertical metric as the text engine rounds it: scaled to the size, to 1/64 pixel,
// then to whole pixels.
int ScaledMetric(FT_Short design, int pixels, FT_UShort unitsPerEm)
{
    long sixtyFourths = std::lround(static_cast<double>(design) * pixels * 64.0 / unitsPerEm);
    return static_cast<int>((sixtyFourths + 32) >> 6);
}

} // namespace

FontSize::FontSize(FT_Face face, int pixels, bool synthesiseItalic, bool antialiased)
    : m_face(face), m_pixels(pixels), m_italic(synthesiseItalic), m_antialiased(antialiased)
{
    m_latin.fill(-1);
    if (FT_New_Size(m_face, &m_size) != 0) {
        m_size = nullptr;
        return;
    }
    FT_Activate_Size(m_size);
    if (FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        FT_Done_Size(m_size);
        m_size = nullptr;
        return;
    }
    m_ascent = ScaledMetric(m_face->ascender, pixels, m_face->units_per_EM);
    m_descent = ScaledMetric(static_cast<FT_Short>(-m_face->descender), pixels, m_face->units_per_EM);
    m_maxWidth = static_cast<int>((m_size->metrics.max_advance + 32) >> 6);
}

FontSize::~FontSize()
{
    if (m_size != nullptr)
        FT_Done_Size(m_size);
}

FT_UInt FontSize::GlyphIndex(wchar_t ch) const
{
    // A tab has no glyph of its own and is measured and drawn as a space.
    return FT_Get_Char_Index(m_face, ch == L'\t' ? L' ' : static_cast<FT_ULong>(ch));
}

int FontSize::MeasureAdvance(wchar_t ch) const
{
    if (IsNonspacingMark(ch) || m_size == nullptr)
        return 0;
    FT_Activate_Size(m_size);
    // A character the face lacks takes the missing-glyph box's advance (glyph 0).
    if (FT_Load_Glyph(m_face, GlyphIndex(ch), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return 0;
    // The unhinted advance in 16.16 pixels, rounded: what the platform's text engine uses
    // when hinting is off.
    return static_cast<int>(std::lround(static_cast<double>(m_face->glyph->linearHoriAdvance) / 65536.0));
}

int FontSize::Advance(wchar_t ch) const
{
    auto code = static_cast<uint32_t>(ch);
    if (code < m_latin.size()) {
        int& known = m_latin[code];
        if (known < 0)
            known = MeasureAdvance(ch);
        return known;
    }
    auto found = m_others.find(ch);
    if (found != m_others.end())
        return found->second;
    int advance = MeasureAdvance(ch);
    m_others.emplace(ch, advance);
    return advance;
}

const FontSize::Glyph& FontSize::GlyphOf(wchar_t ch)
{
    auto found = m_glyphs.find(ch);
    if (found != m_glyphs.end())
        return found->second;
    FT_UInt index = GlyphIndex(ch);
    // A combining mark the face lacks takes no room and shows nothing, not the missing-glyph box.
    Glyph glyph = IsNonspacingMark(ch) && index == 0 ? Glyph {} : Render(index);
    return m_glyphs.emplace(ch, std::move(glyph)).first->second;
}

FontSize::Glyph FontSize::Render(FT_UInt index)
{
    Glyph glyph;
    if (m_size == nullptr)
        return glyph;
    FT_Activate_Size(m_size);
    if (m_italic) {
        // A slant of about 12 degrees, as an upright face is shown oblique.
        FT_Matrix shear { 0x10000, 0x03600, 0, 0x10000 };
        FT_Set_Transform(m_face, &shear, nullptr);
    }
    FT_Int32 flags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_RENDER | (m_antialiased ? 0 : FT_LOAD_TARGET_MONO);
    FT_Error loaded = FT_Load_Glyph(m_face, index, flags);
    if (m_italic)
        FT_Set_Transform(m_face, nullptr, nullptr);
    if (loaded != 0)
        return glyph;
    const FT_Bitmap& bitmap = m_face->glyph->bitmap;
    glyph.left = m_face->glyph->bitmap_left;
    glyph.top = m_face->glyph->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        uint8_t* out = glyph.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(glyph.width);
        for (int x = 0; x < glyph.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x / 8] & (0x80 >> (x % 8))) != 0 ? 255 : 0;
            else
                out[x] = row[x];
        }
    }
    return glyph;
}

void FontSize::DrawRun(Image& target, const RECT& clip, int x, int baseline, std::wstring_view text, COLORREF color)
{
    for (wchar_t ch : text) {
        const Glyph& glyph = GlyphOf(ch);
        if (!glyph.coverage.empty())
            RasterCoverage(target, clip, x + glyph.left, baseline - glyph.top, glyph.coverage.data(), glyph.width,
                glyph.height, glyph.width, color);
        x += Advance(ch);
    }
}

std::unique_ptr<FreeTypeFonts> FreeTypeFonts::Open(std::string& error)
{
    std::unique_ptr<FreeTypeFonts> fonts(new FreeTypeFonts());
    if (FT_Init_FreeType(&fonts->m_library) != 0) {
        fonts->m_library = nullptr;
        error = "FreeType could not start";
        return nullptr;
    }
    std::error_code ignored;
    for (const std::filesystem::path& folder : FontFolders()) {
        if (std::filesystem::is_regular_file(folder / kFaceFiles[0], ignored)
            && std::filesystem::is_regular_file(folder / kFaceFiles[1], ignored)) {
            fonts->m_folder = folder.string();
            break;
        }
    }
    if (fonts->m_folder.empty()) {
        error = "no DejaVu Sans font (DejaVuSans.ttf and DejaVuSans-Bold.ttf) in the font folders";
        return nullptr;
    }
    bool slant = false;
    if (fonts->Face(false, false, slant) == nullptr || fonts->Face(true, false, slant) == nullptr) {
        error = "cannot read the DejaVu Sans faces in " + fonts->m_folder;
        return nullptr;
    }
    return fonts;
}

FreeTypeFonts::~FreeTypeFonts()
{
    m_sizes.clear();
    for (FT_Face face : m_faces) {
        if (face != nullptr)
            FT_Done_Face(face);
    }
    if (m_library != nullptr)
        FT_Done_FreeType(m_library);
}

FT_Face FreeTypeFonts::Face(bool bold, bool italic, bool& synthesiseItalic)
{
    size_t slot = (bold ? 1 : 0) + (italic ? 2 : 0);
    if (!m_tried[slot]) {
        m_tried[slot] = true;
        std::string path = (std::filesystem::path(m_folder) / kFaceFiles[slot]).string();
        if (FT_New_Face(m_library, path.c_str(), 0, &m_faces[slot]) != 0)
            m_faces[slot] = nullptr;
    }
    if (m_faces[slot] != nullptr || !italic) {
        synthesiseItalic = false;
        return m_faces[slot];
    }
    synthesiseItalic = true;
    bool upright = false;
    return Face(bold, false, upright);
}

FontSize& FreeTypeFonts::Size(const LOGFONTW& font)
{
    int pixels = FontPixelSize(font);
    bool bold = font.lfWeight >= 600;
    bool italic = font.lfItalic != 0;
    bool antialiased = font.lfQuality != NONANTIALIASED_QUALITY;
    auto key = std::make_tuple(pixels, bold, italic, antialiased);
    auto found = m_sizes.find(key);
    if (found != m_sizes.end())
        return *found->second;
    bool slant = false;
    FT_Face face = Face(bold, italic, slant);
    auto size = std::make_unique<FontSize>(face, pixels, slant, antialiased);
    return *m_sizes.emplace(key, std::move(size)).first->second;
}

} // namespace platform::ui
