// The rate monitor's figures: one repaint (grid, traces and labels combined, then copied to the
// dialog) and one tick (the two traces drawn again), on a wrapped ring of unequal rates, at
// both screen resolutions.
#include <benchmark/benchmark.h>

#include "metering/RateGraph.h"
#include "platform/device/Device.h"
#include "platform/ui/WinGdi.h"

namespace {

// A graph of the monitor's size on the device, with a ring that has wrapped.
class GraphScene {
public:
    explicit GraphScene(bool large)
    {
        platform::SetCurrentDevice(large ? platform::DeviceProfile::Vga() : platform::DeviceProfile::Qvga());
        int dpi = large ? 192 : 96;
        RECT client { 0, 0, ScaleToDpi(158, dpi), ScaleToDpi(153, dpi) };
        ULONG64 up = 0;
        ULONG64 down = 0;
        for (int second = 0; second < 200; ++second)
            history.AddSample(up += 6000 + (second % 7) * 900, down += 2500 + (second % 11) * 400);
        m_screen = GetDC(nullptr);
        target = CreateCompatibleDC(m_screen);
        m_bitmap = CreateCompatibleBitmap(m_screen, client.right, client.bottom);
        m_displaced = SelectObject(target, m_bitmap);
        graph.Build(m_screen, client, dpi, dpi, kRateScaleFirst, history);
        graph.Tick(history, history.AverageRecent(5));
    }
    ~GraphScene()
    {
        graph.Release();
        SelectObject(target, m_displaced);
        DeleteDC(target);
        DeleteObject(m_bitmap);
        ReleaseDC(nullptr, m_screen);
    }

    RateHistory history;
    RateGraph graph;
    HDC target = nullptr;

private:
    HDC m_screen = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_displaced = nullptr;
};

void BM_RateMonitorRepaint(benchmark::State& state)
{
    GraphScene scene(state.range(0) != 0);
    for (auto _ : state)
        scene.graph.Paint(scene.target, scene.history);
}
BENCHMARK(BM_RateMonitorRepaint)->Arg(0)->Arg(1)->ArgName("vga")->Unit(benchmark::kMicrosecond);

void BM_RateMonitorTick(benchmark::State& state)
{
    GraphScene scene(state.range(0) != 0);
    RateAverage recent = scene.history.AverageRecent(5);
    for (auto _ : state)
        scene.graph.Tick(scene.history, recent);
}
BENCHMARK(BM_RateMonitorTick)->Arg(0)->Arg(1)->ArgName("vga")->Unit(benchmark::kMicrosecond);

} // namespace
