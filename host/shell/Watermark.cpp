#include "host/shell/Watermark.h"

#include "host/shell/ShellMetrics.h"
#include "platform/ui/WinGdi.h"

namespace host {

namespace {

// A pale blue sky fading to white, with a band of slightly deeper blue under the top items.
constexpr COLORREF kTop = RGB(0xC8, 0xDC, 0xF4);
constexpr COLORREF kBottom = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBand = RGB(0xB4, 0xCC, 0xEC);

BYTE Mix(BYTE from, BYTE to, int step, int steps)
{
    return static_cast<BYTE>(from + (static_cast<int>(to) - from) * step / (steps > 0 ? steps : 1));
}

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps)
{
    return RGB(Mix(GetRValue(from), GetRValue(to), step, steps), Mix(GetGValue(from), GetGValue(to), step, steps),
        Mix(GetBValue(from), GetBValue(to), step, steps));
}

void FillRow(HDC dc, int y, int width, int height, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    RECT row { 0, y, width, y + height };
    FillRect(dc, &row, brush);
    DeleteObject(brush);
}

} // namespace

Watermark::~Watermark()
{
    Release();
}

void Watermark::Release()
{
    if (m_dc != nullptr) {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    m_dc = nullptr;
    m_bitmap = nullptr;
    m_previous = nullptr;
}

void Watermark::Render(int width, int height)
{
    Release();
    m_width = width;
    m_height = height;
    HDC screen = GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    m_bitmap = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
    ReleaseDC(nullptr, screen);
    m_previous = SelectObject(m_dc, m_bitmap);

    // Rows of a few pixels each: the steps of the gradient stay invisible and the picture is
    // drawn with a few dozen fills.
    int rowHeight = Scaled(4);
    for (int y = 0; y < height; y += rowHeight)
        FillRow(m_dc, y, width, rowHeight, Blend(kTop, kBottom, y, height));
    FillRow(m_dc, 0, width, Scaled(1), kBand);
}

void Watermark::Paint(HDC target, const RECT& at, POINT areaOrigin) const
{
    if (m_dc == nullptr)
        return;
    BitBlt(target, at.left, at.top, at.right - at.left, at.bottom - at.top, m_dc, areaOrigin.x, areaOrigin.y, SRCCOPY);
}

} // namespace host
