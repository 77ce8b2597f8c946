#include "platform/ui/backend/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace platform::ui {

namespace {

// Where drawing may land: the clip inside the image. Coordinates are 64-bit wherever they
// come from the caller, so that rectangles and lines near the ends of the 32-bit range never
// overflow on their way to being clipped.
struct Area {
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int64_t x, int64_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

Area DrawableArea(const Image& target, const RECT& clip)
{
    return Area { std::max<int64_t>(clip.left, 0), std::max<int64_t>(clip.top, 0),
        std::min<int64_t>(clip.right, target.Width()), std::min<int64_t>(clip.bottom, target.Height()) };
}

uint32_t Alpha(uint32_t pixel)
{
    return pixel >> 24;
}

// Each of the four channels times a / 255, rounded as Qt's blending rounds.
uint32_t ByteMul(uint32_t pixel, uint32_t a)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t product = ((pixel >> shift) & 0xFF) * a;
        result |= ((product + (product >> 8) + 0x80) >> 8) << shift;
    }
    return result;
}

// x * a / 255 + y * b / 255 for each channel, with a + b = 255.
uint32_t Interpolate(uint32_t x, uint32_t a, uint32_t y, uint32_t b)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t sum = ((x >> shift) & 0xFF) * a + ((y >> shift) & 0xFF) * b;
        result |= (((sum + (sum >> 8) + 0x80) >> 8) & 0xFF) << shift;
    }
    return result;
}

// A source pixel as premultiplied ARGB, the layout every blend works in.
uint32_t PremultipliedFrom(uint32_t pixel, PixelFormat format)
{
    switch (format) {
    case PixelFormat::Rgb32:
        return pixel | 0xFF000000u;
    case PixelFormat::Argb32:
        return PremultiplyPixel(pixel);
    case PixelFormat::Argb32Premultiplied:
        return pixel;
    }
    return pixel;
}

// The same pixel opaque, as the Qt backend's opaque drawing first converts its source to Rgb32.
uint32_t OpaqueFrom(uint32_t pixel, PixelFormat format)
{
    // Qt drops a straight alpha without blending onto black.
    if (format == PixelFormat::Argb32Premultiplied)
        return UnpremultiplyPixel(pixel) | 0xFF000000u;
    return pixel | 0xFF000000u;
}

uint32_t ConvertPixel(uint32_t pixel, PixelFormat from, PixelFormat to)
{
    if (to == PixelFormat::Rgb32)
        return OpaqueFrom(pixel, from);
    uint32_t premultiplied = PremultipliedFrom(pixel, from);
    return to == PixelFormat::Argb32 ? UnpremultiplyPixel(premultiplied) : premultiplied;
}

// scale / value as Qt divides by an alpha: the processor's approximate reciprocal refined by
// one Newton step. The same arithmetic gives the same channels, where an exact division
// would differ by one on ties.
float ReciprocalTimes(float value, float scale)
{
#if defined(__SSE__)
    float estimate = _mm_cvtss_f32(_mm_rcp_ss(_mm_set_ss(value)));
    estimate = (estimate + estimate) - estimate * (estimate * value);
    return estimate * scale;
#else
    return scale / value;
#endif
}

// x / 65535 rounded, for x up to 65535 * 65535.
uint64_t Div65535(uint64_t x)
{
    return (x + (x >> 16) + 0x8000) >> 16;
}

// A premultiplied pixel over a straight-alpha pixel. Qt composes such targets in 16 bits a
// channel, premultiplied, and stores them back rounded from there, so that a pixel round
// trips unchanged where the source leaves it and a transparent one comes out as 0.
uint32_t BlendOverStraight(uint32_t target, uint32_t source)
{
    uint64_t targetAlpha = static_cast<uint64_t>(Alpha(target)) * 257;
    uint64_t sourceAlpha = static_cast<uint64_t>(Alpha(source)) * 257;
    uint64_t channels[4];
    for (int c = 0; c < 4; ++c) {
        uint64_t d = static_cast<uint64_t>((target >> (8 * c)) & 0xFF) * 257;
        if (c < 3 && targetAlpha != 65535) {
            d = (d * targetAlpha) >> 16;
            d += d >> 15;
        }
        uint64_t s = static_cast<uint64_t>((source >> (8 * c)) & 0xFF) * 257;
        if (sourceAlpha == 65535)
            d = s;
        else if (sourceAlpha != 0)
            d = s + Div65535(d * (65535 - sourceAlpha));
        channels[c] = d;
    }
    uint64_t alpha = channels[3];
    float inverse = alpha == 0 ? 0 : ReciprocalTimes(static_cast<float>(alpha), 65535.0f);
    uint32_t result = 0;
    for (int c = 0; c < 4; ++c) {
        uint64_t value = channels[c];
        if (c < 3 && alpha != 65535 && alpha != 0)
            value = static_cast<uint64_t>(std::clamp(std::lrint(static_cast<float>(value) * inverse), 0L, 65535L));
        value += 128;
        result |= static_cast<uint32_t>(std::min<uint64_t>((value - (value >> 8)) >> 8, 255)) << (8 * c);
    }
    return result;
}

// A premultiplied pixel over the target's pixel, in the target's layout.
void BlendOver(uint32_t& target, uint32_t source, PixelFormat format)
{
    uint32_t alpha = Alpha(source);
    if (format == PixelFormat::Argb32)
        target = BlendOverStraight(target, source);
    else if (alpha == 0xFF)
        target = source;
    else if (alpha != 0)
        target = source + ByteMul(target, 0xFF - alpha);
}

// Pixels [from, to) of one row, clipped to the area.
void FillSpan(Image& target, const Area& area, int64_t y, int64_t from, int64_t to, uint32_t pixel)
{
    if (y < area.top || y >= area.bottom)
        return;
    from = std::max(from, area.left);
    to = std::min(to, area.right);
    if (from >= to)
        return;
    uint32_t* row = target.Row(static_cast<int>(y));
    std::fill(row + from, row + to, pixel);
}

void FillBlock(
    Image& target, const Area& area, int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t pixel)
{
    for (int64_t y = std::max(top, area.top); y < std::min(bottom, area.bottom); ++y)
        FillSpan(target, area, y, left, right, pixel);
}

// The pixels of a one-pixel line from `from` toward `to`, the end point left out, stepping
// along the longer axis with the error term the Qt backend uses. Only the steps whose pixel
// can land inside the area are walked: the first of them is found directly, so that a line
// thousands of millions of pixels long costs what its visible part costs. `visit(x, y, i)`
// gets each pixel inside the area with its index along the line.
template <typename Visit>
void WalkLine(const Area& area, POINT from, POINT to, Visit visit)
{
    int64_t dx = std::llabs(static_cast<int64_t>(to.x) - from.x);
    int64_t dy = std::llabs(static_cast<int64_t>(to.y) - from.y);
    bool alongX = dx >= dy;
    int64_t major = alongX ? dx : dy;
    int64_t minor = alongX ? dy : dx;
    int64_t majorStart = alongX ? from.x : from.y;
    int64_t minorStart = alongX ? from.y : from.x;
    int64_t majorStep = (alongX ? to.x >= from.x : to.y >= from.y) ? 1 : -1;
    int64_t minorStep = (alongX ? to.y >= from.y : to.x >= from.x) ? 1 : -1;
    int64_t low = alongX ? area.left : area.top;
    int64_t high = alongX ? area.right : area.bottom;
    int64_t minorLow = alongX ? area.top : area.left;
    int64_t minorHigh = alongX ? area.bottom : area.right;

    int64_t first = 0;
    int64_t last = major;
    if (majorStep > 0) {
        first = std::max<int64_t>(first, low - majorStart);
        last = std::min(last, high - majorStart);
    } else {
        first = std::max<int64_t>(first, majorStart - (high - 1));
        last = std::min(last, majorStart - low + 1);
    }
    if (first >= last)
        return;

    // The minor axis has stepped k times before pixel i, k the least with
    // start - i * minor + k * major >= 0. Both products stay below 2^64.
    uint64_t start = static_cast<uint64_t>(major / 2);
    uint64_t product = static_cast<uint64_t>(first) * static_cast<uint64_t>(minor);
    uint64_t steps
        = product <= start ? 0 : (product - start + static_cast<uint64_t>(major) - 1) / static_cast<uint64_t>(major);
    int64_t error = static_cast<int64_t>(start + steps * static_cast<uint64_t>(major) - product);
    int64_t minorPos = minorStart + minorStep * static_cast<int64_t>(steps);
    int64_t majorPos = majorStart + majorStep * first;
    for (int64_t i = first; i < last; ++i) {
        if (minorPos >= minorLow && minorPos < minorHigh) {
            if (alongX)
                visit(majorPos, minorPos, i);
            else
                visit(minorPos, majorPos, i);
        } else if ((minorStep > 0) == (minorPos >= minorHigh)) {
            break; // moving away from the area: nothing further lands in it
        }
        majorPos += majorStep;
        error -= minor;
        if (error < 0) {
            minorPos += minorStep;
            error += major;
        }
    }
}

// A dash pattern in pixels along the path: drawn, then left, then again.
struct Dashes {
    double on = 0;
    double off = 0;
};

Dashes DashesOf(const PenSpec& pen)
{
    // Qt's dash line: four widths drawn, two left.
    double width = std::max(pen.width, 1);
    return Dashes { 4 * width, 2 * width };
}

struct Vertex {
    double x = 0;
    double y = 0;
};

// Where pixels are sampled against a wide pen's outline: a hair before their centres, since
// Qt leaves out a pixel whose centre lies on the outline's top or left edge and takes one on
// its bottom or right edge (odd widths put centres exactly there).
constexpr double kSample = 0.5 - 1e-6;

// The pixels whose centres lie within `radius` of the segment: a wide pen's stroke with round
// ends. The shape is convex, so each row meets it in one span.
void FillCapsule(Image& target, const Area& area, Vertex a, Vertex b, double radius, uint32_t pixel)
{
    double top = std::min(a.y, b.y) - radius;
    double bottom = std::max(a.y, b.y) + radius;
    int64_t firstRow = std::max(area.top, static_cast<int64_t>(std::floor(std::max(top - kSample, -1e18))));
    int64_t lastRow = std::min(area.bottom - 1, static_cast<int64_t>(std::ceil(std::min(bottom - kSample, 1e18))));
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    double length = std::hypot(dx, dy);
    double ux = length > 0 ? dx / length : 0;
    double uy = length > 0 ? dy / length : 0;
    for (int64_t row = firstRow; row <= lastRow; ++row) {
        double y = static_cast<double>(row) + kSample;
        double from = INFINITY;
        double to = -INFINITY;
        for (const Vertex& end : { a, b }) {
            double offset = y - end.y;
            if (std::abs(offset) <= radius) {
                double half = std::sqrt(radius * radius - offset * offset);
                from = std::min(from, end.x - half);
                to = std::max(to, end.x + half);
            }
        }
        if (length > 0) {
            // Along the segment within [0, length], across it within [-radius, radius]:
            // each is a linear condition on x.
            double lo = -INFINITY;
            double hi = INFINITY;
            auto within = [&](double slope, double constant, double min, double max) {
                if (std::abs(slope) < 1e-12) {
                    if (constant < min || constant > max)
                        lo = INFINITY;
                    return;
                }
                double p = (min - constant) / slope;
                double q = (max - constant) / slope;
                lo = std::max(lo, std::min(p, q));
                hi = std::min(hi, std::max(p, q));
            };
            within(ux, -a.x * ux + (y - a.y) * uy, 0, length);
            within(-uy, a.x * uy + (y - a.y) * ux, -radius, radius);
            if (lo <= hi) {
                from = std::min(from, lo);
                to = std::max(to, hi);
            }
        }
        if (from > to)
            continue;
        double left = std::ceil(std::max(from - kSample, static_cast<double>(area.left) - 1));
        double right = std::floor(std::min(to - kSample, static_cast<double>(area.right) + 1));
        FillSpan(target, area, row, static_cast<int64_t>(left), static_cast<int64_t>(right) + 1, pixel);
    }
}

// A wide pen along the vertices: round ends and joins, dashed when asked.
void StrokeWide(Image& target, const Area& area, const std::vector<Vertex>& path, const PenSpec& pen, uint32_t pixel)
{
    double radius = std::max(pen.width, 1) / 2.0;
    if (pen.style != PS_DASH) {
        for (size_t i = 0; i + 1 < path.size(); ++i)
            FillCapsule(target, area, path[i], path[i + 1], radius, pixel);
        return;
    }
    Dashes dashes = DashesOf(pen);
    double period = dashes.on + dashes.off;
    double phase = 0; // where the pattern stands at the segment's start
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        Vertex a = path[i];
        Vertex b = path[i + 1];
        double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length <= 0)
            continue;
        // Only the part of the segment near the area is walked: a line across the whole
        // coordinate range would otherwise take millions of dashes.
        double from = 0;
        double to = 1;
        auto within = [&](double p, double q) {
            if (p == 0)
                return q >= 0;
            double t = q / p;
            if (p < 0)
                from = std::max(from, t);
            else
                to = std::min(to, t);
            return from <= to;
        };
        double margin = radius + 1;
        bool visible = within(a.x - b.x, a.x - (static_cast<double>(area.left) - margin))
            && within(b.x - a.x, static_cast<double>(area.right) + margin - a.x)
            && within(a.y - b.y, a.y - (static_cast<double>(area.top) - margin))
            && within(b.y - a.y, static_cast<double>(area.bottom) + margin - a.y);
        for (double position = from * length; visible && position < to * length;) {
            double inPattern = std::fmod(phase + position, period);
            double step = inPattern < dashes.on ? dashes.on - inPattern : period - inPattern;
            double end = std::min(to * length, position + std::max(step, 1e-3));
            if (inPattern < dashes.on) {
                FillCapsule(target, area,
                    { a.x + (b.x - a.x) * position / length, a.y + (b.y - a.y) * position / length },
                    { a.x + (b.x - a.x) * end / length, a.y + (b.y - a.y) * end / length }, radius, pixel);
            }
            position = end;
        }
        phase = std::fmod(phase + length, period);
    }
}

// A one-pixel dashed path: the pattern counts pixels along the path, across its corners.
void StrokeDashedPixels(Image& target, const Area& area, const POINT* points, int count, bool closed, uint32_t pixel)
{
    Dashes dashes = DashesOf(PenSpec { PS_DASH, 1, 0 });
    int64_t period = static_cast<int64_t>(dashes.on + dashes.off);
    int64_t drawn = static_cast<int64_t>(dashes.on);
    int64_t along = 0;
    auto plot = [&](int64_t x, int64_t y, int64_t i) {
        if ((along + i) % period < drawn)
            target.Row(static_cast<int>(y))[x] = pixel;
    };
    int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        POINT from = points[i];
        POINT to = points[(i + 1) % count];
        WalkLine(area, from, to, plot);
        along += std::max(
            std::llabs(static_cast<int64_t>(to.x) - from.x), std::llabs(static_cast<int64_t>(to.y) - from.y));
    }
    if (!closed && count > 0) {
        POINT end = points[count - 1];
        if (area.Contains(end.x, end.y) && along % period < drawn)
            target.Row(end.y)[end.x] = pixel;
    }
}

// A one-pixel outline through the corners (x1, y1) and (x2, y2), as Qt's one-pixel stroker
// draws it: each edge, walked from corner to corner, covers the pixels from its lower end up
// to its higher end left out; an edge walked towards lower coordinates also gets its first
// corner, unless that corner turns from an edge of some length and the edge runs out of the
// image on its far side (Qt clips it first and then misses the corner). A single pixel has
// edges of no length and draws nothing. The same pixels as Qt's,
// so that both backends draw the same screens.
void OutlinePixels(Image& target, const Area& area, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t pixel)
{
    struct Edge {
        int64_t fromX, fromY, toX, toY;
        bool Horizontal() const { return fromY == toY; }
        int64_t From() const { return Horizontal() ? fromX : fromY; }
        int64_t To() const { return Horizontal() ? toX : toY; }
        bool Covers(int64_t x, int64_t y) const
        {
            if (Horizontal())
                return y == fromY && x >= std::min(fromX, toX) && x < std::max(fromX, toX);
            return x == fromX && y >= std::min(fromY, toY) && y < std::max(fromY, toY);
        }
    };
    const Edge edges[4] = { { x1, y1, x2, y1 }, { x2, y1, x2, y2 }, { x2, y2, x1, y2 }, { x1, y2, x1, y1 } };
    for (const Edge& edge : edges) {
        if (edge.Horizontal())
            FillSpan(target, area, edge.fromY, std::min(edge.fromX, edge.toX), std::max(edge.fromX, edge.toX), pixel);
        else
            FillBlock(target, area, edge.fromX, std::min(edge.fromY, edge.toY), edge.fromX + 1,
                std::max(edge.fromY, edge.toY), pixel);
    }
    for (int k = 0; k < 4; ++k) {
        const Edge& edge = edges[k];
        const Edge& before = edges[(k + 3) % 4];
        bool afterCorner = before.fromX != before.toX || before.fromY != before.toY;
        bool clipped = edge.To() < -1 && afterCorner;
        if (edge.To() < edge.From() && !clipped && area.Contains(edge.fromX, edge.fromY))
            target.Row(static_cast<int>(edge.fromY))[edge.fromX] = pixel;
    }
}

LONG ClampedLong(int64_t value)
{
    return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The nearest-pixel mapping of Qt's scaled image drawing, in its 16.16 fixed point, so that
// the same pixels are picked and the same edge columns left out. The target rectangle is
// given in doubles as Qt holds it.
template <typename Write>
void ScalePixels(const Area& area, double targetLeft, double targetTop, double targetWidth, double targetHeight,
    const Image& source, Write write)
{
    double scaleX = source.Width() / targetWidth;
    double scaleY = source.Height() / targetHeight;
    auto stepX = static_cast<int32_t>(65536 * scaleX);
    auto stepY = static_cast<int32_t>(65536 * scaleY);

    int64_t left = std::max<int64_t>(std::llround(targetLeft), area.left);
    int64_t top = std::max<int64_t>(std::llround(targetTop), area.top);
    int64_t right = std::min<int64_t>(std::llround(targetLeft + targetWidth), area.right);
    int64_t bottom = std::min<int64_t>(std::llround(targetTop + targetHeight), area.bottom);
    if (left >= right || top >= bottom)
        return;
    int64_t width = right - left;
    int64_t height = bottom - top;
    auto baseX = static_cast<uint32_t>(static_cast<int32_t>(std::ceil((left + 0.5 - targetLeft) * scaleX * 65536)) - 1);
    auto sourceY = static_cast<uint32_t>(static_cast<int32_t>(std::ceil((top + 0.5 - targetTop) * scaleY * 65536)) - 1);
    int64_t lastY
        = static_cast<int32_t>(sourceY + static_cast<uint32_t>(stepY) * static_cast<uint32_t>(height - 1)) >> 16;
    if (lastY < 0 || lastY >= source.Height())
        --height;
    int64_t lastX = static_cast<int32_t>(baseX + static_cast<uint32_t>(stepX) * static_cast<uint32_t>(width - 1)) >> 16;
    if (lastX < 0 || lastX >= source.Width())
        --width;
    for (int64_t y = 0; y < height; ++y, sourceY += static_cast<uint32_t>(stepY)) {
        int64_t sy = std::clamp<int64_t>(sourceY >> 16, 0, source.Height() - 1);
        const uint32_t* from = source.Row(static_cast<int>(sy));
        uint32_t sourceX = baseX;
        for (int64_t x = 0; x < width; ++x, sourceX += static_cast<uint32_t>(stepX)) {
            int64_t sx = std::clamp<int64_t>(sourceX >> 16, 0, source.Width() - 1);
            write(left + x, top + y, from[sx]);
        }
    }
}

// Averages the source over each target pixel's footprint, in premultiplied channels so that
// transparent pixels lend no colour.
Image SmoothScale(const Image& image, int width, int height)
{
    struct Weight {
        int first = 0;
        std::vector<double> weights;
    };
    auto weightsOf = [](int sourceSize, int targetSize) {
        std::vector<Weight> result(static_cast<size_t>(targetSize));
        double ratio = static_cast<double>(sourceSize) / targetSize;
        for (int i = 0; i < targetSize; ++i) {
            // Enlarging blends neighbours linearly; shrinking averages the covered pixels.
            double centre = (i + 0.5) * ratio;
            double half = std::max(ratio, 1.0) / 2;
            double from = centre - half;
            double to = centre + half;
            Weight& weight = result[static_cast<size_t>(i)];
            weight.first = std::clamp(static_cast<int>(std::floor(from)), 0, sourceSize - 1);
            int last = std::clamp(static_cast<int>(std::ceil(to)) - 1, 0, sourceSize - 1);
            double total = 0;
            for (int s = weight.first; s <= last; ++s) {
                double cover = std::min(to, s + 1.0) - std::max(from, static_cast<double>(s));
                weight.weights.push_back(std::max(cover, 0.0));
                total += weight.weights.back();
            }
            for (double& w : weight.weights)
                w = total > 0 ? w / total : 1.0 / static_cast<double>(weight.weights.size());
        }
        return result;
    };
    std::vector<Weight> columns = weightsOf(image.Width(), width);
    std::vector<Weight> rows = weightsOf(image.Height(), height);
    Image result(width, height, image.Format());
    std::vector<double> line(static_cast<size_t>(image.Width()) * 4);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0.0);
        const Weight& row = rows[static_cast<size_t>(y)];
        for (size_t k = 0; k < row.weights.size(); ++k) {
            const uint32_t* from = image.Row(row.first + static_cast<int>(k));
            for (int x = 0; x < image.Width(); ++x) {
                uint32_t pixel = PremultipliedFrom(from[x], image.Format());
                for (int c = 0; c < 4; ++c)
                    line[static_cast<size_t>(x) * 4 + static_cast<size_t>(c)]
                        += row.weights[k] * ((pixel >> (8 * c)) & 0xFF);
            }
        }
        uint32_t* to = result.Row(y);
        for (int x = 0; x < width; ++x) {
            const Weight& column = columns[static_cast<size_t>(x)];
            uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (size_t k = 0; k < column.weights.size(); ++k)
                    sum += column.weights[k]
                        * line[static_cast<size_t>(column.first + static_cast<int>(k)) * 4 + static_cast<size_t>(c)];
                pixel |= static_cast<uint32_t>(std::clamp(std::lround(sum), 0L, 255L)) << (8 * c);
            }
            to[x] = ConvertPixel(pixel, PixelFormat::Argb32Premultiplied, image.Format());
        }
    }
    return result;
}

} // namespace

uint32_t ArgbFromColorRef(COLORREF color)
{
    return 0xFF000000u | (static_cast<uint32_t>(GetRValue(color)) << 16)
        | (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

COLORREF ColorRefFromArgb(uint32_t pixel)
{
    return RGB(static_cast<BYTE>(pixel >> 16), static_cast<BYTE>(pixel >> 8), static_cast<BYTE>(pixel));
}

uint32_t PremultiplyPixel(uint32_t pixel)
{
    uint32_t alpha = Alpha(pixel);
    return (ByteMul(pixel, alpha) & 0x00FFFFFFu) | (alpha << 24);
}

uint32_t UnpremultiplyPixel(uint32_t pixel)
{
    uint32_t alpha = Alpha(pixel);
    if (alpha == 0xFF)
        return pixel;
    if (alpha == 0)
        return 0;
    float factor = ReciprocalTimes(static_cast<float>(alpha), 255.0f);
    uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        long channel = std::lrint(static_cast<float>((pixel >> shift) & 0xFF) * factor);
        result |= static_cast<uint32_t>(std::clamp(channel, 0L, 255L)) << shift;
    }
    return result;
}

void FillPixels(Image& target, const RECT& clip, const RECT& rect, COLORREF color)
{
    Area area = DrawableArea(target, clip);
    FillBlock(target, area, rect.left, rect.top, rect.right, rect.bottom, ArgbFromColorRef(color));
}

void RasterRectangle(
    Image& target, const RECT& clip, const RECT& rect, const std::optional<PenSpec>& pen, std::optional<COLORREF> fill)
{
    Area area = DrawableArea(target, clip);
    if (area.Empty())
        return;
    int64_t left = rect.left;
    int64_t top = rect.top;
    int64_t right = rect.right;
    int64_t bottom = rect.bottom;
    // An inverted rectangle fills between its edges, as Qt normalises it.
    auto fillBetween = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        FillBlock(target, area, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2),
            ArgbFromColorRef(*fill));
    };
    if (!pen) {
        if (fill)
            fillBetween(left, top, right - 1, bottom - 1);
        return;
    }
    if (fill)
        fillBetween(left, top, right, bottom);

    uint32_t pixel = ArgbFromColorRef(pen->color);
    int width = std::max(pen->width, 1);
    // The outline runs through the pixels inside the edges, pulled in by half a wide pen.
    int64_t inset = width / 2;
    int64_t x1 = left + inset;
    int64_t y1 = top + inset;
    int64_t x2 = right - 1 - inset;
    int64_t y2 = bottom - 1 - inset;
    if (width == 1 && pen->style != PS_DASH) {
        OutlinePixels(target, area, x1, y1, x2, y2, pixel);
        return;
    }
    if (width == 1) {
        POINT corners[4] = { { ClampedLong(x1), ClampedLong(y1) }, { ClampedLong(x2), ClampedLong(y1) },
            { ClampedLong(x2), ClampedLong(y2) }, { ClampedLong(x1), ClampedLong(y2) } };
        StrokeDashedPixels(target, area, corners, 4, true, pixel);
        return;
    }
    std::vector<Vertex> path { { double(x1), double(y1) }, { double(x2), double(y1) }, { double(x2), double(y2) },
        { double(x1), double(y2) }, { double(x1), double(y1) } };
    StrokeWide(target, area, path, *pen, pixel);
}

void RasterPolyline(Image& target, const RECT& clip, const POINT* points, int count, const PenSpec& pen)
{
    Area area = DrawableArea(target, clip);
    if (area.Empty() || points == nullptr || count < 1)
        return;
    uint32_t pixel = ArgbFromColorRef(pen.color);
    if (pen.width <= 1 && pen.style != PS_DASH) {
        for (int i = 0; i + 1 < count; ++i) {
            WalkLine(area, points[i], points[i + 1],
                [&](int64_t x, int64_t y, int64_t) { target.Row(static_cast<int>(y))[x] = pixel; });
        }
        return;
    }
    if (pen.width <= 1) {
        StrokeDashedPixels(target, area, points, count, false, pixel);
        return;
    }
    std::vector<Vertex> path;
    path.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        path.push_back(Vertex { static_cast<double>(points[i].x), static_cast<double>(points[i].y) });
    StrokeWide(target, area, path, pen, pixel);
}

void RasterImage(Image& target, const RECT& clip, const RECT& rect, const Image& source, bool blend)
{
    Area area = DrawableArea(target, clip);
    if (area.Empty() || source.IsNull())
        return;
    int64_t width = static_cast<int64_t>(rect.right) - rect.left;
    int64_t height = static_cast<int64_t>(rect.bottom) - rect.top;
    if (width <= 0 || height <= 0)
        return;
    PixelFormat from = source.Format();
    PixelFormat to = target.Format();
    auto write = [&](int64_t x, int64_t y, uint32_t pixel) {
        uint32_t& out = target.Row(static_cast<int>(y))[x];
        if (blend)
            BlendOver(out, PremultipliedFrom(pixel, from), to);
        else
            out = OpaqueFrom(pixel, from);
    };
    if (width == source.Width() && height == source.Height()) {
        int64_t top = std::max<int64_t>(rect.top, area.top);
        int64_t bottom = std::min<int64_t>(rect.bottom, area.bottom);
        int64_t left = std::max<int64_t>(rect.left, area.left);
        int64_t right = std::min<int64_t>(rect.right, area.right);
        for (int64_t y = top; y < bottom; ++y) {
            const uint32_t* row = source.Row(static_cast<int>(y - rect.top));
            for (int64_t x = left; x < right; ++x)
                write(x, y, row[x - rect.left]);
        }
        return;
    }
    ScalePixels(area, rect.left, rect.top, static_cast<double>(width), static_cast<double>(height), source, write);
}

void RasterCoverage(Image& target, const RECT& clip, int x, int y, const uint8_t* coverage, int width, int height,
    int pitch, COLORREF color)
{
    Area area = DrawableArea(target, clip);
    if (area.Empty() || coverage == nullptr || width <= 0 || height <= 0)
        return;
    uint32_t pixel = ArgbFromColorRef(color);
    PixelFormat format = target.Format();
    int64_t firstRow = std::max<int64_t>(0, area.top - y);
    int64_t lastRow = std::min<int64_t>(height, area.bottom - y);
    int64_t firstColumn = std::max<int64_t>(0, area.left - x);
    int64_t lastColumn = std::min<int64_t>(width, area.right - x);
    for (int64_t row = firstRow; row < lastRow; ++row) {
        const uint8_t* mask = coverage + static_cast<ptrdiff_t>(row) * pitch;
        uint32_t* out = target.Row(static_cast<int>(y + row));
        for (int64_t column = firstColumn; column < lastColumn; ++column) {
            uint32_t cover = mask[column];
            if (cover == 0)
                continue;
            uint32_t& destination = out[x + column];
            if (cover == 0xFF)
                destination = pixel;
            else if (format == PixelFormat::Argb32)
                destination = BlendOverStraight(destination, ByteMul(pixel, cover));
            else
                destination = Interpolate(pixel, cover, destination, 0xFF - cover);
        }
    }
}

Image ConvertImage(const Image& image, PixelFormat format)
{
    if (image.IsNull() || image.Format() == format)
        return image;
    Image result(image.Width(), image.Height(), format);
    const uint32_t* from = image.Bits();
    uint32_t* to = result.Bits();
    size_t count = static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height());
    for (size_t i = 0; i < count; ++i)
        to[i] = ConvertPixel(from[i], image.Format(), format);
    return result;
}

Image ScaleImage(const Image& image, int width, int height, bool smooth)
{
    if (image.IsNull())
        return image;
    if (width <= 0 || height <= 0)
        return Image();
    if (width == image.Width() && height == image.Height())
        return image;
    if (smooth)
        return SmoothScale(image, width, height);
    // Qt scales through a transform whose factors are the ratios of the sizes: the target's
    // extent comes back from them in doubles, not always exactly the integer asked for.
    double factorX = static_cast<double>(width) / image.Width();
    double factorY = static_cast<double>(height) / image.Height();
    Image result(width, height, image.Format());
    Area area { 0, 0, width, height };
    ScalePixels(area, 0, 0, image.Width() * factorX, image.Height() * factorY, image,
        [&](int64_t x, int64_t y, uint32_t pixel) { result.Row(static_cast<int>(y))[x] = pixel; });
    return result;
}

Image DrawStandardIcon(UINT iconType, int size)
{
    Image icon(size, size, PixelFormat::Argb32Premultiplied);
    if (icon.IsNull())
        return icon;
    RECT all { 0, 0, size, size };
    Area area { 0, 0, size, size };
    double centre = size / 2.0;
    double radius = size / 2.0 - 0.3;
    uint32_t white = ArgbFromColorRef(RGB(0xFF, 0xFF, 0xFF));
    int stroke = std::max(size / 8, 1);
    auto scaled = [size](int unit) { return static_cast<LONG>(unit * size / 32); };
    auto line = [&](std::initializer_list<POINT> points, int width) {
        RasterPolyline(icon, all, points.begin(), static_cast<int>(points.size()),
            PenSpec { PS_SOLID, width, RGB(0xFF, 0xFF, 0xFF) });
    };
    auto dot = [&](double x, double y, double r) { FillCapsule(icon, area, { x, y }, { x, y }, r, white); };

    switch (iconType & MB_ICONMASK) {
    case MB_ICONHAND:
        FillCapsule(
            icon, area, { centre, centre }, { centre, centre }, radius, ArgbFromColorRef(RGB(0xD0, 0x20, 0x20)));
        line({ { scaled(10), scaled(10) }, { scaled(22), scaled(22) } }, stroke);
        line({ { scaled(22), scaled(10) }, { scaled(10), scaled(22) } }, stroke);
        break;
    case MB_ICONQUESTION:
        FillCapsule(
            icon, area, { centre, centre }, { centre, centre }, radius, ArgbFromColorRef(RGB(0x20, 0x60, 0xC0)));
        // The hook of the mark, then its dot.
        line({ { scaled(11), scaled(12) }, { scaled(13), scaled(9) }, { scaled(16), scaled(8) },
                 { scaled(19), scaled(9) }, { scaled(21), scaled(12) }, { scaled(19), scaled(15) },
                 { scaled(16), scaled(17) }, { scaled(16), scaled(20) } },
            stroke);
        dot(scaled(16), scaled(24), stroke * 0.75);
        break;
    case MB_ICONEXCLAMATION: {
        // A triangle with its point up: each row's span narrows towards the top.
        uint32_t amber = ArgbFromColorRef(RGB(0xE0, 0x90, 0x00));
        for (int y = 0; y < size; ++y) {
            double reach = (y + 0.5) / size * centre;
            FillSpan(icon, area, y, static_cast<int64_t>(std::ceil(centre - reach - 0.5)),
                static_cast<int64_t>(std::floor(centre + reach - 0.5)) + 1, amber);
        }
        line({ { scaled(16), scaled(11) }, { scaled(16), scaled(21) } }, stroke);
        dot(scaled(16), scaled(26), stroke * 0.75);
        break;
    }
    default:
        FillCapsule(
            icon, area, { centre, centre }, { centre, centre }, radius, ArgbFromColorRef(RGB(0x20, 0x60, 0xC0)));
        dot(scaled(16), scaled(9), stroke * 0.75);
        line({ { scaled(16), scaled(14) }, { scaled(16), scaled(24) } }, stroke);
        break;
    }
    return icon;
}

} // namespace platform::ui
