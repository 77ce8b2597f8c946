#include "UiTestSupport.h"

#include "platform/ui/WinGdi.h"

using namespace ui_test;

namespace {

class PaintTest : public UiTest { };

RECT g_paintRect;
BOOL g_paintErase;

bool PaintRecordingAnswer(HWND window, UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_PAINT)
        return false;
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    g_paintRect = ps.rcPaint;
    g_paintErase = ps.fErase;
    EndPaint(window, &ps);
    result = 0;
    return true;
}

} // namespace

TEST_F(PaintTest, ANewVisibleWindowIsErasedThenPaintedInFull)
{
    HWND window = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 40, 30 });
    Answers() = PaintRecordingAnswer;
    Log().clear();
    m_driver.Pump();
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_PAINT, WM_ERASEBKGND }));
    EXPECT_EQ(g_paintRect.right, 40);
    EXPECT_EQ(g_paintRect.bottom, 30);
    EXPECT_TRUE(g_paintErase); // the class has no background brush: nothing erased it
    EXPECT_TRUE(platform::LastPaint(window).erased);
}

TEST_F(PaintTest, InvalidationsGatherIntoOnePaintRectangle)
{
    HWND window = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 100, 50 });
    Answers() = PaintRecordingAnswer;
    m_driver.Pump();
    Log().clear();
    RECT strip { 2, 0, 18, 50 };
    RECT text { 28, 0, 200, 50 }; // clipped to the client area
    InvalidateRect(window, &strip, FALSE);
    InvalidateRect(window, &text, FALSE);
    m_driver.Pump();
    EXPECT_EQ(LoggedKinds(window), (std::vector<UINT> { WM_PAINT })); // no erase asked
    EXPECT_EQ(g_paintRect.left, 2);
    EXPECT_EQ(g_paintRect.right, 100);
    EXPECT_FALSE(g_paintErase);
    Log().clear();
    m_driver.Pump();
    EXPECT_TRUE(Log().empty()); // validated by the paint
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceAndHiddenWindowsWait)
{
    HWND window = MakeTopLevel(WS_POPUP, RECT { 0, 0, 20, 20 });
    Answers() = PaintRecordingAnswer;
    m_driver.Pump();
    EXPECT_TRUE(LoggedKinds(window, { WM_PAINT }).empty()); // hidden: no paint
    ShowWindow(window, SW_SHOW);
    EXPECT_TRUE(LoggedKinds(window, { WM_PAINT }).empty()); // showing only invalidates
    UpdateWindow(window);
    EXPECT_EQ(LoggedKinds(window, { WM_PAINT }).size(), 1u);
    Log().clear();
    UpdateWindow(window); // nothing to update
    EXPECT_TRUE(Log().empty());
}

TEST_F(PaintTest, TheDefaultProcedureErasesWithTheClassBrush)
{
    RegisterTestClass(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HWND window = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 12, 8 });
    m_driver.Pump();
    platform::Pixels pixels = platform::CaptureWindow(window);
    ASSERT_EQ(pixels.width, 12);
    EXPECT_EQ(pixels.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(11, 7), RGB(0, 0, 0));

    HDC dc = GetDC(window);
    RECT right { 6, 0, 12, 8 };
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 6, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 12, 0), CLR_INVALID); // outside the client area
    ReleaseDC(window, dc);
    pixels = platform::CaptureWindow(window);
    EXPECT_EQ(pixels.At(6, 3), RGB(255, 255, 255));
}

TEST_F(PaintTest, APaintThatDoesNotValidateIsNotRepeatedForever)
{
    HWND window = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 20, 20 });
    Answers() = [](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = 0;
        return message == WM_PAINT; // "handled" without BeginPaint
    };
    m_driver.Pump();
    EXPECT_EQ(LoggedKinds(window, { WM_PAINT }).size(), 1u);
}
