#include "GalleryCanvas.h"

#include <vector>

#include "platform/device/Device.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"

namespace gallery {

namespace {

int g_dpi = 96;

// n logical pixels at the screen's resolution.
int Scaled(int n)
{
    return (n * g_dpi + 48) / 96;
}

void DrawChart(HDC dc, int left, int top, int width, int height)
{
    // The grid on black, the trace in cyan on white: MERGEPAINT turns the white into nothing
    // and the cyan into red over the black.
    HDC grid = CreateCompatibleDC(dc);
    HBITMAP gridBitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldGrid = SelectObject(grid, gridBitmap);
    RECT all { 0, 0, width, height };
    FillRect(grid, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HPEN green = CreatePen(PS_SOLID, 1, RGB(0, 170, 0));
    HGDIOBJ oldPen = SelectObject(grid, green);
    for (int k = 1; k < 5; ++k) {
        POINT line[2] = { { 0, k * height / 5 }, { width, k * height / 5 } };
        Polyline(grid, line, 2);
    }
    for (int u = 1; u < 8; ++u) {
        POINT line[2] = { { u * width / 8, 0 }, { u * width / 8, height } };
        Polyline(grid, line, 2);
    }
    SelectObject(grid, oldPen);
    DeleteObject(green);

    HDC plot = CreateCompatibleDC(dc);
    HBITMAP plotBitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldPlot = SelectObject(plot, plotBitmap);
    FillRect(plot, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    std::vector<POINT> up;
    std::vector<POINT> down;
    for (int x = 0; x < width; x += Scaled(4)) {
        up.push_back(POINT { x, height / 2 - (x * 7 % (height / 2)) / 2 });
        down.push_back(POINT { x, height - 3 - (x * 5 % (height / 3)) });
    }
    HPEN cyan = CreatePen(PS_SOLID, Scaled(1), RGB(0, 255, 255));
    HPEN blue = CreatePen(PS_SOLID, Scaled(1), RGB(0, 0, 255));
    oldPen = SelectObject(plot, cyan);
    Polyline(plot, up.data(), static_cast<int>(up.size()));
    SelectObject(plot, blue);
    Polyline(plot, down.data(), static_cast<int>(down.size()));
    SelectObject(plot, oldPen);
    DeleteObject(cyan);
    DeleteObject(blue);

    BitBlt(dc, left, top, width, height, grid, 0, 0, SRCCOPY);
    BitBlt(dc, left, top, width, height, plot, 0, 0, MERGEPAINT);

    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT label { left + 2, top + 1, left + width, top + height };
    DrawTextW(dc, L"100 кбит/с", -1, &label, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);

    SelectObject(grid, oldGrid);
    SelectObject(plot, oldPlot);
    DeleteObject(gridBitmap);
    DeleteObject(plotBitmap);
    DeleteDC(grid);
    DeleteDC(plot);
}

void Paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    g_dpi = GetDeviceCaps(dc, LOGPIXELSX);
    RECT client;
    GetClientRect(window, &client);
    int width = client.right;
    int gap = Scaled(4);

    // Shapes: a yellow box outlined black, a grey one without outline, and a polyline.
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    HGDIOBJ oldBrush = SelectObject(dc, yellow);
    Rectangle(dc, gap, gap, gap + Scaled(40), gap + Scaled(24));
    SelectObject(dc, GetStockObject(NULL_PEN));
    HBRUSH grey = CreateSolidBrush(RGB(0xDD, 0xDD, 0xDD));
    SelectObject(dc, grey);
    Rectangle(dc, gap + Scaled(44), gap, gap + Scaled(84), gap + Scaled(24));
    SelectObject(dc, oldBrush);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(yellow);
    DeleteObject(grey);
    HPEN red = CreatePen(PS_SOLID, Scaled(2), RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, red);
    POINT zigzag[] = { { gap + Scaled(90), gap + Scaled(24) }, { gap + Scaled(100), gap },
        { gap + Scaled(110), gap + Scaled(24) }, { gap + Scaled(120), gap }, { gap + Scaled(130), gap + Scaled(24) } };
    Polyline(dc, zigzag, 5);
    SelectObject(dc, oldPen);
    DeleteObject(red);

    // The icon at its own size, and stretched to twice.
    HICON icon = static_cast<HICON>(LoadImageW(reinterpret_cast<HINSTANCE>(GetWindowLongW(window, GWL_HINSTANCE)),
        MAKEINTRESOURCEW(kCanvasIconId), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    int iconSize = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(dc, width - gap - 3 * iconSize, gap, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, width - gap - 2 * iconSize, gap, icon, 2 * iconSize, 2 * iconSize, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);

    // Text: a centred title, a wrapped paragraph and right-aligned figures.
    int top = gap + Scaled(30);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    LOGFONTW bold {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    HFONT boldFont = CreateFontIndirectW(&bold);
    HGDIOBJ oldFont = SelectObject(dc, boldFont);
    RECT title { 0, top, width, top + Scaled(16) };
    DrawTextW(dc, L"Монитор трафика", -1, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    DeleteObject(boldFont);
    top += Scaled(18);
    RECT paragraph { gap, top, width - gap, top };
    const wchar_t* text = L"Показания счетчика: передано 1.5 KB, принято 20.3 MB. Последний сброс 3/7/2006 14:05:09.";
    DrawTextW(dc, text, -1, &paragraph, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    paragraph.right = width - gap;
    DrawTextW(dc, text, -1, &paragraph, DT_WORDBREAK | DT_NOPREFIX);
    top = paragraph.bottom + Scaled(4);
    const wchar_t* rows[][2] = { { L"Передано:", L"1.5 KB" }, { L"Принято:", L"20.3 MB" }, { L"Всего:", L"20.3 MB" } };
    for (const auto& row : rows) {
        RECT label { gap, top, width / 2, top + Scaled(14) };
        RECT value { width / 2, top, width - gap, top + Scaled(14) };
        DrawTextW(dc, row[0], -1, &label, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
        SetTextColor(dc, RGB(0, 0, 255));
        DrawTextW(dc, row[1], -1, &value, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
        SetTextColor(dc, RGB(0, 0, 0));
        top += Scaled(14);
    }

    // The strip chart, and a stretched copy of its corner.
    top += Scaled(4);
    int chartHeight = client.bottom - top - gap;
    if (chartHeight > Scaled(20)) {
        DrawChart(dc, gap, top, width - 2 * gap - Scaled(40), chartHeight);
        StretchBlt(dc, width - gap - Scaled(36), top, Scaled(36), Scaled(36), dc, gap, top, Scaled(18), Scaled(18),
            SRCCOPY);
    }
    EndPaint(window, &ps);
}

LRESULT CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        Paint(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<uint32_t> IconPixels(int size)
{
    // A green disc with a dark rim on a transparent square.
    std::vector<uint32_t> pixels(static_cast<size_t>(size * size), 0);
    double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double dx = x - centre;
            double dy = y - centre;
            double r = dx * dx + dy * dy;
            double outer = (size / 2.0) * (size / 2.0);
            double inner = (size / 2.0 - size / 8.0) * (size / 2.0 - size / 8.0);
            uint32_t& p = pixels[static_cast<size_t>(y * size + x)];
            if (r <= inner)
                p = 0xFF20A040u;
            else if (r <= outer)
                p = 0xFF105020u;
        }
    }
    return pixels;
}

} // namespace

bool RegisterCanvas(HINSTANCE instance)
{
    platform::ModuleResources resources;
    for (int size : { 16, 32 }) {
        std::vector<uint32_t> pixels = IconPixels(size);
        resources.AddIcon(kCanvasIconId, size, size, pixels.data());
    }
    platform::RegisterModuleResources(instance, std::move(resources));
    WNDCLASSW wc {};
    wc.lpfnWndProc = CanvasProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"GalleryCanvas";
    return RegisterClassW(&wc) != 0;
}

HWND CreateCanvas(HINSTANCE instance, int x, int y, int width, int height)
{
    return CreateWindowExW(0, L"GalleryCanvas", L"Холст", WS_POPUP | WS_VISIBLE | WS_BORDER, x, y, width, height,
        nullptr, nullptr, instance, nullptr);
}

} // namespace gallery
