#include "UiTestSupport.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/WinGdi.h"

using namespace ui_test;

namespace {

class TabTest : public UiTest { };

const wchar_t* kTabs[] = { L"View", L"Adapter", L"Meter", L"Usage", L"Profiles", L"About", L"Settings" };

struct Seen {
    UINT code;
    LRESULT selection;
};
std::vector<Seen> g_seen;
bool g_stay = false;

LRESULT FrameAnswers(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    g_seen.push_back(Seen { header->code, SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0) });
    result = header->code == TCN_SELCHANGING && g_stay ? TRUE : FALSE;
    return true;
}

HWND MakeTabs(HWND frame)
{
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"tabctrl", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_BOTTOM,
        0, 0, 100, 100, frame, nullptr, nullptr, nullptr);
    EXPECT_EQ(SendMessageW(tabs, CCM_SETVERSION, COMCTL32_VERSION, 0), 0);
    for (int i = 0; i < 7; ++i) {
        TCITEMW item {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.iImage = -1;
        item.pszText = const_cast<LPWSTR>(kTabs[i]);
        EXPECT_EQ(SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)), i);
    }
    SetWindowPos(tabs, nullptr, 0, 0, 240, 268, SWP_NOZORDER);
    return tabs;
}

} // namespace

TEST_F(TabTest, TheFirstTabIsSelectedAndTheProgramMovesTheSelectionQuietly)
{
    HWND frame = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 26, 240, 294 });
    g_seen.clear();
    Answers() = FrameAnswers;
    HWND tabs = MakeTabs(frame);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 7);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 5, 0), 0);
    EXPECT_EQ(SendMessageW(tabs, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 5);
    EXPECT_TRUE(g_seen.empty());

    wchar_t text[16];
    TCITEMW item {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 16;
    EXPECT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 4, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, L"Profiles");
}

TEST_F(TabTest, AUsersTapAsksTheParentFirst)
{
    HWND frame = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 26, 240, 294 });
    HWND tabs = MakeTabs(frame);
    g_seen.clear();
    g_stay = false;
    Answers() = FrameAnswers;
    m_driver.ChooseItem(tabs, 3);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[0].code, TCN_SELCHANGING);
    EXPECT_EQ(g_seen[0].selection, 0); // still the old tab while it changes
    EXPECT_EQ(g_seen[1].code, TCN_SELCHANGE);
    EXPECT_EQ(g_seen[1].selection, 3);

    g_seen.clear();
    g_stay = true;
    m_driver.ChooseItem(tabs, 6);
    EXPECT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 3);
    g_seen.clear();
    m_driver.ChooseItem(tabs, 3); // the selected tab: nothing
    EXPECT_TRUE(g_seen.empty());
    Answers() = nullptr;
}

TEST_F(TabTest, TabsAlongTheBottomLeaveTheDisplayAreaAbove)
{
    RegisterTestClass(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HWND frame = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 26, 240, 294 });
    HWND tabs = MakeTabs(frame);
    m_driver.Pump();
    RECT page { 0, 0, 240, 268 };
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page.top, 0);
    EXPECT_EQ(page.left, 0);
    EXPECT_EQ(page.right, 240);
    EXPECT_EQ(page.bottom, 268 - (13 + 8)); // one line of the font and its margins
    SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&page));
    EXPECT_EQ(page.bottom, 268);

    RECT first;
    RECT second;
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)));
    ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    EXPECT_GE(first.top, 268 - 21);
    EXPECT_LE(first.bottom, 268);
    EXPECT_LE(first.right, second.left + 2); // in order, left to right

    platform::Pixels pixels = platform::CaptureWindow(frame);
    auto inked = [&](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < pixels.width; ++x)
                count += pixels.At(x, y) != RGB(255, 255, 255) ? 1 : 0;
        }
        return count;
    };
    EXPECT_GT(inked(268 - 21, 268), 100);
    EXPECT_EQ(inked(0, 268 - 21 - 1), 0);
}
