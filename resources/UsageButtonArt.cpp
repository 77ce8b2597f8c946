#include "resources/UsageButtonArt.h"

#include <cmath>

#include "resources/ResourceIds.h"

namespace {

constexpr uint32_t kFace = 0xFFF2F2EE;
constexpr uint32_t kInk = 0xFF30343A;
constexpr uint32_t kPaper = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFE03A2E;
constexpr uint32_t kBlue = 0xFF2F5FD0;
constexpr uint32_t kGreen = 0xFF2E9A48;
constexpr uint32_t kYellow = 0xFFFFE040;
constexpr uint32_t kSteel = 0xFF6B7785;

// Shapes are given in design units (0 to 20); a pixel belongs to a shape when its centre does.
class Grid {
public:
    explicit Grid(int size)
        : m_size(size)
        , m_pixels(static_cast<size_t>(size) * size, kFace)
    {
    }

    template <typename Inside>
    void Paint(uint32_t colour, Inside inside)
    {
        const double unit = 20.0 / m_size;
        for (int y = 0; y < m_size; ++y)
            for (int x = 0; x < m_size; ++x)
                if (inside((x + 0.5) * unit, (y + 0.5) * unit))
                    m_pixels[static_cast<size_t>(y) * m_size + x] = colour;
    }

    void Box(double left, double top, double right, double bottom, uint32_t colour)
    {
        Paint(colour, [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; });
    }

    // A box with an outline of one unit.
    void Framed(double left, double top, double right, double bottom, uint32_t fill)
    {
        Box(left, top, right, bottom, kInk);
        Box(left + 1, top + 1, right - 1, bottom - 1, fill);
    }

    void Disc(double cx, double cy, double r, uint32_t colour)
    {
        Paint(colour, [=](double x, double y) { return std::hypot(x - cx, y - cy) <= r; });
    }

    void Line(double x0, double y0, double x1, double y1, double width, uint32_t colour)
    {
        Paint(colour, [=](double x, double y) {
            double vx = x1 - x0;
            double vy = y1 - y0;
            double t = std::fmax(0.0, std::fmin(1.0, ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)));
            return std::hypot(x - (x0 + t * vx), y - (y0 + t * vy)) <= width / 2;
        });
    }

    std::vector<uint32_t> Take() { return std::move(m_pixels); }

private:
    int m_size;
    std::vector<uint32_t> m_pixels;
};

void Clock(Grid& grid, double cx, double cy, double r)
{
    grid.Disc(cx, cy, r, kInk);
    grid.Disc(cx, cy, r - 1.2, kPaper);
    grid.Line(cx, cy, cx, cy - r + 2.5, 1.4, kInk);
    grid.Line(cx, cy, cx + r - 3, cy, 1.4, kRed);
}

void CalendarPage(Grid& grid, double left, double top, double right, double bottom)
{
    grid.Framed(left, top, right, bottom, kPaper);
    grid.Box(left + 1, top + 1, right - 1, top + 4, kRed);
}

} // namespace

std::vector<uint32_t> DrawUsageButtonArt(UsageButtonArt art, int size)
{
    Grid grid(size);
    switch (art) {
    case UsageButtonArt::ModeHourly:
        Clock(grid, 10, 10, 8);
        break;
    case UsageButtonArt::ModeDaily:
        CalendarPage(grid, 2, 2, 18, 18);
        grid.Box(8, 9, 12, 14, kBlue);
        break;
    case UsageButtonArt::ModeMonthly:
        CalendarPage(grid, 2, 2, 18, 18);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 4; ++column)
                grid.Box(4 + column * 3.2, 7.5 + row * 3.2, 6.2 + column * 3.2, 9.5 + row * 3.2, kBlue);
        break;
    case UsageButtonArt::ModeAny:
        CalendarPage(grid, 1, 1, 15, 15);
        grid.Box(3, 7, 6, 10, kBlue);
        grid.Box(7, 7, 10, 10, kBlue);
        Clock(grid, 13, 13, 6);
        break;
    case UsageButtonArt::Export:
        grid.Framed(2, 2, 12, 18, kPaper);
        for (int line = 0; line < 4; ++line)
            grid.Box(4, 5 + line * 3, 10, 6 + line * 3, kSteel);
        grid.Line(8, 12, 16, 12, 2.4, kGreen);
        grid.Paint(kGreen, [](double x, double y) { return x >= 13 && x <= 19 && std::fabs(y - 12) <= (19 - x) * 0.75; });
        break;
    case UsageButtonArt::Settings:
        for (int tooth = 0; tooth < 8; ++tooth) {
            double angle = tooth * 3.14159265358979 / 4;
            grid.Line(10, 10, 10 + 8.2 * std::cos(angle), 10 + 8.2 * std::sin(angle), 3, kSteel);
        }
        grid.Disc(10, 10, 6.2, kSteel);
        grid.Disc(10, 10, 2.6, kFace);
        break;
    case UsageButtonArt::Table:
        grid.Framed(2, 3, 18, 17, kPaper);
        grid.Box(3, 4, 17, 7, kYellow);
        for (double y : { 7.0, 10.3, 13.6 })
            grid.Box(2, y, 18, y + 1, kInk);
        for (double x : { 7.0, 12.0 })
            grid.Box(x, 3, x + 1, 17, kInk);
        break;
    case UsageButtonArt::Chart:
        grid.Box(2, 2, 3, 18, kInk);
        grid.Box(2, 17, 18, 18, kInk);
        grid.Box(5, 11, 8, 17, kRed);
        grid.Box(5, 8, 8, 11, kBlue);
        grid.Box(10, 7, 13, 17, kRed);
        grid.Box(10, 4, 13, 7, kBlue);
        grid.Box(15, 13, 18, 17, kRed);
        grid.Box(15, 11, 18, 13, kBlue);
        break;
    }
    return grid.Take();
}

void AddUsageBitmaps(platform::ModuleResources& resources)
{
    struct Bitmap {
        int id;
        UsageButtonArt art;
        int size;
        int bitsPerPixel;
    };
    const Bitmap bitmaps[] = {
        { IDB_USAGE_MODE_HOURLY, UsageButtonArt::ModeHourly, 20, 8 },
        { IDB_USAGE_MODE_DAILY, UsageButtonArt::ModeDaily, 20, 8 },
        { IDB_USAGE_MODE_MONTHLY, UsageButtonArt::ModeMonthly, 20, 8 },
        { IDB_USAGE_EXPORT, UsageButtonArt::Export, 20, 8 },
        { IDB_USAGE_SETTINGS, UsageButtonArt::Settings, 20, 8 },
        { IDB_USAGE_TABLE, UsageButtonArt::Table, 20, 8 },
        { IDB_USAGE_CHART, UsageButtonArt::Chart, 20, 4 },
        { IDB_USAGE_MODE_LARGE, UsageButtonArt::ModeAny, 32, 24 },
        { IDB_USAGE_CHART_LARGE, UsageButtonArt::Chart, 32, 24 },
        { IDB_USAGE_SETTINGS_LARGE, UsageButtonArt::Settings, 32, 24 },
        { IDB_USAGE_EXPORT_LARGE, UsageButtonArt::Export, 32, 24 },
        { IDB_USAGE_TABLE_LARGE, UsageButtonArt::Table, 32, 24 },
    };
    for (const Bitmap& bitmap : bitmaps)
        resources.AddBitmap(bitmap.id, bitmap.size, bitmap.size, bitmap.bitsPerPixel,
            DrawUsageButtonArt(bitmap.art, bitmap.size).data());
}
