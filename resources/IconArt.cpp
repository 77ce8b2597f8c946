#include "resources/IconArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

// Icons are described on a 32 x 32 design grid as signed distance fields (negative inside),
// painted layer by layer with 4 x 4 supersampling, so one description serves every size.

namespace {

using Distance = std::function<double(double, double)>;

struct Point {
    double x;
    double y;
};

Distance Circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Distance Box(double x0, double y0, double x1, double y1, double radius = 0)
{
    return [=](double x, double y) {
        double hx = (x1 - x0) / 2 - radius;
        double hy = (y1 - y0) / 2 - radius;
        double dx = std::fabs(x - (x0 + x1) / 2) - hx;
        double dy = std::fabs(y - (y0 + y1) / 2) - hy;
        double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
        return outside + std::min(std::max(dx, dy), 0.0) - radius;
    };
}

Distance Segment(Point a, Point b, double width)
{
    return [=](double x, double y) {
        double vx = b.x - a.x;
        double vy = b.y - a.y;
        double t = ((x - a.x) * vx + (y - a.y) * vy) / (vx * vx + vy * vy);
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (a.x + t * vx), y - (a.y + t * vy)) - width / 2;
    };
}

Distance Polygon(std::vector<Point> points)
{
    return [points = std::move(points)](double x, double y) {
        double best = 1e9;
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[j];
            const Point& b = points[i];
            double vx = b.x - a.x;
            double vy = b.y - a.y;
            double t = std::clamp(((x - a.x) * vx + (y - a.y) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
            best = std::min(best, std::hypot(x - (a.x + t * vx), y - (a.y + t * vy)));
            if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x))
                inside = !inside;
        }
        return inside ? -best : best;
    };
}

Distance Union(Distance a, Distance b)
{
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Distance Minus(Distance a, Distance b)
{
    return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Distance Intersect(Distance a, Distance b)
{
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

// The band of a shape's edge, inside and out.
Distance Edge(Distance shape, double width)
{
    return [=](double x, double y) { return std::fabs(shape(x, y)) - width / 2; };
}

Distance Rotated(Distance shape, double cx, double cy, double radians)
{
    double c = std::cos(radians);
    double s = std::sin(radians);
    return [=](double x, double y) {
        double dx = x - cx;
        double dy = y - cy;
        return shape(cx + dx * c + dy * s, cy - dx * s + dy * c);
    };
}

struct Layer {
    Distance shape;
    uint32_t argb;
};

class Canvas {
public:
    explicit Canvas(int size)
        : m_size(size)
        , m_pixels(static_cast<size_t>(size) * size, 0)
    {
    }

    // A filled shape with a darker edge.
    void Fill(const Distance& shape, uint32_t fill, uint32_t edge = 0, double edgeWidth = 1.6)
    {
        Paint({ shape, fill });
        if (edge != 0)
            Paint({ [shape, edgeWidth](double x, double y) {
                       double d = shape(x, y);
                       return std::max(d, -d - edgeWidth); // the band just inside the outline
                   },
                edge });
    }

    void Paint(const Layer& layer)
    {
        constexpr int kSamples = 4;
        const double scale = 32.0 / m_size;
        for (int py = 0; py < m_size; ++py) {
            for (int px = 0; px < m_size; ++px) {
                int covered = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        double x = (px + (sx + 0.5) / kSamples) * scale;
                        double y = (py + (sy + 0.5) / kSamples) * scale;
                        if (layer.shape(x, y) <= 0)
                            ++covered;
                    }
                }
                if (covered > 0)
                    Blend(m_pixels[static_cast<size_t>(py) * m_size + px], layer.argb, covered / double(kSamples * kSamples));
            }
        }
    }

    std::vector<uint32_t> Take() { return std::move(m_pixels); }

private:
    // Source over destination, straight (not premultiplied) alpha.
    static void Blend(uint32_t& destination, uint32_t source, double coverage)
    {
        double sa = ((source >> 24) & 0xFF) / 255.0 * coverage;
        double da = ((destination >> 24) & 0xFF) / 255.0;
        double oa = sa + da * (1 - sa);
        if (oa <= 0)
            return;
        uint32_t out = static_cast<uint32_t>(std::lround(oa * 255)) << 24;
        for (int shift = 0; shift <= 16; shift += 8) {
            double sc = ((source >> shift) & 0xFF) / 255.0;
            double dc = ((destination >> shift) & 0xFF) / 255.0;
            double oc = (sc * sa + dc * da * (1 - sa)) / oa;
            out |= static_cast<uint32_t>(std::lround(oc * 255)) << shift;
        }
        destination = out;
    }

    int m_size;
    std::vector<uint32_t> m_pixels;
};

// Palette.
constexpr uint32_t kGreyFill = 0xFFA9B1BA;
constexpr uint32_t kGreyEdge = 0xFF59626D;
constexpr uint32_t kSendFill = 0xFF34B85A;
constexpr uint32_t kSendEdge = 0xFF1C6B33;
constexpr uint32_t kReceiveFill = 0xFF3D8BF0;
constexpr uint32_t kReceiveEdge = 0xFF1E4F99;
constexpr uint32_t kAlertRed = 0xFFD93025;
constexpr uint32_t kSteel = 0xFF5F7083;
constexpr uint32_t kSteelDark = 0xFF33404F;
constexpr uint32_t kFace = 0xFFF4F6F8;

Distance UpArrow(double left, double right, double top, double bottom)
{
    double mid = (left + right) / 2;
    double head = top + (right - left) * 0.75;
    double shaft = (right - left) * 0.22;
    return Union(Polygon({ { mid, top }, { right, head }, { left, head } }), Box(mid - shaft, head - 0.5, mid + shaft, bottom, 1));
}

Distance DownArrow(double left, double right, double top, double bottom)
{
    double mid = (left + right) / 2;
    double head = bottom - (right - left) * 0.75;
    double shaft = (right - left) * 0.22;
    return Union(Polygon({ { mid, bottom }, { left, head }, { right, head } }), Box(mid - shaft, top, mid + shaft, head + 0.5, 1));
}

void DrawActivity(Canvas& canvas, bool sending, bool receiving, bool disconnected)
{
    canvas.Fill(UpArrow(2.5, 15, 2.5, 29.5), sending ? kSendFill : kGreyFill, sending ? kSendEdge : kGreyEdge);
    canvas.Fill(DownArrow(17, 29.5, 2.5, 29.5), receiving ? kReceiveFill : kGreyFill, receiving ? kReceiveEdge : kGreyEdge);
    if (disconnected) {
        Distance ring = Minus(Circle(16, 16, 13.5), Circle(16, 16, 9.5));
        Distance bar = Segment({ 7, 7 }, { 25, 25 }, 4);
        canvas.Paint({ Edge(Union(ring, bar), 1.6), 0xFFFFFFFF });
        canvas.Paint({ Union(ring, bar), kAlertRed });
    }
}

void DrawOptions(Canvas& canvas)
{
    Distance gear = Circle(16, 16, 10);
    for (int tooth = 0; tooth < 8; ++tooth)
        gear = Union(gear, Rotated(Box(13.5, 1.5, 18.5, 8, 1), 16, 16, tooth * 3.14159265358979 / 4));
    canvas.Fill(Minus(gear, Circle(16, 16, 4.5)), kSteel, kSteelDark);
}

void DrawMeter(Canvas& canvas)
{
    Distance dial = Intersect(Circle(16, 20, 14), Box(0, 0, 32, 21.5));
    canvas.Fill(dial, kFace, kSteelDark, 2);
    for (int tick = 0; tick <= 4; ++tick) {
        double angle = 3.14159265358979 * (1.0 - tick / 4.0);
        Point outer { 16 + 11.5 * std::cos(angle), 20 - 11.5 * std::sin(angle) };
        Point inner { 16 + 8.5 * std::cos(angle), 20 - 8.5 * std::sin(angle) };
        canvas.Paint({ Segment(inner, outer, 1.6), tick == 4 ? kAlertRed : kSteelDark });
    }
    canvas.Paint({ Segment({ 16, 20 }, { 24.5, 11 }, 2.4), kAlertRed });
    canvas.Fill(Circle(16, 20, 2.6), kSteelDark);
    canvas.Fill(Box(3, 24, 29, 28.5, 1.5), kSteel, kSteelDark, 1.2);
}

void DrawDhcp(Canvas& canvas)
{
    // Two arrows chasing each other round a circle: the lease being renewed.
    Distance ring = Minus(Circle(16, 16, 12), Circle(16, 16, 7.5));
    Distance gaps = Union(Box(13, 0, 32, 9), Box(0, 23, 19, 32));
    Distance arcs = Minus(ring, gaps);
    Distance heads = Union(Polygon({ { 13, 0.5 }, { 13, 12 }, { 20.5, 5.5 } }), Polygon({ { 19, 20 }, { 19, 31.5 }, { 11.5, 26 } }));
    canvas.Fill(Union(arcs, heads), kReceiveFill, kReceiveEdge);
}

void DrawPin(Canvas& canvas, bool pressed)
{
    if (pressed) {
        // Seen from above, pushed in: only the head shows.
        canvas.Fill(Circle(16, 16, 11), kAlertRed, 0xFF7A1A14, 2);
        canvas.Paint({ Circle(12.5, 12.5, 3.5), 0x99FFFFFF });
        return;
    }
    // Lying on its side, ready to be pushed in: needle, collar and a round head.
    canvas.Paint({ Segment({ 14, 18 }, { 3.5, 28.5 }, 2.4), kSteelDark });
    canvas.Fill(Rotated(Box(12, 14.5, 22, 19.5, 1.5), 17, 17, -3.14159265358979 / 4), kAlertRed, 0xFF7A1A14, 1.4);
    canvas.Fill(Circle(21.5, 10.5, 7), kAlertRed, 0xFF7A1A14, 1.8);
    canvas.Paint({ Circle(19.5, 8.5, 2.4), 0x99FFFFFF });
}

void DrawView(Canvas& canvas, bool full)
{
    int lines = full ? 3 : 1;
    for (int i = 0; i < lines; ++i)
        canvas.Fill(Box(3, 4 + i * 7, 29, 8.5 + i * 7, 1.5), kSteel, kSteelDark, 1.2);
    // The chevron says what a tap does: open the list up, or fold it back.
    double tip = full ? 24.5 : 30;
    double base = full ? 30 : 24.5;
    if (!full) {
        canvas.Fill(Box(3, 13, 29, 17.5, 1.5), 0xFFD5DAE0, kGreyEdge, 1.2);
    }
    canvas.Fill(Polygon({ { 8, base }, { 24, base }, { 16, tip } }), kReceiveFill, kReceiveEdge, 1.2);
}

} // namespace

std::vector<uint32_t> DrawIconArt(IconArt art, int size)
{
    Canvas canvas(size);
    switch (art) {
    case IconArt::ActivityIdle:
        DrawActivity(canvas, false, false, false);
        break;
    case IconArt::ActivityReceiving:
        DrawActivity(canvas, false, true, false);
        break;
    case IconArt::ActivitySending:
        DrawActivity(canvas, true, false, false);
        break;
    case IconArt::ActivityBoth:
        DrawActivity(canvas, true, true, false);
        break;
    case IconArt::ActivityNoConnection:
        DrawActivity(canvas, false, false, true);
        break;
    case IconArt::Options:
        DrawOptions(canvas);
        break;
    case IconArt::Meter:
        DrawMeter(canvas);
        break;
    case IconArt::Dhcp:
        DrawDhcp(canvas);
        break;
    case IconArt::PinReleased:
        DrawPin(canvas, false);
        break;
    case IconArt::PinPressed:
        DrawPin(canvas, true);
        break;
    case IconArt::ViewCompact:
        DrawView(canvas, false);
        break;
    case IconArt::ViewFull:
        DrawView(canvas, true);
        break;
    }
    return canvas.Take();
}

std::vector<uint32_t> DrawIconArt(IconArt art, int size, int extent)
{
    if (extent >= size)
        return DrawIconArt(art, size);
    std::vector<uint32_t> picture = DrawIconArt(art, extent);
    std::vector<uint32_t> icon(static_cast<size_t>(size) * size, 0);
    for (int y = 0; y < extent; ++y)
        for (int x = 0; x < extent; ++x)
            icon[static_cast<size_t>(y) * size + x] = picture[static_cast<size_t>(y) * extent + x];
    return icon;
}
