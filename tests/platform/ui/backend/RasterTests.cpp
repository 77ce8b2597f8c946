// The core's rasteriser against the Qt backend: the same calls on the same images must give
// the same pixels where the Qt backend's are exact, and stay inside the clip everywhere.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/ui/backend/Raster.h"
#include "platform/ui/backend/RenderBackend.h"

using namespace platform::ui;

namespace {

constexpr PixelFormat kFormats[] = { PixelFormat::Rgb32, PixelFormat::Argb32Premultiplied, PixelFormat::Argb32 };

// A background of unequal pixels, valid in its format (premultiplied channels never above
// their alpha), so that a pixel written where it should not be shows.
Image Background(int width, int height, PixelFormat format)
{
    Image image(width, height, format);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t alpha = format == PixelFormat::Rgb32 ? 0xFF : (x * 37 + y * 11) % 256;
            uint32_t pixel = (alpha << 24) | (((x * 7) % 256) << 16) | (((y * 13) % 256) << 8) | ((x * y) % 256);
            image.Row(y)[x] = format == PixelFormat::Argb32Premultiplied ? PremultiplyPixel(pixel) : pixel;
        }
    }
    return image;
}

int Differences(const Image& a, const Image& b)
{
    int count = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x)
            count += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
    }
    return count;
}

// Draws the same call with both rasterisers on copies of one background, per target format;
// returns the differing pixels over all formats.
int Compare(const std::function<void(Image&, bool qt)>& draw, int width = 61, int height = 47,
    std::vector<PixelFormat> formats = { std::begin(kFormats), std::end(kFormats) })
{
    int count = 0;
    for (PixelFormat format : formats) {
        Image ours = Background(width, height, format);
        Image theirs = ours;
        draw(ours, false);
        draw(theirs, true);
        count += Differences(ours, theirs);
    }
    return count;
}

int CompareRectangle(
    const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen, std::optional<COLORREF> fill)
{
    return Compare([&](Image& image, bool qt) {
        if (qt)
            Renderer().DrawRectangle(image, clip, rect, pen, fill);
        else
            RasterRectangle(image, clip, rect, pen, fill);
    });
}

int ComparePolyline(const RECT& clip, const std::vector<POINT>& points, const PenSpec& pen)
{
    return Compare([&](Image& image, bool qt) {
        if (qt)
            Renderer().DrawPolyline(image, clip, points.data(), static_cast<int>(points.size()), pen);
        else
            RasterPolyline(image, clip, points.data(), static_cast<int>(points.size()), pen);
    });
}

const RECT kWhole { 0, 0, 61, 47 };
const RECT kClip { 3, 5, 52, 40 };

// Rectangles inside, across every edge, inverted, one pixel and empty.
const RECT kRectangles[] = { { 4, 6, 29, 17 }, { -9, -4, 13, 31 }, { 40, 30, 75, 58 }, { 27, 21, 9, 3 },
    { 17, 9, 18, 40 }, { 5, 12, 57, 13 }, { 20, 20, 20, 33 }, { 33, 11, 34, 12 }, { 2, 44, 60, 46 }, { 50, -6, 12, 30 },
    { 20, 30, -4, -8 }, { -3, 19, 1, 20 } };

TEST(RasterTest, FillsAndOnePixelOutlinesMatchQt)
{
    for (const RECT& rect : kRectangles) {
        for (const RECT& clip : { kWhole, kClip }) {
            SCOPED_TRACE(testing::Message()
                << rect.left << "," << rect.top << "-" << rect.right << "," << rect.bottom << " clip " << clip.left);
            EXPECT_EQ(CompareRectangle(clip, rect, std::nullopt, RGB(0xC0, 0x30, 0x08)), 0);
            EXPECT_EQ(CompareRectangle(clip, rect, PenSpec { PS_SOLID, 1, RGB(0x10, 0xE0, 0x70) }, std::nullopt), 0);
            EXPECT_EQ(
                CompareRectangle(clip, rect, PenSpec { PS_SOLID, 1, RGB(0x10, 0xE0, 0x70) }, RGB(0x44, 0x55, 0x66)), 0);
        }
    }
}

TEST(RasterTest, OnePixelPolylinesMatchQtInEveryDirection)
{
    PenSpec pen { PS_SOLID, 1, RGB(0xF0, 0x20, 0x90) };
    // From the middle to points all round, steep and shallow, with unequal steps.
    std::vector<POINT> ends { { 58, 25 }, { 57, 41 }, { 41, 46 }, { 33, 2 }, { 2, 44 }, { 1, 26 }, { 3, 1 }, { 44, 3 },
        { -30, 60 }, { 90, -17 }, { 31, 25 }, { 30, 24 } };
    for (const POINT& end : ends) {
        SCOPED_TRACE(testing::Message() << "to " << end.x << "," << end.y);
        EXPECT_EQ(ComparePolyline(kWhole, { { 30, 24 }, end }, pen), 0);
        EXPECT_EQ(ComparePolyline(kClip, { end, { 30, 24 } }, pen), 0);
    }
    EXPECT_EQ(ComparePolyline(kClip, { { 2, 3 }, { 50, 9 }, { 12, 44 }, { 12, 44 }, { 59, 45 }, { 7, 8 } }, pen), 0);
    // Long lines far outside the image: only their visible steps are walked.
    EXPECT_EQ(ComparePolyline(kClip, { { -200003, -20 }, { 199997, 70 } }, pen), 0);
    EXPECT_EQ(ComparePolyline(kWhole, { { 31, -140001 }, { 17, 60000 } }, pen), 0);

    Image image(9, 7, PixelFormat::Rgb32);
    RasterPolyline(image, RECT { 0, 0, 9, 7 }, std::vector<POINT> { { 1, 1 }, { 8, 4 } }.data(), 2, pen);
    EXPECT_EQ(image.Pixel(1, 1), 0xFFF02090u);
    EXPECT_EQ(image.Pixel(7, 4), 0xFFF02090u);
    EXPECT_EQ(image.Pixel(8, 4), 0u) << "the end point is left out";
}

TEST(RasterTest, HugeCoordinatesNeitherOverflowNorLeaveTheClip)
{
    Image image = Background(23, 19, PixelFormat::Rgb32);
    Image before = image;
    RECT clip { 2, 3, 21, 17 };
    RasterRectangle(
        image, clip, RECT { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, PenSpec { PS_SOLID, 3, RGB(1, 2, 3) }, RGB(9, 8, 7));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            bool inside = x >= 2 && x < 21 && y >= 3 && y < 17;
            EXPECT_EQ(image.Pixel(x, y), inside ? 0xFF090807u : before.Pixel(x, y)) << x << "," << y;
        }
    }
    // The exact diagonal through the whole range, and a line from one end of it to the other.
    image = before;
    PenSpec pen { PS_SOLID, 1, RGB(0xFF, 0, 0) };
    POINT diagonal[] = { { INT_MIN, INT_MIN }, { INT_MAX, INT_MAX } };
    RasterPolyline(image, clip, diagonal, 2, pen);
    POINT row[] = { { INT_MAX, 15 }, { INT_MIN, 15 } };
    RasterPolyline(image, clip, row, 2, pen);
    for (int x = 0; x < image.Width(); ++x) {
        bool inside = x >= 2 && x < 21;
        EXPECT_EQ(image.Pixel(x, 15), inside ? 0xFFFF0000u : before.Pixel(x, 15)) << x;
        if (x >= 3 && x < 17) {
            EXPECT_EQ(image.Pixel(x, x), inside ? 0xFFFF0000u : before.Pixel(x, x)) << x;
        }
    }
    EXPECT_EQ(image.Pixel(4, 5), before.Pixel(4, 5));

    // Wide pens, dashes, images and masks over the whole range touch nothing outside the clip.
    Image icon = DrawStandardIcon(MB_ICONQUESTION, 16);
    std::vector<uint8_t> mask(40 * 40, 0xFF);
    image = before;
    RasterPolyline(image, clip, diagonal, 2, PenSpec { PS_DASH, 5, RGB(0, 0, 0xFF) });
    RasterRectangle(image, clip, RECT { INT_MAX, INT_MAX, INT_MIN, INT_MIN }, PenSpec { PS_DASH, 1, 0 }, std::nullopt);
    RasterImage(image, clip, RECT { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, icon, true);
    RasterImage(image, clip, RECT { -5, -7, 11, 9 }, icon, false);
    RasterCoverage(image, clip, -10, -12, mask.data(), 40, 40, 40, RGB(0, 0xFF, 0));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (x < 2 || x >= 21 || y < 3 || y >= 17) {
                EXPECT_EQ(image.Pixel(x, y), before.Pixel(x, y)) << x << "," << y;
            }
        }
    }
}

// Every alpha with unequal colour channels: 256 x 256 pixels of (alpha, value).
Image AllAlphas(PixelFormat format)
{
    Image image(256, 256, format);
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t v = 0; v < 256; ++v) {
            uint32_t pixel = (a << 24) | (v << 16) | (((v * 5) & 0xFF) << 8) | (255 - v);
            image.Row(static_cast<int>(a))[v]
                = format == PixelFormat::Argb32Premultiplied ? PremultiplyPixel(pixel) : pixel;
        }
    }
    return image;
}

TEST(RasterTest, ConversionsMatchQtForEveryAlpha)
{
    for (PixelFormat from : kFormats) {
        for (PixelFormat to : kFormats) {
            Image source = AllAlphas(from);
            SCOPED_TRACE(testing::Message() << int(from) << " to " << int(to));
            EXPECT_EQ(Differences(ConvertImage(source, to), Renderer().Convert(source, to)), 0);
        }
    }
}

TEST(RasterTest, ImagesAtTheirSizeMatchQtOpaqueAndBlended)
{
    Image source = AllAlphas(PixelFormat::Argb32Premultiplied);
    for (bool blend : { false, true }) {
        for (const RECT& clip : { RECT { 0, 0, 300, 280 }, RECT { 7, 3, 251, 270 } }) {
            SCOPED_TRACE(testing::Message() << "blend " << blend << " clip " << clip.left);
            auto draw = [&](Image& image, bool qt) {
                RECT rect { 13, 9, 269, 265 };
                if (qt)
                    Renderer().DrawImage(image, clip, rect, source, blend);
                else
                    RasterImage(image, clip, rect, source, blend);
            };
            EXPECT_EQ(Compare(draw, 300, 280, { PixelFormat::Rgb32, PixelFormat::Argb32Premultiplied }), 0);
            // Straight-alpha targets, which no window or bitmap uses: Qt rounds a few ties
            // of its 16-bit division the other way (6 of the 65536 pixels on this machine).
            EXPECT_LE(Compare(draw, 300, 280, { PixelFormat::Argb32 }), 16);
        }
    }
}

TEST(RasterTest, NearestScalingMatchesQt)
{
    Image source = Background(13, 9, PixelFormat::Argb32Premultiplied);
    for (PixelFormat format : kFormats) {
        Image converted = ConvertImage(source, format);
        for (auto [width, height] : { std::pair { 29, 7 }, std::pair { 5, 22 }, std::pair { 32, 32 },
                 std::pair { 1, 40 }, std::pair { 13, 10 } }) {
            SCOPED_TRACE(testing::Message() << int(format) << " " << width << "x" << height);
            Image ours = ScaleImage(converted, width, height, false);
            Image theirs = Renderer().Scale(converted, width, height, false);
            ASSERT_EQ(ours.Width(), theirs.Width());
            ASSERT_EQ(ours.Height(), theirs.Height());
            EXPECT_EQ(ours.Format(), theirs.Format());
            EXPECT_EQ(Differences(ours, theirs), 0);
        }
    }
}

TEST(RasterTest, WideRectanglesAndStretchedImagesMatchQt)
{
    for (int width : { 2, 3, 6 }) {
        SCOPED_TRACE(width);
        PenSpec pen { PS_SOLID, width, RGB(0x20, 0x40, 0x60) };
        EXPECT_EQ(CompareRectangle(kClip, RECT { 6, 8, 49, 37 }, pen, std::nullopt), 0);
        EXPECT_EQ(CompareRectangle(kWhole, RECT { -7, 30, 70, 41 }, pen, RGB(0xF0, 0xE0, 0x10)), 0);
        EXPECT_EQ(ComparePolyline(kClip, { { 2, 11 }, { 58, 11 }, { 58, 44 } }, pen), 0);
    }
    Image icon = DrawStandardIcon(MB_ICONHAND, 16);
    for (const RECT& rect : { RECT { 4, 3, 41, 29 }, RECT { -5, 30, 6, 50 }, RECT { 50, 2, 59, 9 } }) {
        SCOPED_TRACE(rect.left);
        EXPECT_EQ(Compare([&](Image& image, bool qt) {
            if (qt)
                Renderer().DrawImage(image, kClip, rect, icon, true);
            else
                RasterImage(image, kClip, rect, icon, true);
        }),
            0);
    }
}

TEST(RasterTest, WidePenJoinsAndDashesStayCloseToQt)
{
    // Qt flattens a wide pen's round ends and joins into polygons, so a few pixels along those
    // curves differ; its dashes step along their own line and phase. The product draws no
    // dashes, and nothing compares these pixels: the run that draws without Qt shows no
    // screen. The counts are printed for the record.
    std::vector<POINT> trace { { 5, 40 }, { 20, 9 }, { 37, 30 }, { 56, 12 } };
    int joins = 0;
    int dashes = 0;
    int drawn = 0;
    for (int width : { 1, 2, 3, 6 }) {
        PenSpec solid { PS_SOLID, width, 0xFF };
        PenSpec dashed { PS_DASH, width, 0xFF };
        if (width > 1)
            joins += ComparePolyline(kWhole, trace, solid);
        dashes += ComparePolyline(kWhole, trace, dashed);
        dashes += CompareRectangle(kClip, RECT { 6, 8, 49, 37 }, dashed, std::nullopt);
        Image blank = Background(61, 47, PixelFormat::Rgb32);
        Image image = blank;
        Renderer().DrawPolyline(image, kWhole, trace.data(), static_cast<int>(trace.size()), solid);
        drawn += Differences(blank, image) * 3; // the three formats
    }
    std::printf("differing pixels: wide joins %d, dashes %d, of %d drawn\n", joins, dashes, drawn);
    EXPECT_LT(joins, drawn / 50);
    EXPECT_LT(dashes, drawn / 2);
}

TEST(RasterTest, SmoothScalingAveragesInPremultipliedChannels)
{
    Image image(4, 2, PixelFormat::Argb32Premultiplied);
    for (int y = 0; y < 2; ++y) {
        image.Row(y)[0] = image.Row(y)[1] = y == 0 ? 0xFFFF0000u : 0xFF0000FFu;
        image.Row(y)[3] = 0x80000080u; // half-transparent blue beside a transparent pixel
    }
    Image half = ScaleImage(image, 2, 1, true);
    EXPECT_EQ(half.Pixel(0, 0), 0xFF800080u);
    EXPECT_EQ(half.Pixel(1, 0), 0x40000040u) << "the transparent pixel lends no colour";
    Image larger = ScaleImage(ConvertImage(image, PixelFormat::Rgb32), 8, 3, true);
    EXPECT_EQ(larger.Format(), PixelFormat::Rgb32);
    EXPECT_EQ(larger.Pixel(0, 0), 0xFFFF0000u) << "the edge keeps its own pixel";
    EXPECT_EQ(larger.Pixel(1, 1), 0xFF800080u);
    EXPECT_EQ(larger.Pixel(7, 2) >> 24, 0xFFu);
    EXPECT_TRUE(ScaleImage(image, 0, 5, true).IsNull());
}

TEST(RasterTest, CoverageBlendsTheColourIntoTheTarget)
{
    const uint8_t mask[] = { 0, 128, 255, 0, 255, 128, 0, 0 };
    COLORREF color = RGB(0xF0, 0x10, 0x08);
    Image opaque(4, 2, PixelFormat::Rgb32);
    opaque.Fill(0xFF205080u);
    RasterCoverage(opaque, RECT { 0, 0, 4, 2 }, 0, 0, mask, 3, 2, 4, color);
    EXPECT_EQ(opaque.Pixel(0, 0), 0xFF205080u);
    EXPECT_EQ(opaque.Pixel(1, 0), 0xFF883044u); // halfway, each channel rounded
    EXPECT_EQ(opaque.Pixel(2, 0), 0xFFF01008u);
    EXPECT_EQ(opaque.Pixel(0, 1), 0xFFF01008u);
    EXPECT_EQ(opaque.Pixel(3, 0), 0xFF205080u) << "beyond the mask's width";

    // Into premultiplied pixels the colour is premultiplied by its coverage; a bottom-up mask
    // with a negative pitch starts at its last row.
    Image clear(3, 2, PixelFormat::Argb32Premultiplied);
    clear.Row(1)[1] = 0x80402010u;
    RasterCoverage(clear, RECT { 0, 0, 3, 2 }, 0, 0, mask + 4, 3, 2, -4, color);
    EXPECT_EQ(clear.Pixel(0, 0), 0xFFF01008u);
    EXPECT_EQ(clear.Pixel(1, 0), 0x80780804u);
    EXPECT_EQ(clear.Pixel(2, 0), 0u);
    EXPECT_EQ(clear.Pixel(1, 1), 0xC098180Cu) << "half over half";
    EXPECT_EQ(clear.Pixel(2, 1), 0xFFF01008u);
}

TEST(RasterTest, StandardIconsAreShapesOnTransparency)
{
    uint32_t previousCentre = 0;
    for (UINT type : { MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK }) {
        for (int size : { 16, 32, 45 }) {
            Image icon = DrawStandardIcon(type, size);
            ASSERT_EQ(icon.Width(), size);
            ASSERT_EQ(icon.Format(), PixelFormat::Argb32Premultiplied);
            EXPECT_EQ(icon.Pixel(0, 0), 0u);
            EXPECT_EQ(icon.Pixel(size - 1, 0), 0u);
            int white = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x)
                    white += icon.Pixel(x, y) == 0xFFFFFFFFu ? 1 : 0;
            }
            EXPECT_GT(white, size / 2) << "a white mark";
            EXPECT_EQ(icon.Pixel(size / 2, size - 2) >> 24, 0xFFu) << "the shape reaches the bottom";
        }
        uint32_t centre = DrawStandardIcon(type, 32).Pixel(8, 20);
        EXPECT_NE(centre, previousCentre) << "each type its own colour";
        previousCentre = centre;
    }
}

} // namespace
