// Buttons with BS_MULTILINE break their text at blanks onto the lines their height holds; the
// others keep it on one line.
#include <algorithm>

#include "UiTestSupport.h"

using namespace ui_test;

namespace {

class ButtonTextTest : public UiTest {
protected:
    // The first and last rows of the button that hold dark text pixels; {-1, -1} for none.
    std::pair<int, int> InkRows(DWORD style, const wchar_t* text)
    {
        HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 240, 120 });
        HWND button = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 64, 60, top, nullptr,
            TestInstance(), nullptr);
        m_driver.Pump();
        platform::Pixels pixels = platform::CaptureWindow(button);
        std::pair<int, int> rows { -1, -1 };
        // Inside the frame, away from the box or bevel at the edges.
        for (int y = 4; y < pixels.height - 4; ++y) {
            for (int x = 24; x < pixels.width - 4; ++x) {
                COLORREF c = pixels.At(x, y);
                if (GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60) {
                    if (rows.first < 0)
                        rows.first = y;
                    rows.second = y;
                    break;
                }
            }
        }
        DestroyWindow(top);
        return rows;
    }
};

} // namespace

TEST_F(ButtonTextTest, MultiLineButtonsWrapAtBlanksAndOthersDoNot)
{
    for (DWORD kind : { BS_PUSHBUTTON, BS_AUTORADIOBUTTON, BS_AUTOCHECKBOX }) {
        auto [oneTop, oneBottom] = InkRows(kind, L"Wwwww wwwww");
        auto [wrappedTop, wrappedBottom] = InkRows(kind | BS_MULTILINE, L"Wwwww wwwww");
        ASSERT_GE(oneTop, 0) << kind;
        ASSERT_GE(wrappedTop, 0) << kind;
        int oneLine = oneBottom - oneTop + 1;
        // Two lines stand more than one and a half lines tall, around the same middle.
        EXPECT_GT(wrappedBottom - wrappedTop + 1, oneLine * 3 / 2) << kind;
        EXPECT_NEAR((wrappedTop + wrappedBottom) / 2, (oneTop + oneBottom) / 2, 3) << kind;
    }
}
