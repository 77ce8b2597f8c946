#include "metering/RateGraph.h"

#include <algorithm>
#include <iterator>

#include "item/ItemFont.h"

namespace {

struct ScaleStep {
    DWORD scale;
    const wchar_t* top;
    const wchar_t* middle;
};

const ScaleStep kScaleSteps[] = {
    { 500, L"50 kbps", L"25 kbps" },
    { 1000, L"100 kbps", L"50 kbps" },
    { 2000, L"200 kbps", L"100 kbps" },
    { 5000, L"500 kbps", L"250 kbps" },
    { 10000, L"1 Mbps", L"500 kbps" },
    { 20000, L"2 Mbps", L"1 Mbps" },
};

const ScaleStep* FindScale(DWORD scale)
{
    for (const ScaleStep& step : kScaleSteps)
        if (step.scale == scale)
            return &step;
    return nullptr;
}

constexpr int kGridRows = 10;
constexpr int kGridColumns = 12;
constexpr COLORREF kGridColor = RGB(0, 170, 0);
// Combined with MERGEPAINT over the black grid these show inverted: upload red, download yellow.
constexpr COLORREF kUploadColor = RGB(0, 255, 255);
constexpr COLORREF kDownloadColor = RGB(0, 0, 255);
constexpr COLORREF kLabelColor = RGB(255, 255, 255);

void Line(HDC dc, int x1, int y1, int x2, int y2)
{
    POINT points[] = { { x1, y1 }, { x2, y2 } };
    Polyline(dc, points, 2);
}

} // namespace

int ScaleToDpi(int length, int pixelsPerInch)
{
    return (length * pixelsPerInch + 48) / 96;
}

DWORD LargerRateScale(DWORD scale)
{
    for (size_t i = 0; i + 1 < std::size(kScaleSteps); ++i)
        if (kScaleSteps[i].scale == scale)
            return kScaleSteps[i + 1].scale;
    return scale;
}

DWORD SmallerRateScale(DWORD scale)
{
    for (size_t i = 1; i < std::size(kScaleSteps); ++i)
        if (kScaleSteps[i].scale == scale)
            return kScaleSteps[i - 1].scale;
    return scale;
}

std::wstring RateScaleTopLabel(DWORD scale)
{
    const ScaleStep* step = FindScale(scale);
    return step != nullptr ? step->top : L"";
}

std::wstring RateScaleMiddleLabel(DWORD scale)
{
    const ScaleStep* step = FindScale(scale);
    return step != nullptr ? step->middle : L"";
}

int RateToY(ULONG64 bitsPerSecond, DWORD scale, int baseline, int pixelsPerInchY, int graphHeight)
{
    // Divided in 64 bits and compared before narrowing: at 10 Gbit/s the units run past what
    // an int holds, and their low 32 bits could land anywhere in the graph.
    ULONG64 units = bitsPerSecond / std::max<DWORD>(scale, 1);
    int fromTop = units >= static_cast<ULONG64>(baseline) ? 0 : baseline - static_cast<int>(units);
    return std::clamp(ScaleToDpi(fromTop, pixelsPerInchY), 0, std::max(graphHeight - 1, 0));
}

RateGraphLayout LayoutRateGraph(const RECT& client, int pixelsPerInchX, int pixelsPerInchY)
{
    RateGraphLayout layout;
    layout.graph.left = client.left + ScaleToDpi(10, pixelsPerInchX);
    layout.graph.right = std::max(client.right - ScaleToDpi(10, pixelsPerInchX), layout.graph.left + 1);
    layout.graph.top = client.top + ScaleToDpi(20, pixelsPerInchY);
    layout.graph.bottom = layout.graph.top + ScaleToDpi(100, pixelsPerInchY);
    layout.width = layout.graph.right - layout.graph.left;
    layout.height = layout.graph.bottom - layout.graph.top;
    layout.column = std::max(layout.width / kGridColumns, 1);
    return layout;
}

bool RateGraph::MakeCanvas(Canvas& canvas, HDC screen, int width, int height)
{
    canvas.dc = CreateCompatibleDC(screen);
    canvas.bitmap = CreateCompatibleBitmap(screen, width, height);
    if (canvas.dc == nullptr || canvas.bitmap == nullptr)
        return false;
    canvas.displaced = SelectObject(canvas.dc, canvas.bitmap);
    return true;
}

void RateGraph::ReleaseCanvas(Canvas& canvas)
{
    if (canvas.dc != nullptr) {
        if (canvas.displaced != nullptr)
            SelectObject(canvas.dc, canvas.displaced);
        DeleteDC(canvas.dc);
    }
    if (canvas.bitmap != nullptr)
        DeleteObject(canvas.bitmap);
    canvas = Canvas {};
}

void RateGraph::Release()
{
    ReleaseCanvas(m_grid);
    ReleaseCanvas(m_plot);
    ReleaseCanvas(m_composite);
    for (HGDIOBJ object : { static_cast<HGDIOBJ>(m_uploadPen), static_cast<HGDIOBJ>(m_downloadPen),
             static_cast<HGDIOBJ>(m_labelFont) })
        if (object != nullptr)
            DeleteObject(object);
    m_uploadPen = nullptr;
    m_downloadPen = nullptr;
    m_labelFont = nullptr;
}

bool RateGraph::Build(HDC screen, const RECT& client, int pixelsPerInchX, int pixelsPerInchY, DWORD scale,
    const RateHistory& history)
{
    Release();
    m_dpiX = pixelsPerInchX;
    m_dpiY = pixelsPerInchY;
    m_scale = scale;
    m_scroll = 0;
    m_layout = LayoutRateGraph(client, pixelsPerInchX, pixelsPerInchY);
    // Wide enough for every slot: a graph narrower than the ring would otherwise lose the
    // newest samples off the plot's right edge for part of each sweep.
    m_plotWidth = std::max(m_layout.width, ScaleToDpi(RateHistory::SlotCount, m_dpiX));
    if (!MakeCanvas(m_grid, screen, m_layout.width + m_layout.column, m_layout.height)
        || !MakeCanvas(m_plot, screen, m_plotWidth, m_layout.height)
        || !MakeCanvas(m_composite, screen, m_layout.width, m_layout.height)) {
        Release();
        return false;
    }
    m_uploadPen = CreatePen(PS_SOLID, ScaleToDpi(1, m_dpiX), kUploadColor);
    m_downloadPen = CreatePen(PS_SOLID, ScaleToDpi(1, m_dpiX), kDownloadColor);

    m_labelHeight = SmallFontHeight(m_dpiY);
    m_labelFont = CreateSmallFont(m_dpiY);

    DrawGrid();
    for (DWORD slot = 0; slot < RateHistory::SlotCount; ++slot) {
        RateSample average = history.AverageBefore(slot, 5);
        PlacePoints(slot, average.up * 8, average.down * 8);
    }
    return true;
}

void RateGraph::DrawGrid()
{
    int width = m_layout.width + m_layout.column;
    int height = m_layout.height;
    HDC dc = m_grid.dc;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 0, 0, width, height);
    SelectObject(dc, oldBrush);

    HPEN pen = CreatePen(PS_SOLID, 1, kGridColor);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int k = 1; k < kGridRows; ++k) {
        int y = k * height / kGridRows;
        Line(dc, 1, y, width - 1, y);
    }
    for (int u = 1; u <= kGridColumns; ++u) {
        int x = u * m_layout.width / kGridColumns;
        if (x >= 0 && x <= width)
            Line(dc, x, 1, x, height - 1);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void RateGraph::PlacePoints(DWORD slot, ULONG64 upBps, ULONG64 downBps)
{
    int x = ScaleToDpi(static_cast<int>(slot), m_dpiX);
    m_upload[slot] = POINT { x, RateToY(upBps, m_scale, kUploadBaseline, m_dpiY, m_layout.height) };
    m_download[slot] = POINT { x, RateToY(downBps, m_scale, kDownloadBaseline, m_dpiY, m_layout.height) };
}

void RateGraph::Tick(const RateHistory& history, const RateAverage& recent)
{
    if (!Built())
        return;
    if (++m_scroll >= m_layout.column)
        m_scroll = 0;
    PlacePoints(history.WriteSlot(), recent.upBps, recent.downBps);
    DrawTraces(history);
}

void RateGraph::DrawTraces(const RateHistory& history)
{
    HDC dc = m_plot.dc;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 0, 0, m_plotWidth, m_layout.height);
    SelectObject(dc, oldBrush);

    // The newest slot ends the first polyline's span; once the ring has wrapped, the slots after
    // it hold the previous sweep and are drawn as a second polyline.
    int newest = static_cast<int>(history.WriteSlot());
    int count = static_cast<int>(RateHistory::SlotCount);
    for (auto [pen, points] : { std::pair { m_uploadPen, m_upload.data() }, std::pair { m_downloadPen, m_download.data() } }) {
        SelectObject(dc, pen);
        if (newest >= 2)
            Polyline(dc, points, newest);
        if (history.Wrapped() && count - newest >= 2)
            Polyline(dc, points + newest, count - newest);
    }
    SelectObject(dc, oldPen);
}

void RateGraph::DrawLabels()
{
    HDC dc = m_composite.dc;
    HGDIOBJ oldFont = SelectObject(dc, m_labelFont);
    SetTextColor(dc, kLabelColor);
    SetBkMode(dc, TRANSPARENT);
    std::wstring top = RateScaleTopLabel(m_scale);
    RECT topRect { 0, 0, m_layout.width, m_layout.height };
    DrawTextW(dc, top.c_str(), -1, &topRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    std::wstring middle = RateScaleMiddleLabel(m_scale);
    int middleTop = ScaleToDpi(100, m_dpiY) / 2 - ScaleToDpi(12, m_dpiY) - m_labelHeight / 2;
    RECT middleRect { 0, middleTop, m_layout.width, m_layout.height };
    DrawTextW(dc, middle.c_str(), -1, &middleRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void RateGraph::Paint(HDC target, const RateHistory& history)
{
    if (!Built())
        return;
    int width = m_layout.width;
    int height = m_layout.height;
    BitBlt(m_composite.dc, 0, 0, width, height, m_grid.dc, m_scroll, 0, SRCCOPY);

    // The plot's white background leaves the grid as it is under MERGEPAINT.
    int newestX = ScaleToDpi(static_cast<int>(history.WriteSlot()), m_dpiX);
    if (newestX > 0)
        BitBlt(m_composite.dc, width - newestX, 0, newestX, height, m_plot.dc, 0, 0, MERGEPAINT);
    if (history.Wrapped() && newestX < width) {
        int older = width - newestX;
        BitBlt(m_composite.dc, 0, 0, older, height, m_plot.dc, ScaleToDpi(RateHistory::SlotCount, m_dpiX) - older, 0,
            MERGEPAINT);
    }
    DrawLabels();
    BitBlt(target, m_layout.graph.left, m_layout.graph.top, width, height, m_composite.dc, 0, 0, SRCCOPY);
}
