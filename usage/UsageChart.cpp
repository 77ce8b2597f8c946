#include "usage/UsageChart.h"

#include <algorithm>

#include "item/ItemFont.h"
#include "platform/text/Format.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kSlotStrip = RGB(255, 255, 0);
constexpr COLORREF kPlot = RGB(0xDD, 0xDD, 0xDD);
constexpr COLORREF kValueStrip = RGB(0xEE, 0xEE, 0xEE);
constexpr COLORREF kGridLine = RGB(0xCC, 0xCC, 0xCC);
constexpr COLORREF kSent = RGB(255, 0, 0);
constexpr COLORREF kReceived = RGB(0, 0, 255);

constexpr ULONG64 kKilo = 1024;
constexpr ULONG64 kMega = 1024 * kKilo;
constexpr ULONG64 kGiga = 1024 * kMega;

// The objects a drawing selected, put back and deleted however it ends.
class Selection {
public:
    explicit Selection(HDC dc)
        : m_dc(dc)
        , m_pen(SelectObject(dc, GetStockObject(BLACK_PEN)))
        , m_brush(SelectObject(dc, GetStockObject(WHITE_BRUSH)))
        , m_font(SelectObject(dc, GetStockObject(SYSTEM_FONT)))
        , m_textColor(GetTextColor(dc))
        , m_bkMode(GetBkMode(dc))
    {
    }
    ~Selection()
    {
        SelectObject(m_dc, m_pen);
        SelectObject(m_dc, m_brush);
        SelectObject(m_dc, m_font);
        SetTextColor(m_dc, m_textColor);
        SetBkMode(m_dc, m_bkMode);
        for (HGDIOBJ object : m_created)
            DeleteObject(object);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    HGDIOBJ Own(HGDIOBJ object)
    {
        m_created.push_back(object);
        return object;
    }

private:
    HDC m_dc;
    HGDIOBJ m_pen;
    HGDIOBJ m_brush;
    HGDIOBJ m_font;
    COLORREF m_textColor;
    int m_bkMode;
    std::vector<HGDIOBJ> m_created;
};

void Box(HDC dc, HGDIOBJ brush, int left, int top, int right, int bottom)
{
    SelectObject(dc, brush);
    Rectangle(dc, left, top, right, bottom);
}

// A filled area [left, right) x [top, bottom): without a pen the platform fills one pixel less.
void Fill(HDC dc, HGDIOBJ brush, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    SelectObject(dc, brush);
    Rectangle(dc, left, top, right + 1, bottom + 1);
}

void Text(HDC dc, const std::wstring& text, RECT rect, UINT format)
{
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

ULONG64 UsageChartPeak(const UsageChartData& data)
{
    ULONG64 peak = 1;
    for (int i = 0; i < data.Slots(); ++i) {
        ULONG64 received = static_cast<size_t>(i) < data.received.size() ? data.received[static_cast<size_t>(i)] : 0;
        peak = std::max(peak, data.sent[static_cast<size_t>(i)] + received);
    }
    return peak;
}

ChartUnit UsageChartUnit(ULONG64 peak)
{
    if (peak < kKilo)
        return { L"B", 1 };
    if (peak < kMega)
        return { L"KB", kKilo };
    if (peak < kGiga)
        return { L"MB", kMega };
    return { L"GB", kGiga };
}

int UsageChartGridRows(int height, const ChartScale& scale)
{
    return height >= scale.Y(160) ? 9 : 7;
}

std::wstring UsageChartValueLabel(ULONG64 bytes, ULONG64 divisor)
{
    return Fmt(L"%.1f-", static_cast<double>(bytes) / static_cast<double>(divisor));
}

int UsageChartLabelStep(int slots)
{
    return slots >= 25 ? 3 : 2;
}

bool UsageChartSlotLabelled(int slot, int slots)
{
    return slot % UsageChartLabelStep(slots) == 0 && !(slots == 31 && slot == 30);
}

UsageChartLayout UsageChartLayoutFor(int width, int height, int labelWidth, const ChartScale& scale)
{
    UsageChartLayout layout;
    layout.width = width;
    layout.height = height;
    layout.rows = UsageChartGridRows(height, scale);
    layout.rowHeight = height / (layout.rows + 2);
    layout.x0 = labelWidth + 2;
    layout.y0 = height - height / 10;
    const int r = layout.rowHeight;
    const int h = r / 2;
    RECT label { 0, layout.y0 - h, layout.x0, layout.y0 + h };
    for (int k = 0; k < layout.rows; ++k) {
        if (k > 0)
            label = RECT { 0, label.top - r, layout.x0, label.top };
        layout.valueLabels.push_back(label);
    }
    layout.yTop = (label.top + label.bottom) / 2;
    const int legendRight = width - scale.X(10);
    layout.legend = RECT { legendRight - scale.X(50), scale.Y(2), legendRight, scale.Y(30) };
    return layout;
}

int UsageChartBarTop(ULONG64 bytes, ULONG64 peak, int bottom, const UsageChartLayout& layout)
{
    double part = static_cast<double>(bytes) / static_cast<double>(std::max<ULONG64>(peak, 1))
        * static_cast<double>(layout.y0 - layout.yTop);
    // Inside the plot's frame: a part above the scale stops at its top edge.
    double top = std::max(static_cast<double>(bottom) - part, 1.0);
    return std::min(static_cast<int>(top), bottom);
}

std::vector<BarSpan> UsageChartBarSpans(int slots, const UsageChartLayout& layout)
{
    std::vector<BarSpan> spans;
    if (slots <= 0)
        return spans;
    const double advance = static_cast<double>(layout.width - layout.x0) / slots;
    double x = layout.x0;
    int previous = layout.x0;
    for (int i = 0; i < slots; ++i) {
        x += advance;
        int right = static_cast<int>(x);
        spans.push_back(BarSpan { previous + 1, right });
        previous = right;
    }
    return spans;
}

// Cells of equal width from the plot's left; as many cells as labels where the step leaves
// one over (28 and 29 days), so that the last stays on the canvas.
std::vector<SlotLabel> UsageChartSlotLabels(int slots, const UsageChartLayout& layout)
{
    std::vector<SlotLabel> labels;
    if (slots <= 0)
        return labels;
    for (int i = 0; i < slots; ++i)
        if (UsageChartSlotLabelled(i, slots))
            labels.push_back(SlotLabel { i, RECT {} });
    const int cells = std::max(slots / UsageChartLabelStep(slots), static_cast<int>(labels.size()));
    const int cellWidth = (layout.width - layout.x0 - 2) / cells;
    for (size_t cell = 0; cell < labels.size(); ++cell) {
        int left = layout.x0 + 2 + static_cast<int>(cell) * cellWidth;
        labels[cell].rect = RECT { left, layout.y0, left + cellWidth, layout.height };
    }
    return labels;
}

void DrawUsageChart(HDC dc, int width, int height, const UsageChartData& data, const ChartScale& scale)
{
    Selection selection(dc);
    const ULONG64 peak = UsageChartPeak(data);
    const ChartUnit unit = UsageChartUnit(peak);

    LOGFONTW font {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    font.lfWeight = FW_NORMAL;
    font.lfHeight = SmallFontHeight(scale.dpiY);
    font.lfQuality = CLEARTYPE_QUALITY;
    SelectObject(dc, selection.Own(CreateFontIndirectW(&font)));
    SetTextColor(dc, kBlack);
    SetBkMode(dc, TRANSPARENT);

    RECT measure {};
    std::wstring widest = UsageChartValueLabel(peak, unit.divisor);
    DrawTextW(dc, widest.c_str(), static_cast<int>(widest.size()), &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const UsageChartLayout layout = UsageChartLayoutFor(width, height, measure.right, scale);
    const int x0 = layout.x0;
    const int y0 = layout.y0;

    HGDIOBJ blackPen = GetStockObject(BLACK_PEN);
    HGDIOBJ nullPen = GetStockObject(NULL_PEN);
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    SelectObject(dc, blackPen);
    Box(dc, white, 0, 0, width, height);
    Box(dc, selection.Own(CreateSolidBrush(kSlotStrip)), x0, y0, width, height);
    Box(dc, selection.Own(CreateSolidBrush(kPlot)), x0, 0, width, y0);
    Box(dc, selection.Own(CreateSolidBrush(kValueStrip)), 0, 0, x0, height);

    // Value labels and the grid lines through them.
    const ULONG64 step = peak / static_cast<ULONG64>(layout.rows - 1);
    const int h = layout.rowHeight / 2;
    SelectObject(dc, selection.Own(CreatePen(PS_SOLID, 1, kGridLine)));
    for (int k = 0; k < layout.rows; ++k) {
        const RECT& label = layout.valueLabels[static_cast<size_t>(k)];
        Text(dc, UsageChartValueLabel(static_cast<ULONG64>(k) * step, unit.divisor), label, DT_RIGHT | DT_VCENTER);
        if (k > 0) {
            int y = label.top + h + 1;
            POINT line[] = { { measure.right + 3, y }, { width - 1, y } };
            Polyline(dc, line, 2);
        }
    }
    Text(dc, unit.name, RECT { 0, 0, x0, layout.valueLabels.back().top }, DT_CENTER | DT_VCENTER);

    const int slots = data.Slots();
    for (const SlotLabel& label : UsageChartSlotLabels(slots, layout))
        Text(dc, Fmt(L"%d", label.slot + data.base), label.rect, DT_LEFT | DT_VCENTER);

    // Bars: sent from the baseline up, received stacked on it.
    SelectObject(dc, nullPen);
    HGDIOBJ red = selection.Own(CreateSolidBrush(kSent));
    HGDIOBJ blue = selection.Own(CreateSolidBrush(kReceived));
    std::vector<BarSpan> spans = UsageChartBarSpans(slots, layout);
    for (int i = 0; i < slots; ++i) {
        const BarSpan& bar = spans[static_cast<size_t>(i)];
        ULONG64 received = static_cast<size_t>(i) < data.received.size() ? data.received[static_cast<size_t>(i)] : 0;
        int sentTop = UsageChartBarTop(data.sent[static_cast<size_t>(i)], peak, y0 - 1, layout);
        Fill(dc, red, bar.left, sentTop, bar.right, y0 - 1);
        int receivedTop = UsageChartBarTop(received, peak, sentTop, layout);
        Fill(dc, blue, bar.left, receivedTop, bar.right, sentTop);
    }

    // Legend.
    const RECT& legend = layout.legend;
    const int middle = legend.top + (legend.bottom - legend.top) / 2;
    SelectObject(dc, blackPen);
    Box(dc, GetStockObject(BLACK_BRUSH), legend.left + 1, legend.top + 1, legend.right + 1, legend.bottom + 1);
    Box(dc, white, legend.left, legend.top, legend.right, legend.bottom);
    const int textLeft = legend.left + scale.X(20);
    Text(dc, L"Xmit", RECT { textLeft, legend.top, legend.right, middle }, DT_LEFT | DT_VCENTER);
    Text(dc, L"Rcv", RECT { textLeft, middle, legend.right, legend.bottom }, DT_LEFT | DT_VCENTER);
    SelectObject(dc, nullPen);
    const int swatchLeft = legend.left + scale.X(5);
    const int swatchRight = textLeft - scale.X(5);
    SelectObject(dc, red);
    Rectangle(dc, swatchLeft, legend.top + scale.Y(5), swatchRight, middle - scale.Y(5));
    SelectObject(dc, blue);
    Rectangle(dc, swatchLeft, middle + scale.Y(5), swatchRight, legend.bottom - scale.Y(5));
}
