// The backend without a screen must lay text out exactly as the Qt backend does: the item's
// height, the status lines that fit and the headless report all come from these figures.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <climits>

#include <string>
#include <vector>

#include "platform/ui/backend/RenderBackend.h"

using namespace platform::ui;

namespace {

RenderBackend& Screenless()
{
    static RenderBackend* backend = [] {
        std::string path = std::string(VELMORA_BINARY_DIR) + "/libvelplatform-headless.so";
        void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(library, nullptr) << dlerror();
        auto create = reinterpret_cast<decltype(&VelmoraCreateRenderBackend)>(dlsym(library, "VelmoraCreateRenderBackend"));
        EXPECT_NE(create, nullptr);
        return create(false);
    }();
    return *backend;
}

LOGFONTW Font(LONG height, LONG weight, BYTE quality = DEFAULT_QUALITY)
{
    LOGFONTW font {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfQuality = quality;
    return font;
}

// Every font the system asks for: em sizes, cell heights, the system font, both weights.
std::vector<LOGFONTW> Fonts()
{
    std::vector<LOGFONTW> fonts;
    for (LONG weight : { FW_NORMAL, FW_BOLD }) {
        for (LONG em = 6; em <= 40; ++em)
            fonts.push_back(Font(-em, weight));
        for (LONG cell : { 8L, 13L, 17L, 29L, 47L })
            fonts.push_back(Font(cell, weight));
        fonts.push_back(Font(0, weight));
        fonts.push_back(Font(-11, weight, NONANTIALIASED_QUALITY));
    }
    return fonts;
}

std::string Describe(const LOGFONTW& font)
{
    return "height " + std::to_string(font.lfHeight) + " weight " + std::to_string(font.lfWeight);
}

} // namespace

TEST(ScreenlessText, MetricsAreTheQtBackendsForEveryFont)
{
    for (const LOGFONTW& font : Fonts()) {
        TEXTMETRICW qt = Renderer().TextMetrics(font);
        TEXTMETRICW ours = Screenless().TextMetrics(font);
        SCOPED_TRACE(Describe(font));
        EXPECT_EQ(ours.tmAscent, qt.tmAscent);
        EXPECT_EQ(ours.tmDescent, qt.tmDescent);
        EXPECT_EQ(ours.tmHeight, qt.tmHeight);
        EXPECT_EQ(ours.tmInternalLeading, qt.tmInternalLeading);
        EXPECT_EQ(ours.tmAveCharWidth, qt.tmAveCharWidth);
        EXPECT_EQ(ours.tmMaxCharWidth, qt.tmMaxCharWidth);
        EXPECT_EQ(ours.tmWeight, qt.tmWeight);
    }
}

TEST(ScreenlessText, EveryCharacterOfTheBasicPlaneAdvancesAsWithQt)
{
    // Surrogates stand for nothing on their own; the rest of the plane, controls, marks the
    // face lacks and characters it has no glyph for included.
    std::wstring plane;
    for (wchar_t ch = 1; ch < 0x10000; ++ch) {
        if (ch < 0xD800 || ch > 0xDFFF)
            plane.push_back(ch);
    }
    std::vector<int> qt(plane.size());
    std::vector<int> ours(plane.size());
    for (const LOGFONTW& font : { Font(-8, FW_NORMAL), Font(-11, FW_BOLD), Font(-13, FW_NORMAL), Font(-27, FW_BOLD) }) {
        SCOPED_TRACE(Describe(font));
        SIZE qtSize = Renderer().TextExtent(font, plane, qt.data());
        SIZE ourSize = Screenless().TextExtent(font, plane, ours.data());
        EXPECT_EQ(ourSize.cx, qtSize.cx);
        EXPECT_EQ(ourSize.cy, qtSize.cy);
        int reported = 0;
        for (size_t i = 0; i < plane.size() && reported < 10; ++i) {
            int qtAdvance = qt[i] - (i == 0 ? 0 : qt[i - 1]);
            int ourAdvance = ours[i] - (i == 0 ? 0 : ours[i - 1]);
            if (qtAdvance != ourAdvance) {
                ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(plane[i]) << std::dec << ": " << ourAdvance
                              << " against " << qtAdvance;
                ++reported;
            }
        }
    }
}

TEST(ScreenlessText, DrawTextLaysOutParagraphsAsWithQt)
{
    const std::wstring texts[] = {
        L"Connected 192.168.1.20 via eth0",
        L"&Received 4,294,975,296 bytes\r\nSent 18,446,744,073,709,551,615",
        L"Bytes réçus: 1,5 Go — débit 12,3 kB/s\tÉtat: actif",
        L"W W W iiiiiiiiiiii WWWWWWWWWWWWW i",
        L"",
    };
    const UINT formats[] = { DT_WORDBREAK, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX, DT_SINGLELINE | DT_VCENTER,
        DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, DT_CENTER };
    for (const LOGFONTW& font : { Font(-9, FW_NORMAL), Font(-12, FW_BOLD), Font(17, FW_NORMAL) }) {
        for (const std::wstring& text : texts) {
            for (UINT format : formats) {
                for (LONG width : { 37L, 96L, 161L, 400L }) {
                    SCOPED_TRACE(Describe(font) + " format " + std::to_string(format) + " width " + std::to_string(width));
                    RECT qt { 3, 5, 3 + width, 205 };
                    RECT ours = qt;
                    int qtAnswer = Renderer().DrawText(nullptr, RECT {}, font, text, qt, format | DT_CALCRECT, TextColors {});
                    int ourAnswer = Screenless().DrawText(nullptr, RECT {}, font, text, ours, format | DT_CALCRECT, TextColors {});
                    EXPECT_EQ(ourAnswer, qtAnswer);
                    EXPECT_EQ(ours.right, qt.right);
                    EXPECT_EQ(ours.bottom, qt.bottom);
                    RECT box { 3, 5, 3 + width, 205 };
                    EXPECT_EQ(Screenless().DrawText(nullptr, RECT {}, font, text, box, format, TextColors {}),
                        Renderer().DrawText(nullptr, RECT {}, font, text, box, format, TextColors {}));
                }
            }
        }
    }
}

namespace {

struct Ink {
    RECT box { INT_MAX, INT_MAX, INT_MIN, INT_MIN };
    long long darkness = 0;
};

Ink InkOf(const Image& image)
{
    Ink ink;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            int dark = 255 - static_cast<int>((image.Pixel(x, y) >> 16) & 0xFF);
            if (dark == 0)
                continue;
            ink.darkness += dark;
            ink.box = RECT { std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1) };
        }
    }
    return ink;
}

Image Drawn(RenderBackend& backend, const LOGFONTW& font, std::wstring_view text, UINT format, const RECT& clip)
{
    Image image(160, 60, PixelFormat::Rgb32);
    image.Fill(0xFFFFFFFF);
    RECT rect { 7, 4, 150, 56 };
    backend.DrawText(&image, clip, font, text, rect, format, TextColors { RGB(0, 0, 255), 0, false });
    return image;
}

} // namespace

// The glyphs are FreeType's own, not Qt's, so the pixels differ a little; where the ink lies must
// not: the same baseline, the same whole-pixel places, the same clip.
TEST(ScreenlessText, GlyphsLandWhereQtPutsThemAndNeverOutsideTheClip)
{
    const RECT whole { 0, 0, 160, 60 };
    for (const LOGFONTW& font : { Font(-11, FW_NORMAL), Font(-16, FW_BOLD) }) {
        SCOPED_TRACE(Describe(font));
        for (UINT format : { UINT(DT_LEFT), UINT(DT_RIGHT | DT_WORDBREAK), UINT(DT_SINGLELINE | DT_VCENTER | DT_CENTER) }) {
            Ink qt = InkOf(Drawn(Renderer(), font, L"Sent 4,2 MB &at 10 Gbit/s", format, whole));
            Ink ours = InkOf(Drawn(Screenless(), font, L"Sent 4,2 MB &at 10 Gbit/s", format, whole));
            ASSERT_GT(qt.darkness, 0);
            EXPECT_NEAR(ours.box.left, qt.box.left, 1);
            EXPECT_NEAR(ours.box.right, qt.box.right, 1);
            EXPECT_NEAR(ours.box.top, qt.box.top, 1);
            EXPECT_NEAR(ours.box.bottom, qt.box.bottom, 1);
            EXPECT_NEAR(static_cast<double>(ours.darkness), static_cast<double>(qt.darkness), qt.darkness * 0.15);
        }
        const RECT clip { 20, 6, 61, 15 };
        Image clipped = Drawn(Screenless(), font, L"WWWWWWWWWWWWWWWWW", DT_LEFT, clip);
        Ink ink = InkOf(clipped);
        EXPECT_GE(ink.box.left, clip.left);
        EXPECT_GE(ink.box.top, clip.top);
        EXPECT_LE(ink.box.right, clip.right);
        EXPECT_LE(ink.box.bottom, clip.bottom);
        // Blue on white: the red and green channels darken together, blue stays full.
        EXPECT_EQ(clipped.Pixel(ink.box.left + 1, (ink.box.top + ink.box.bottom) / 2) & 0xFF, 0xFFu);
    }
}
