// The data rate monitor's strip chart: a green grid on black that scrolls one pixel a tick, and
// the upload and download traces of the rate history, unrolled so that the newest sample ends at
// the right edge. The grid, the traces and the picture are kept in three memory canvases, so a
// tick redraws only the traces and a paint only combines prepared bitmaps.
#pragma once

#include <array>
#include <string>

#include "metering/RateHistory.h"
#include "platform/ui/WinGdi.h"

// A length given at 96 pixels per inch, on a display of the given resolution.
int ScaleToDpi(int length, int pixelsPerInch);

// The full scale: the graph's height stands for 100 × scale bits per second.
constexpr DWORD kRateScaleFirst = 1000;
constexpr DWORD kRateScaleSmallest = 500;
constexpr DWORD kRateScaleLargest = 20000;
// The next full scale up or down; the same scale at either end of the range.
DWORD LargerRateScale(DWORD scale);
DWORD SmallerRateScale(DWORD scale);
// The labels at the top and the middle of the graph: "100 kbps" and "50 kbps" for 1000.
std::wstring RateScaleTopLabel(DWORD scale);
std::wstring RateScaleMiddleLabel(DWORD scale);

// Where the traces rest with no traffic, in units of the graph's 100: the download trace one
// unit below the upload trace, so that both show when they are equal.
constexpr int kUploadBaseline = 98;
constexpr int kDownloadBaseline = 99;
// The y of a rate: one unit up per `scale` bits per second from the baseline, held inside a
// graph `graphHeight` pixels high (a rate above the full scale lies on the top edge).
int RateToY(ULONG64 bitsPerSecond, DWORD scale, int baseline, int pixelsPerInchY, int graphHeight);

// The graph's place in the dialog's client area: 10 units in from either side, 20 down, 100
// high; the grid's columns are a twelfth of its width.
struct RateGraphLayout {
    RECT graph {};
    int width = 0;
    int height = 0;
    int column = 1;
};
RateGraphLayout LayoutRateGraph(const RECT& client, int pixelsPerInchX, int pixelsPerInchY);

class RateGraph {
public:
    RateGraph() = default;
    ~RateGraph() { Release(); }
    RateGraph(const RateGraph&) = delete;
    RateGraph& operator=(const RateGraph&) = delete;

    // Makes the canvases compatible with the screen context for a graph in the client
    // rectangle, draws the grid and places every slot's points from the history's averages.
    // Whatever was built before is released first. False when a canvas could not be made
    // (nothing is kept then).
    bool Build(HDC screen, const RECT& client, int pixelsPerInchX, int pixelsPerInchY, DWORD scale,
        const RateHistory& history);
    // Gives back the canvases, pens and font; nothing happens when nothing is built.
    void Release();
    bool Built() const { return m_composite.dc != nullptr; }

    // One second: the grid moves a pixel, the newest slot's points take the recent rates, and
    // the traces are drawn again.
    void Tick(const RateHistory& history, const RateAverage& recent);
    // Combines grid, traces and scale labels, and copies the picture to the graph rectangle.
    void Paint(HDC target, const RateHistory& history);

    const RateGraphLayout& Layout() const { return m_layout; }
    DWORD Scale() const { return m_scale; }
    int ScrollOffset() const { return m_scroll; }
    POINT UploadPoint(DWORD slot) const { return m_upload.at(slot); }
    POINT DownloadPoint(DWORD slot) const { return m_download.at(slot); }

private:
    struct Canvas {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ displaced = nullptr;
    };
    static bool MakeCanvas(Canvas& canvas, HDC screen, int width, int height);
    static void ReleaseCanvas(Canvas& canvas);
    void DrawGrid();
    void PlacePoints(DWORD slot, ULONG64 upBps, ULONG64 downBps);
    void DrawTraces(const RateHistory& history);
    void DrawLabels();

    RateGraphLayout m_layout;
    int m_dpiX = 96;
    int m_dpiY = 96;
    int m_plotWidth = 0;
    DWORD m_scale = kRateScaleFirst;
    int m_scroll = 0;
    Canvas m_grid;
    Canvas m_plot;
    Canvas m_composite;
    HPEN m_uploadPen = nullptr;
    HPEN m_downloadPen = nullptr;
    HFONT m_labelFont = nullptr;
    LONG m_labelHeight = 0;
    std::array<POINT, RateHistory::SlotCount> m_upload {};
    std::array<POINT, RateHistory::SlotCount> m_download {};
};
