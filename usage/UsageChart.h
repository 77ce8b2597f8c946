// The usage report's bar chart: value labels on the left, slot labels below, one bar per slot
// with the bytes sent in red and the bytes received stacked on them in blue, and a legend in the
// top right corner. Drawn into any device context, so that the page, the command line and the
// tests draw the very same chart.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/WinGdi.h"

// Device pixels from the layout's units: (n x pixels per logical inch + 48) / 96.
struct ChartScale {
    int dpiX = 96;
    int dpiY = 96;
    int X(int n) const { return (n * dpiX + 48) / 96; }
    int Y(int n) const { return (n * dpiY + 48) / 96; }
};

struct UsageChartData {
    std::vector<ULONG64> sent; // one per slot
    std::vector<ULONG64> received;
    int base = 0; // what the first slot is called: hour 0, day 1, month 1
    int Slots() const { return static_cast<int>(sent.size()); }
};

struct ChartUnit {
    const wchar_t* name;
    ULONG64 divisor;
};

// The largest sum of a slot's sent and received bytes, at least 1.
ULONG64 UsageChartPeak(const UsageChartData& data);
// B, KB, MB or GB by the peak, with the bytes in one of them.
ChartUnit UsageChartUnit(ULONG64 peak);
// Rows of value labels: 9 on a canvas of 160 units or taller, 7 below.
int UsageChartGridRows(int height, const ChartScale& scale);
// The label of one value row: "%.1f-" of the bytes in the unit.
std::wstring UsageChartValueLabel(ULONG64 bytes, ULONG64 divisor);
// Every second slot is labelled, every third from 25 slots on; a month's 31st never is.
int UsageChartLabelStep(int slots);
bool UsageChartSlotLabelled(int slot, int slots);

// Where the parts of a chart of that size go, once the widest value label is measured.
struct UsageChartLayout {
    int width = 0;
    int height = 0;
    int rows = 0;      // value label rows
    int rowHeight = 0; // r
    int x0 = 0;        // left of the plot
    int y0 = 0;        // baseline: top of the slot labels' strip
    int yTop = 0;      // the top of the scale: the centre of the last value label
    std::vector<RECT> valueLabels; // from the baseline's upward
    RECT legend {};
};
UsageChartLayout UsageChartLayoutFor(int width, int height, int labelWidth, const ChartScale& scale);

// The top of a bar part of `bytes` standing on `bottom`, the peak reaching the top of the scale;
// never above the plot, whatever the count.
int UsageChartBarTop(ULONG64 bytes, ULONG64 peak, int bottom, const UsageChartLayout& layout);

// The bars' left and right edges (right excluded), slot by slot.
struct BarSpan {
    int left;
    int right;
};
std::vector<BarSpan> UsageChartBarSpans(int slots, const UsageChartLayout& layout);

// The slot labels' cells, left to right: the slot and where its number is written.
struct SlotLabel {
    int slot;
    RECT rect;
};
std::vector<SlotLabel> UsageChartSlotLabels(int slots, const UsageChartLayout& layout);

// Draws the chart into (0, 0, width, height) of the context. The context's objects and text
// settings are as they were when it returns.
void DrawUsageChart(HDC dc, int width, int height, const UsageChartData& data, const ChartScale& scale);
