#include "UiTestSupport.h"

#include "platform/core/LastError.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/wm/UiDriver.h"

using namespace ui_test;

namespace {

class CursorTest : public UiTest {
protected:
    ~CursorTest() override { SetCursor(nullptr); }
};

constexpr UINT kRender = WM_USER + 1;

// A window whose long work shows the wait cursor, the way the pages do it.
LRESULT RenderingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kRender)
        return DefWindowProcW(window, message, wParam, lParam);
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    SetCursor(previous);
    return 0;
}

} // namespace

TEST_F(CursorTest, LongWorkShowsTheWaitCursorAndRestoresWhatWasThere)
{
    WNDCLASSW windowClass {};
    windowClass.lpfnWndProc = RenderingProc;
    windowClass.lpszClassName = L"CursorTestWindow";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, L"CursorTestWindow", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
        nullptr, nullptr);
    EXPECT_EQ(GetCursor(), nullptr); // none at first
    SendMessageW(window, kRender, 0, 0);
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    EXPECT_EQ(m_driver.CursorChanges(), (std::vector<HCURSOR> { wait, nullptr }));
    EXPECT_EQ(GetCursor(), nullptr);

    // Setting the cursor already shown is no change.
    SetCursor(wait);
    EXPECT_EQ(SetCursor(wait), wait);
    EXPECT_EQ(m_driver.CursorChanges().size(), 3u);
    DestroyWindow(window);
    UnregisterClassW(L"CursorTestWindow", nullptr);
}

TEST_F(CursorTest, OnlyTheSystemsCursorsLoad)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), wait); // shared, not made anew

    SetLastError(0);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32513)), nullptr); // the text cursor: not on the device
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    auto module = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x6C000000));
    EXPECT_EQ(LoadCursorW(module, IDC_WAIT), nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, L"WAIT"), nullptr);

    // An icon is no cursor, and is not taken for one; nor can a cursor be destroyed as an icon.
    SetCursor(wait);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(0x40010))), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_FALSE(DestroyIcon(wait));
}

TEST(CursorOnQtTest, TheRealTimeDriverShowsQtsBusyCursorWhileTheWaitCursorIsSet)
{
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_TRUE(platform::ui::ShowsBusyCursor());
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(platform::ui::ShowsBusyCursor());
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    SetCursor(previous);
    EXPECT_FALSE(platform::ui::ShowsBusyCursor()); // one restore for one busy spell
}
