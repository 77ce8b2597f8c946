// The options frame as the shell opens it (template 500 with export 241) and as the item's
// options icon opens it: the shell's sizing and OK button, the menu bar, and the commit.
#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "options/OptionsFrame.h"
#include "platform/shell/AygShell.h"
#include "platform/ui/Resources.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
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
        auto proc = reinterpret_cast<DLGPROC>(GetProcAddressW(m_screen.Module(), MAKEINTRESOURCEW(241)));
        HRSRC resource = FindResourceW(m_screen.Module(), MAKEINTRESOURCEW(IDD_OPTIONS), RT_DIALOG);
        auto frameTemplate = static_cast<LPCDLGTEMPLATE>(LoadResource(m_screen.Module(), resource));
        m_screen.Driver().OnModal(IDD_OPTIONS, [&](const platform::VirtualDriver::ModalInfo& info) { whileOpen(info.window); });
        return DialogBoxIndirectParamW(m_screen.Module(), frameTemplate, m_screen.Today(), proc, 0);
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

TEST_F(OptionsFrameTest, PagesWhoseTemplatesAreMissingStayEmpty)
{
    OpenAsTheShellDoes([](HWND frame) {
        for (HWND page : g_pModule->m_options.pages)
            EXPECT_EQ(page, nullptr);
        // Other commands and messages are not the frame's.
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
