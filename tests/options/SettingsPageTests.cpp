// The options dialog's settings page: a save and a restore through the file dialogs, the
// question before a restore, and the status texts for each outcome.
#include <gtest/gtest.h>

#include "item/PluginEntry.h"
#include "item/PluginModule.h"
#include "options/SettingsBackup.h"
#include "platform/files/Files.h"
#include "platform/text/Utf16.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/Resources.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

constexpr int kSettingsTab = 6;

class SettingsPageTest : public ::testing::Test {
protected:
    SettingsPageTest()
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    // Opens the options dialog on its settings page and hands the page to the action.
    void OnSettingsPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            m_screen.Driver().ChooseItem(g_pModule->m_options.hwndTab, kSettingsTab);
            HWND page = g_pModule->m_options.pages[kSettingsTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    std::wstring Status(HWND page)
    {
        wchar_t text[512] = {};
        GetDlgItemTextW(page, IDC_SETTINGS_STATUS, text, 512);
        return text;
    }

    void Click(HWND page, int id) { m_screen.Driver().Click(GetDlgItem(page, id)); }

    TodayScreen m_screen;
};

} // namespace

TEST_F(SettingsPageTest, SaveWritesTheChosenFileAndSaysWhere)
{
    g_pModule->m_settings.SaveSettings();
    OnSettingsPage([&](HWND page) {
        EXPECT_EQ(Status(page), L"Используйте вышеуказанные кнопки для сохранения или восстановления настроек программы.");
        m_screen.Driver().ChooseFile(L"\\My Documents\\mine");
        Click(page, IDC_SAVE_SETTINGS);
        const auto& dialog = m_screen.Driver().FileDialogs().back();
        EXPECT_TRUE(dialog.save);
        EXPECT_EQ(dialog.title, L"Save Settings");
        EXPECT_EQ(dialog.name, L"vlmconf.vlm");
        EXPECT_EQ(dialog.defaultExtension, L"vlm");
        ASSERT_EQ(dialog.filters.size(), 1u);
        EXPECT_EQ(dialog.filters[0].second, L"*.vlm");
        EXPECT_EQ(Status(page), L"Current settings saved to:\n \\My Documents\\mine.vlm.");

        // Cancelled: nothing happens; a disk that is full: the failure text.
        m_screen.Driver().CancelFileDialog();
        Click(page, IDC_SAVE_SETTINGS);
        EXPECT_EQ(Status(page), L"Current settings saved to:\n \\My Documents\\mine.vlm.");
        m_screen.Files().FailWrites(L"*full.vlm*", platform::SimFileSystem::kEveryTime, ERROR_DISK_FULL);
        m_screen.Driver().ChooseFile(L"\\My Documents\\full.vlm");
        Click(page, IDC_SAVE_SETTINGS);
        EXPECT_EQ(Status(page), L"ERROR: Saving settings to \\My Documents\\full.vlm was unsuccessful.");
    });
    HANDLE file = CreateFileW(L"\\My Documents\\mine.vlm", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::string bytes(1 << 14, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    EXPECT_NE(bytes.find(EncodeUtf16Le(L"DWORD ScrollRate 5\r\n")), std::string::npos);
}

TEST_F(SettingsPageTest, RestoreAsksFirstThenReloadsTheSettings)
{
    g_pModule->m_settings.SaveSettings();
    OnSettingsPage([&](HWND page) {
        m_screen.Driver().ChooseFile(L"\\My Documents\\saved.vlm");
        Click(page, IDC_SAVE_SETTINGS);
        PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"ScrollRate", 9);
        g_pModule->m_settings.LoadSettings();
        ASSERT_EQ(g_pModule->m_settings.ScrollRate, 9u);

        // Declined: nothing restored, and the failure text.
        m_screen.Driver().ChooseFile(L"\\My Documents\\saved.vlm");
        m_screen.Driver().AnswerMessageBox(IDNO);
        Click(page, IDC_RESTORE_SETTINGS);
        ASSERT_FALSE(m_screen.Driver().MessageBoxes().empty());
        EXPECT_EQ(m_screen.Driver().MessageBoxes().back().text,
            L"Warning: This will overwrite any current settings you have created in Velmora. Continue?");
        EXPECT_EQ(Status(page), L"ERROR: Restoring settings from \\My Documents\\saved.vlm was unsuccessful.");
        EXPECT_EQ(g_pModule->m_settings.ScrollRate, 9u);

        m_screen.Driver().ChooseFile(L"\\My Documents\\saved.vlm");
        m_screen.Driver().AnswerMessageBox(IDYES);
        Click(page, IDC_RESTORE_SETTINGS);
        EXPECT_EQ(Status(page),
            L"Settings restored successfully. Soft reset your device immediately for the changes to take effect.");
        EXPECT_EQ(g_pModule->m_settings.ScrollRate, 5u);
    });
    // OK writes the settings as loaded after the restore.
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"ScrollRate"), 5u);
}

TEST_F(SettingsPageTest, OkAfterARestoreKeepsTheRestoredValuesOverWhatTheOpenPagesShowed)
{
    Settings& settings = g_pModule->m_settings;
    settings.SaveSettings();
    ASSERT_TRUE(SaveSettingsFile(L"\\My Documents\\compact.vlm"));
    ASSERT_EQ(settings.FullViewEnabled, 0u);
    settings.SetFullView(1);
    settings.SetViewItem(ViewMeterReading, 0, 5);
    settings.SaveSettings();

    OnSettingsPage([&](HWND page) {
        HWND viewPage = g_pModule->m_options.pages[0];
        m_screen.Driver().ChooseFile(L"\\My Documents\\compact.vlm");
        m_screen.Driver().AnswerMessageBox(IDYES);
        Click(page, IDC_RESTORE_SETTINGS);
        ASSERT_EQ(settings.FullViewEnabled, 0u);
        // The View page was made again from the restored settings, and stays behind this one.
        HWND remade = g_pModule->m_options.pages[0];
        EXPECT_FALSE(IsWindow(viewPage));
        ASSERT_NE(remade, nullptr);
        EXPECT_FALSE(IsWindowVisible(remade));
        EXPECT_TRUE(IsWindowVisible(page));
        EXPECT_EQ(IsDlgButtonChecked(remade, IDC_VIEW_COMPACT), static_cast<UINT>(BST_CHECKED));
    });
    EXPECT_EQ(GetDword(HKEY_CURRENT_USER, kUserSettingsKey, L"FullViewEnabled"), 0u);
    for (DWORD i = 0; i < kViewItemCount; ++i) {
        if (settings.ViewItemAt(i).id == ViewMeterReading) {
            EXPECT_EQ(settings.ViewItemAt(i).visible, 1u);
        }
    }
}
