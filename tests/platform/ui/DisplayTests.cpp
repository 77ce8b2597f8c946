#include "UiTestSupport.h"

#include "platform/ui/Display.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/wm/WindowManager.h"

using namespace ui_test;

namespace {

class DisplayTest : public UiTest { };

} // namespace

TEST_F(DisplayTest, RotationSwapsTheScreenAndTellsTheTopLevelWindows)
{
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 240, 200 });
    HWND child = MakeChild(top, 5, RECT { 0, 0, 50, 20 });
    HWND other = MakeTopLevel(WS_POPUP, RECT { 0, 0, 10, 10 }); // hidden ones hear it too
    Log().clear();
    platform::RotateScreen();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(desktop.right, 320);
    EXPECT_EQ(desktop.bottom, 240);
    EXPECT_EQ(platform::CaptureWindow(nullptr).width, 320);
    auto settings = [](HWND window) {
        std::vector<WPARAM> seen;
        for (const LoggedMessage& m : Log()) {
            if (m.window == window && m.message == WM_SETTINGCHANGE)
                seen.push_back(m.wParam);
        }
        return seen;
    };
    EXPECT_EQ(settings(top), std::vector<WPARAM> { SETTINGCHANGE_RESET });
    EXPECT_EQ(settings(other), std::vector<WPARAM> { SETTINGCHANGE_RESET });
    EXPECT_TRUE(settings(child).empty());

    // The same size again changes nothing and tells no one.
    Log().clear();
    platform::ChangeDevice(platform::CurrentDevice());
    EXPECT_TRUE(settings(top).empty());
    platform::RotateScreen();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
}

TEST_F(DisplayTest, AnotherProfileChangesTheScreenAndItsResolution)
{
    platform::ChangeDevice(platform::DeviceProfile::Vga());
    EXPECT_EQ(platform::CaptureWindow(nullptr).width, 480);
    EXPECT_EQ(platform::CaptureWindow(nullptr).height, 640);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 192);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 32);
}

TEST_F(DisplayTest, ClosingTheScreensWindowEndsTheMessageLoopAndLeavesTheScreenUp)
{
    EXPECT_FALSE(platform::ui::WindowManager::Get().CloseScreen());
    MSG message {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    // The quit was taken: the next loop runs.
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(IsWindowVisible(GetDesktopWindow()));
}
