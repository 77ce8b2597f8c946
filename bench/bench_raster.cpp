// One screen's drawing by the core's own rasteriser and by the Qt backend: a fill of the whole
// screen, 20 outlined and filled rectangles of unequal sizes, a 200-point trace and a 16 x 16
// icon blended, on the large device's 480 x 640 surface.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/ui/backend/Raster.h"
#include "platform/ui/backend/RenderBackend.h"

namespace {

using platform::ui::Image;
using platform::ui::PenSpec;
using platform::ui::PixelFormat;

constexpr int kWidth = 480;
constexpr int kHeight = 640;

struct Scene {
    Scene()
        : screen(kWidth, kHeight, PixelFormat::Rgb32)
        , icon(platform::ui::DrawStandardIcon(MB_ICONEXCLAMATION, 16))
    {
        for (int i = 0; i < 200; ++i)
            trace.push_back(POINT { 20 + i * 2, 400 + (i * 37) % 90 - (i * 11) % 45 });
        for (int i = 0; i < 20; ++i)
            rectangles.push_back(RECT { 10 + i * 7, 30 + i * 13, 60 + i * 19, 50 + i * 23 });
    }

    template <typename Backend>
    void Draw(Backend& backend)
    {
        RECT all { 0, 0, kWidth, kHeight };
        backend.Rectangle(screen, all, all, std::nullopt, RGB(0xF4, 0xF0, 0xE8));
        for (size_t i = 0; i < rectangles.size(); ++i) {
            backend.Rectangle(screen, all, rectangles[i], PenSpec { PS_SOLID, 1, RGB(0x20, 0x40, 0x80) },
                RGB(static_cast<BYTE>(i * 12), 0xC0, 0x90));
        }
        backend.Polyline(
            screen, all, trace.data(), static_cast<int>(trace.size()), PenSpec { PS_SOLID, 1, RGB(0xC0, 0x10, 0x10) });
        backend.DrawImage(screen, all, RECT { 300, 12, 316, 28 }, icon, true);
    }

    Image screen;
    Image icon;
    std::vector<POINT> trace;
    std::vector<RECT> rectangles;
};

struct Core {
    void Rectangle(Image& t, const RECT& c, const RECT& r, const std::optional<PenSpec>& p, std::optional<COLORREF> f)
    {
        platform::ui::RasterRectangle(t, c, r, p, f);
    }
    void Polyline(Image& t, const RECT& c, const POINT* p, int n, const PenSpec& pen)
    {
        platform::ui::RasterPolyline(t, c, p, n, pen);
    }
    void DrawImage(Image& t, const RECT& c, const RECT& r, const Image& s, bool b)
    {
        platform::ui::RasterImage(t, c, r, s, b);
    }
};

struct QtBackend {
    platform::ui::RenderBackend& backend = platform::ui::Renderer();
    void Rectangle(Image& t, const RECT& c, const RECT& r, const std::optional<PenSpec>& p, std::optional<COLORREF> f)
    {
        backend.DrawRectangle(t, c, r, p, f);
    }
    void Polyline(Image& t, const RECT& c, const POINT* p, int n, const PenSpec& pen)
    {
        backend.DrawPolyline(t, c, p, n, pen);
    }
    void DrawImage(Image& t, const RECT& c, const RECT& r, const Image& s, bool b) { backend.DrawImage(t, c, r, s, b); }
};

// One screen drawn by either: the core's rasteriser or the Qt backend.
template <class Drawer>
void BM_Screen(benchmark::State& state)
{
    Scene scene;
    Drawer drawer;
    for (auto _ : state) {
        scene.Draw(drawer);
        benchmark::DoNotOptimize(scene.screen.Bits());
    }
}
BENCHMARK_TEMPLATE(BM_Screen, Core)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Screen, QtBackend)->Unit(benchmark::kMicrosecond);

} // namespace
