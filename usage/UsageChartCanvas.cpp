#include "usage/UsageChartCanvas.h"

bool UsageChartCanvas::Render(HDC screen, int width, int height, const UsageChartData& data, const ChartScale& scale)
{
    Release();
    if (width <= 0 || height <= 0)
        return false;
    m_bitmap = CreateCompatibleBitmap(screen, width, height);
    m_dc = CreateCompatibleDC(screen);
    if (m_bitmap == nullptr || m_dc == nullptr) {
        Release();
        return false;
    }
    m_displaced = SelectObject(m_dc, m_bitmap);
    m_width = width;
    m_height = height;
    DrawUsageChart(m_dc, width, height, data, scale);
    return true;
}

void UsageChartCanvas::Release()
{
    if (m_dc != nullptr && m_displaced != nullptr)
        SelectObject(m_dc, m_displaced);
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    if (m_dc != nullptr)
        DeleteDC(m_dc);
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_displaced = nullptr;
    m_width = 0;
    m_height = 0;
}
