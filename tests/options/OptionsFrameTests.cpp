// The options frame as the shell opens it (template 500 with export 241) and as the item's
// options icon opens it: the shell's sizing and OK button, the menu bar, and the commit.
#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/Resources.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Display.h"
#include "resources/ModuleResources.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

class OptionsFrameTest : public ::testing::Test {
protected:
    OptionsFrameTest()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    // Opens the frame the way the shell does and hands it to the action while it is open.
    INT_PTR OpenAsTheShellDoes(const std::function<void(HWND)>& whileOpen)
    {
        return OpenOptionsAsTheShellDoes(m_screen, whileOpen);
    }

    TodayScreen m_screen;
};

HWND MenuBar()
{
    return FindWindowW(L"menu_worker", nullptr);
}

} // namespace

TEST_F(OptionsFrameTest, TheShellSizesItBelowTheTaskbarAboveTheMenuBar)
{
    INT_PTR result = OpenAsTheShellDoes([&](HWND frame) {
        RECT rect {};
        GetWindowRect(frame, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 26);
        EXPECT_EQ(rect.right, 240);
        EXPECT_EQ(rect.bottom, 320 - 26);
        EXPECT_NE(GetWindowLongW(frame, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN, 0);
        // The empty menu bar belongs to the Today item's window, not to the frame.
        HWND bar = MenuBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(GetWindow(bar, GW_OWNER), m_screen.Today());
        EXPECT_EQ(g_pModule->m_options.hwndMenuBar, bar);
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(MenuBar(), nullptr);
}

TEST_F(OptionsFrameTest, OkSavesTheSettingsOnce)
{
    EXPECT_FALSE(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved").has_value());
    g_pModule->m_settings.ScrollRate = 7;
    OpenAsTheShellDoes([](HWND frame) { SendMessageW(frame, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved"), 1u);
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"ScrollRate"), 7u);
}

TEST_F(OptionsFrameTest, OtherCommandsAndMessagesAreNotTheFrames)
{
    OpenAsTheShellDoes([&](HWND frame) {
        EXPECT_EQ(CustomItemOptionsDlgProc(frame, WM_COMMAND, IDCANCEL, 0), FALSE);
        EXPECT_EQ(CustomItemOptionsDlgProc(frame, WM_SETTINGCHANGE, 0, 0), FALSE);
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(m_screen.Driver().Faults().empty());
}

TEST_F(OptionsFrameTest, EndedOtherwiseItLeavesNoMenuBarBehind)
{
    INT_PTR result = OpenAsTheShellDoes([](HWND frame) { EndDialog(frame, IDCANCEL); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(MenuBar(), nullptr);
    EXPECT_EQ(g_pModule->m_options.hwndMenuBar, nullptr);
}

namespace {

// Stand-ins for the pages of later parts, so that the frame's handling of them can be seen.
constexpr DWORD kPageStyle = WS_CHILD | DS_SETFONT | DS_CONTROL;
const DLGTEMPLATE kViewPage = { kPageStyle | WS_VISIBLE, 0, 0, 0, 0, 136, 120, L"", 8, L"System", nullptr };
const DLGTEMPLATE kAdapterPage = { kPageStyle, 0, 0, 0, 0, 136, 120, L"", 8, L"System", nullptr };
const DLGTEMPLATE kMeterPage = { kPageStyle, 0, 0, 0, 0, 130, 120, L"", 8, L"System", nullptr };

// Which page windows were told IDOK, in order.
std::vector<HWND> g_committed;
WNDPROC g_pageProc = nullptr;

LRESULT CommitLoggingProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && wParam == IDOK)
        g_committed.push_back(page);
    return CallWindowProcW(g_pageProc, page, message, wParam, lParam);
}

void LogCommits(HWND page)
{
    g_pageProc = reinterpret_cast<WNDPROC>(SetWindowLongW(page, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&CommitLoggingProc)));
}

class OptionsPagesTest : public OptionsFrameTest {
protected:
    OptionsPagesTest()
    {
        platform::ModuleResources resources = BuildModuleResources();
        resources.AddDialog(IDD_VIEW_PAGE, &kViewPage, sizeof kViewPage);
        resources.AddDialog(IDD_ADAPTER_PAGE, &kAdapterPage, sizeof kAdapterPage);
        resources.AddDialog(IDD_METER_PAGE, &kMeterPage, sizeof kMeterPage);
        platform::RegisterModuleResources(m_screen.Module(), std::move(resources));
        g_committed.clear();
    }

    static OptionsFrameState& Frame() { return g_pModule->m_options; }

    static RECT PlaceOf(HWND page)
    {
        RECT rect {};
        GetWindowRect(page, &rect);
        MapWindowPoints(nullptr, GetParent(page), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_F(OptionsPagesTest, TheTabsRunAlongTheBottomInOrder)
{
    OpenAsTheShellDoes([](HWND frame) {
        HWND tabs = Frame().hwndTab;
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(GetParent(tabs), frame);
        EXPECT_NE(GetWindowLongW(tabs, GWL_STYLE) & TCS_BOTTOM, 0);
        EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 7);
        const wchar_t* labels[] = { L"View", L"Adapter", L"Meter", L"Usage", L"Profiles", L"About", L"Settings" };
        for (int i = 0; i < 7; ++i) {
            wchar_t text[16] = {};
            TCITEMW item {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 16;
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(text, labels[i]);
        }
        RECT tabRect {};
        GetClientRect(tabs, &tabRect);
        EXPECT_EQ(tabRect.right, 240);
        EXPECT_EQ(tabRect.bottom, 268);
        // The display area leaves the tabs below it free.
        EXPECT_EQ(Frame().pageRect.top, 0);
        EXPECT_LT(Frame().pageRect.bottom, 268);
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(OptionsPagesTest, PagesAreMadeWhenFirstShownAndKeptUntilOk)
{
    HWND view = nullptr;
    HWND adapter = nullptr;
    OpenAsTheShellDoes([&](HWND frame) {
        view = Frame().pages[0];
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(GetParent(view), Frame().hwndTab);
        EXPECT_TRUE(IsWindowVisible(view));
        EXPECT_TRUE(SameRect(PlaceOf(view), Frame().pageRect));
        for (int i = 1; i < 7; ++i)
            EXPECT_EQ(Frame().pages[i], nullptr);

        m_screen.Driver().ChooseItem(Frame().hwndTab, 1);
        adapter = Frame().pages[1];
        ASSERT_NE(adapter, nullptr);
        EXPECT_TRUE(IsWindowVisible(adapter));
        EXPECT_FALSE(IsWindowVisible(view));
        EXPECT_TRUE(SameRect(PlaceOf(adapter), Frame().pageRect));

        // Another tab: its page is made and the Adapter page hides.
        m_screen.Driver().ChooseItem(Frame().hwndTab, 3);
        EXPECT_NE(Frame().pages[3], nullptr);
        EXPECT_FALSE(IsWindowVisible(adapter));

        m_screen.Driver().ChooseItem(Frame().hwndTab, 1);
        EXPECT_EQ(Frame().pages[1], adapter);
        EXPECT_TRUE(IsWindowVisible(adapter));

        LogCommits(view);
        LogCommits(adapter);
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(g_committed, (std::vector<HWND> { view, adapter }));
    EXPECT_FALSE(IsWindow(view));
    EXPECT_FALSE(IsWindow(adapter));
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved"), 1u);
}

TEST_F(OptionsPagesTest, AfterTheScreenTurnsEveryPageFitsTheNewArea)
{
    OpenAsTheShellDoes([&](HWND frame) {
        m_screen.Driver().ChooseItem(Frame().hwndTab, 1);
        RECT portrait = Frame().pageRect;
        // The shell gives the frame the landscape screen's area, then tells it.
        platform::RotateScreen();
        RECT frameRect {};
        GetWindowRect(frame, &frameRect);
        EXPECT_EQ(frameRect.top, 26);
        EXPECT_EQ(frameRect.bottom, 240 - 26);
        RECT barRect {};
        GetWindowRect(MenuBar(), &barRect);
        EXPECT_EQ(barRect.top, 240 - 26);
        EXPECT_EQ(barRect.right, 320);
        RECT tabRect {};
        GetClientRect(Frame().hwndTab, &tabRect);
        EXPECT_EQ(tabRect.right, 320);
        EXPECT_EQ(tabRect.bottom, 188);
        EXPECT_EQ(Frame().pageRect.right, 320);
        EXPECT_EQ(Frame().pageRect.bottom, portrait.bottom - 80);
        EXPECT_TRUE(SameRect(PlaceOf(Frame().pages[0]), Frame().pageRect));
        EXPECT_TRUE(SameRect(PlaceOf(Frame().pages[1]), Frame().pageRect));
        // A page first shown after the turn is placed on the new area too.
        m_screen.Driver().ChooseItem(Frame().hwndTab, 2);
        ASSERT_NE(Frame().pages[2], nullptr);
        EXPECT_TRUE(SameRect(PlaceOf(Frame().pages[2]), Frame().pageRect));
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
}
