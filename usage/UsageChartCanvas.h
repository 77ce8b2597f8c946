// The off-screen bitmap the usage chart is drawn into once per rendering, and copied from at
// every paint: a memory context, the chart's bitmap selected into it and the bitmap it displaced.
#pragma once

#include "platform/ui/WinGdi.h"
#include "usage/UsageChart.h"

class UsageChartCanvas {
public:
    UsageChartCanvas() = default;
    ~UsageChartCanvas() { Release(); }
    UsageChartCanvas(const UsageChartCanvas&) = delete;
    UsageChartCanvas& operator=(const UsageChartCanvas&) = delete;

    // A new canvas of that size, compatible with the screen context, with the chart drawn in
    // it; the previous one is released first. False when the canvas cannot be made.
    bool Render(HDC screen, int width, int height, const UsageChartData& data, const ChartScale& scale);
    void Release();

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_displaced = nullptr;
    int m_width = 0;
    int m_height = 0;
};
