#include "UiTestSupport.h"

#include "platform/core/LastError.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"

using namespace ui_test;

namespace {

class GdiTest : public UiTest {
protected:
    // A memory context with a bitmap of the given size, filled with the colour.
    HDC MakeCanvas(int width, int height, COLORREF fill)
    {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_previous.push_back(SelectObject(dc, bitmap));
        m_bitmaps.push_back(bitmap);
        m_contexts.push_back(dc);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all { 0, 0, width, height };
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        return dc;
    }

    ~GdiTest() override
    {
        for (size_t i = 0; i < m_contexts.size(); ++i) {
            SelectObject(m_contexts[i], m_previous[i]);
            DeleteDC(m_contexts[i]);
            DeleteObject(m_bitmaps[i]);
        }
    }

    std::vector<HDC> m_contexts;
    std::vector<HGDIOBJ> m_previous;
    std::vector<HBITMAP> m_bitmaps;
};

const COLORREF kGrey = RGB(128, 128, 128);

} // namespace

TEST_F(GdiTest, RectanglesExcludeTheirRightAndBottomEdges)
{
    HDC dc = MakeCanvas(10, 10, kGrey);
    RECT fill { 1, 1, 4, 3 };
    FillRect(dc, &fill, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 4, 1), kGrey);
    EXPECT_EQ(GetPixel(dc, 1, 3), kGrey);

    HDC outlined = MakeCanvas(10, 10, kGrey);
    SelectObject(outlined, GetStockObject(BLACK_PEN));
    SelectObject(outlined, GetStockObject(WHITE_BRUSH));
    Rectangle(outlined, 1, 1, 6, 5);
    EXPECT_EQ(GetPixel(outlined, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(outlined, 5, 4), RGB(0, 0, 0)); // the last column and row inside
    EXPECT_EQ(GetPixel(outlined, 3, 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(outlined, 6, 2), kGrey);
    EXPECT_EQ(GetPixel(outlined, 3, 5), kGrey);

    // Without a pen the platform fills one pixel less each way.
    HDC filled = MakeCanvas(10, 10, kGrey);
    SelectObject(filled, GetStockObject(NULL_PEN));
    SelectObject(filled, GetStockObject(BLACK_BRUSH));
    Rectangle(filled, 1, 1, 6, 5);
    EXPECT_EQ(GetPixel(filled, 4, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(filled, 5, 3), kGrey);
    EXPECT_EQ(GetPixel(filled, 4, 4), kGrey);
}

TEST_F(GdiTest, OnePixelLinesLeaveTheirEndPointOutAndSegmentsMeetOnce)
{
    HDC canvas = MakeCanvas(8, 8, kGrey);
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(canvas, black);
    POINT across[2] = { { 1, 1 }, { 6, 1 } };
    EXPECT_TRUE(Polyline(canvas, across, 2));
    EXPECT_EQ(GetPixel(canvas, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 5, 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(canvas, 6, 1), kGrey);

    // Down a diagonal and back up: one pixel per column, the joint once, the last point left out.
    POINT vee[3] = { { 1, 3 }, { 3, 5 }, { 7, 3 } };
    EXPECT_TRUE(Polyline(canvas, vee, 3));
    for (int x = 1; x < 7; ++x) {
        int inColumn = 0;
        for (int y = 2; y < 8; ++y)
            inColumn += GetPixel(canvas, x, y) == RGB(0, 0, 0) ? 1 : 0;
        EXPECT_EQ(inColumn, 1) << x;
    }
    for (POINT on : { POINT { 1, 3 }, POINT { 2, 4 }, POINT { 3, 5 }, POINT { 5, 4 } })
        EXPECT_EQ(GetPixel(canvas, on.x, on.y), RGB(0, 0, 0)) << on.x << "," << on.y;
    for (POINT off : { POINT { 7, 3 }, POINT { 2, 3 }, POINT { 3, 4 } })
        EXPECT_EQ(GetPixel(canvas, off.x, off.y), kGrey) << off.x << "," << off.y;
    SelectObject(canvas, oldPen);
    DeleteObject(black);
}

TEST_F(GdiTest, MergePaintTurnsACyanTraceRedOverTheBlackGridAndWhiteLeavesTheGrid)
{
    HDC grid = MakeCanvas(6, 2, RGB(0, 0, 0));
    SetPixel(grid, 2, 0, RGB(0, 170, 0));
    SetPixel(grid, 2, 1, RGB(0, 170, 0));
    HDC plot = MakeCanvas(6, 2, RGB(255, 255, 255));
    SetPixel(plot, 0, 0, RGB(0, 255, 255)); // upload trace
    SetPixel(plot, 1, 0, RGB(0, 0, 255));   // download trace
    SetPixel(plot, 2, 1, RGB(0, 255, 255)); // a trace over a grid line

    EXPECT_TRUE(BitBlt(grid, 0, 0, 6, 2, plot, 0, 0, MERGEPAINT));
    EXPECT_EQ(GetPixel(grid, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(grid, 1, 0), RGB(255, 255, 0));
    EXPECT_EQ(GetPixel(grid, 3, 0), RGB(0, 0, 0));     // white over black: still black
    EXPECT_EQ(GetPixel(grid, 2, 0), RGB(0, 170, 0));   // white over the grid line: the grid
    EXPECT_EQ(GetPixel(grid, 2, 1), RGB(255, 170, 0)); // NOT cyan OR green
}

TEST_F(GdiTest, BlocksCopyAndStretchWithinTheClip)
{
    HDC source = MakeCanvas(2, 2, RGB(0, 0, 255));
    SetPixel(source, 1, 1, RGB(255, 0, 0));
    HDC target = MakeCanvas(6, 6, kGrey);
    EXPECT_TRUE(StretchBlt(target, 1, 1, 4, 4, source, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(GetPixel(target, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(target, 2, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(target, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 4, 4), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 5, 5), kGrey);
    EXPECT_TRUE(BitBlt(target, 5, 0, 5, 5, source, 1, 1, SRCCOPY)); // runs off both images
    EXPECT_EQ(GetPixel(target, 5, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 5, 1), kGrey); // outside the source: left alone
    SetLastError(0);
    EXPECT_FALSE(BitBlt(target, 0, 0, 1, 1, source, 0, 0, 0x12345678));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A part of a larger bitmap, as the Today screen's watermark is blitted under an item: read
// where it is, up to its last row and column; and a block moved within one image, where the
// rows read must be those from before the move.
TEST_F(GdiTest, BlocksComeFromTheirPlaceInALargerSourceAndFromTheImageBeforeAnOverlappingMove)
{
    HDC source = MakeCanvas(7, 5, kGrey);
    SetPixel(source, 4, 3, RGB(10, 20, 30));
    SetPixel(source, 5, 3, RGB(40, 50, 60));
    SetPixel(source, 6, 4, RGB(70, 80, 90));
    HDC target = MakeCanvas(6, 4, RGB(255, 255, 255));
    EXPECT_TRUE(BitBlt(target, 1, 2, 3, 2, source, 4, 3, SRCCOPY));
    EXPECT_EQ(GetPixel(target, 1, 2), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(target, 2, 2), RGB(40, 50, 60));
    EXPECT_EQ(GetPixel(target, 3, 3), RGB(70, 80, 90));
    EXPECT_EQ(GetPixel(target, 0, 2), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(target, 4, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(target, 1, 1), RGB(255, 255, 255));

    HDC strip = MakeCanvas(5, 1, kGrey);
    for (int x = 0; x < 5; ++x)
        SetPixel(strip, x, 0, RGB(x * 40 + 10, 0, 200 - x * 30));
    EXPECT_TRUE(BitBlt(strip, 1, 0, 4, 1, strip, 0, 0, SRCCOPY)); // to the right, over itself
    EXPECT_EQ(GetPixel(strip, 0, 0), RGB(10, 0, 200));
    EXPECT_EQ(GetPixel(strip, 1, 0), RGB(10, 0, 200));
    EXPECT_EQ(GetPixel(strip, 2, 0), RGB(50, 0, 170));
    EXPECT_EQ(GetPixel(strip, 4, 0), RGB(130, 0, 110));
    EXPECT_TRUE(BitBlt(strip, 0, 0, 3, 1, strip, 2, 0, SRCCOPY)); // to the left
    EXPECT_EQ(GetPixel(strip, 0, 0), RGB(50, 0, 170));
    EXPECT_EQ(GetPixel(strip, 2, 0), RGB(130, 0, 110));
    EXPECT_EQ(GetPixel(strip, 3, 0), RGB(90, 0, 140));
}

TEST_F(GdiTest, SelectedObjectsOutliveDeletionUntilDeselected)
{
    HDC dc = MakeCanvas(4, 4, kGrey);
    EXPECT_FALSE(DeleteObject(m_bitmaps.back())); // a selected bitmap cannot go
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(dc, brush);
    EXPECT_TRUE(DeleteObject(brush));
    LOGBRUSH described {};
    EXPECT_EQ(GetObjectW(brush, sizeof described, &described), static_cast<int>(sizeof described));
    EXPECT_EQ(described.lbColor, RGB(1, 2, 3));
    SelectObject(dc, old);
    EXPECT_EQ(GetObjectW(brush, sizeof described, &described), 0); // gone once deselected
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));       // stock: a harmless no-op
    EXPECT_NE(GetObjectW(GetStockObject(WHITE_BRUSH), sizeof described, &described), 0);
}

TEST_F(GdiTest, TheSystemFontIsEightPointDejaVuSansAtTheDeviceResolution)
{
    LOGFONTW font {};
    EXPECT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(LOGFONTW) - 1, &font), 0);
    ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_STREQ(font.lfFaceName, L"DejaVu Sans");
    platform::SetCurrentDevice(platform::DeviceProfile::Vga());
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -21);
}

TEST_F(GdiTest, TextExtentsAndMetricsAgree)
{
    HDC dc = MakeCanvas(100, 40, kGrey);
    SIZE size {};
    int fit = -1;
    int dx[4] = { -1, -1, -1, -1 };
    ASSERT_TRUE(GetTextExtentExPointW(dc, L"XXXX", 4, 20, &fit, dx, &size));
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    EXPECT_EQ(size.cy, metrics.tmHeight);
    EXPECT_EQ(size.cx, dx[3]);
    EXPECT_LT(dx[0], dx[1]);
    EXPECT_EQ(dx[1], 2 * dx[0]); // no kerning
    EXPECT_EQ(fit, 20 / dx[0]);
    // The metrics are fixed by the font and the rendering policy, the same on every machine.
    EXPECT_EQ(metrics.tmHeight, 13);
    EXPECT_EQ(size.cx, 32);

    LOGFONTW bold {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof bold, &bold);
    bold.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&bold);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE boldSize {};
    GetTextExtentPoint32W(dc, L"Meter Download", 14, &boldSize);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    SIZE regularSize {};
    GetTextExtentPoint32W(dc, L"Meter Download", 14, &regularSize);
    EXPECT_GT(boldSize.cx, regularSize.cx);
    SelectObject(dc, old);
    DeleteObject(font);
}

TEST_F(GdiTest, DrawTextReturnsHeightsAndMeasuresWithCalcRect)
{
    HDC dc = MakeCanvas(200, 100, RGB(255, 255, 255));
    TEXTMETRICW metrics {};
    GetTextMetricsW(dc, &metrics);
    int line = metrics.tmHeight;

    RECT rect { 10, 10, 190, 90 };
    EXPECT_EQ(DrawTextW(dc, L"IP Address: 10.0.0.1", -1, &rect, 0), line);
    EXPECT_EQ(DrawTextW(dc, L"Meter Upload: 1 KB\nMeter Download: 2 KB", -1, &rect, 0), 2 * line);
    // Centred on one line: the offset from the top to the bottom of the text.
    EXPECT_EQ(DrawTextW(dc, L"No connected interfaces", -1, &rect, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER),
        10 + (80 - line) / 2 + line - 10);

    RECT measure { 0, 0, 60, 0 };
    HDC untouched = MakeCanvas(10, 10, kGrey);
    int height = DrawTextW(untouched, L"one two three four", -1, &measure, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_GT(height, line); // wrapped to several lines
    EXPECT_EQ(height % line, 0);
    EXPECT_EQ(measure.bottom, height);
    EXPECT_LE(measure.right, 60);
    EXPECT_EQ(GetPixel(untouched, 0, 0), kGrey); // measuring draws nothing

    RECT single { 0, 0, 0, 0 };
    SIZE extent {};
    GetTextExtentPoint32W(dc, L"a&b", 3, &extent);
    DrawTextW(dc, L"a&&b", -1, &single, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(single.right, extent.cx); // "&&" draws one "&"
    DrawTextW(dc, L"a&&b", -1, &single, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_GT(single.right, extent.cx);
}

TEST_F(GdiTest, DrawTextAlignsAndClipsToItsRectangle)
{
    HDC dc = MakeCanvas(120, 20, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT rect { 0, 0, 100, 20 };
    DrawTextW(dc, L"IIII", -1, &rect, DT_RIGHT | DT_SINGLELINE);
    bool inkRight = false;
    bool inkLeft = false;
    bool inkOutside = false;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (GetPixel(dc, x, y) == RGB(255, 255, 255))
                continue;
            inkRight |= x >= 80 && x < 100;
            inkLeft |= x < 50;
            inkOutside |= x >= 100;
        }
    }
    EXPECT_TRUE(inkRight);
    EXPECT_FALSE(inkLeft);
    EXPECT_FALSE(inkOutside);
}

TEST_F(GdiTest, APaintRecordsItsTextsAndIconsAndIconsComeFromTheModule)
{
    HINSTANCE module = TestInstance();
    platform::ModuleResources resources;
    std::vector<uint32_t> red16(16 * 16, 0xFFFF0000u);
    std::vector<uint32_t> blue32(32 * 32, 0xFF0000FFu);
    resources.AddIcon(103, 16, 16, red16.data());
    resources.AddIcon(103, 32, 32, blue32.data());
    resources.AddString(1, L"Velmora");
    platform::RegisterModuleResources(module, std::move(resources));

    HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(103), IMAGE_ICON, 16, 16, 0));
    HICON scaled = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(103), IMAGE_ICON, 24, 24, 0));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(scaled, nullptr);
    SetLastError(0);
    EXPECT_EQ(LoadImageW(module, MAKEINTRESOURCEW(104), IMAGE_ICON, 16, 16, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    wchar_t name[4];
    EXPECT_EQ(LoadStringW(module, 1, name, 4), 3);
    EXPECT_STREQ(name, L"Vel");

    HWND window = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 100, 40 });
    Answers() = [&](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        DrawIconEx(dc, 2, 1, small, 0, 0, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc, 40, 1, scaled, 0, 0, 0, nullptr, DI_NORMAL);
        RECT text { 28, 0, 100, 40 };
        SetTextColor(dc, RGB(0, 0, 255));
        DrawTextW(dc, L"Mask: 255.0.0.0", -1, &text, DT_NOPREFIX);
        EndPaint(hwnd, &ps);
        result = 0;
        return true;
    };
    m_driver.Pump();
    platform::PaintRecord paint = platform::LastPaint(window);
    ASSERT_EQ(paint.icons.size(), 2u);
    EXPECT_EQ(paint.icons[0].resourceId, 103);
    EXPECT_EQ(paint.icons[0].x, 2);
    EXPECT_EQ(paint.icons[0].width, 16);
    EXPECT_EQ(paint.icons[1].width, 24);
    ASSERT_EQ(paint.texts.size(), 1u);
    EXPECT_EQ(paint.texts[0].text, L"Mask: 255.0.0.0");
    EXPECT_EQ(paint.texts[0].rect.left, 28);
    EXPECT_EQ(paint.texts[0].flags, static_cast<UINT>(DT_NOPREFIX));
    EXPECT_EQ(paint.texts[0].color, RGB(0, 0, 255));
    platform::Pixels pixels = platform::CaptureWindow(window);
    EXPECT_EQ(pixels.At(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(17, 16), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(41, 20), RGB(0, 0, 255)); // scaled down from the 32-pixel image
    EXPECT_EQ(pixels.At(41, 2), RGB(255, 255, 255)); // the opaque text background drawn after it

    DestroyIcon(small);
    DestroyIcon(scaled);
    platform::UnregisterModuleResources(module);
}
