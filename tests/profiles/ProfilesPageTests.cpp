// The Profiles page: its lists, what each button says when something is missing, activating a
// profile on the chosen adapter, deleting, and the limit on new profiles.
#include <gtest/gtest.h>

#include "ProfilesScreen.h"
#include "options/SettingsBackup.h"
#include "profiles/ApplyProfile.h"
#include "settings/SettingsKeys.h"

using namespace profiles_test;
using namespace testing_support;

using ProfilesPageTest = ProfilesScreen;

TEST_F(ProfilesPageTest, OpensOnTheTrackedAdapterWithTheProfilesInListOrder)
{
    g_pModule->m_settings.InterfaceString = L"WLAN1";
    Add(L"Office", 0, L"10.1.0.5");
    Add(L"Home");
    Add(L"Office");
    OnProfilesPage([&](HWND page) {
        HWND adapters = GetDlgItem(page, IDC_PROFILE_ADAPTER);
        ASSERT_EQ(SendMessageW(adapters, CB_GETCOUNT, 0, 0), 2);
        // The same display name twice: the tracked adapter is found by its key name.
        EXPECT_EQ(SendMessageW(adapters, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(SendMessageW(adapters, CB_GETITEMDATA, 1, 0), 1);
        EXPECT_EQ(Lines(page), std::vector<std::wstring>({ L"Office", L"Home", L"Office" }));
    });
    Profiles().Clear();
    OnProfilesPage([&](HWND page) { EXPECT_EQ(Lines(page), std::vector<std::wstring>({ L"(no profiles defined)" })); });
}

TEST_F(ProfilesPageTest, EachButtonSaysWhatIsMissing)
{
    OnProfilesPage([&](HWND page) {
        struct Expected {
            int button;
            int line; // chosen before the press; -1: none
            const wchar_t* text;
            UINT icon;
        };
        const Expected presses[] = {
            { IDC_PROFILE_EDIT, -1, L"Please select a profile to edit.", MB_ICONINFORMATION },
            { IDC_PROFILE_EDIT, 0, L"Please define a profile first by tapping the \"New\" button.", MB_ICONINFORMATION },
            { IDC_PROFILE_DELETE, -1, L"Please select a profile to delete.", MB_ICONEXCLAMATION },
            { IDC_PROFILE_DELETE, 0, L"No profiles to delete.", MB_ICONEXCLAMATION },
            { IDC_PROFILE_ACTIVATE, 0, L"Please select a network adapter to activate the profile on.", MB_ICONEXCLAMATION },
        };
        for (const Expected& press : presses) {
            SendDlgItemMessageW(page, IDC_PROFILE_LIST, LB_SETCURSEL, static_cast<WPARAM>(press.line), 0);
            Driver().AnswerMessageBox(IDOK);
            size_t before = Boxes();
            Click(page, press.button);
            ASSERT_EQ(Boxes(), before + 1) << press.text;
            EXPECT_EQ(LastBox().text, press.text);
            EXPECT_EQ(LastBox().caption, L"Velmora");
            EXPECT_EQ(LastBox().type, MB_OK | press.icon) << press.text;
        }
        Choose(page, IDC_PROFILE_ADAPTER, 0);
        SendDlgItemMessageW(page, IDC_PROFILE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        Driver().AnswerMessageBox(IDOK);
        Click(page, IDC_PROFILE_ACTIVATE);
        EXPECT_EQ(LastBox().text, L"Please select a profile to activate.");
        Choose(page, IDC_PROFILE_LIST, 0);
        Driver().AnswerMessageBox(IDOK);
        Click(page, IDC_PROFILE_ACTIVATE);
        EXPECT_EQ(LastBox().text, L"No profiles to activate.");
        EXPECT_EQ(LastBox().type, MB_OK | MB_ICONEXCLAMATION);
    });
    EXPECT_TRUE(Driver().Faults().empty());
}

// A profile may be called what the empty list shows: it is still a profile.
TEST_F(ProfilesPageTest, AProfileNamedLikeTheEmptyListsLineIsEdited)
{
    Add(L"(no profiles defined)");
    OnProfilesPage([&](HWND page) {
        bool opened = false;
        Driver().OnModal(IDD_PROFILE_EDITOR, [&](const platform::VirtualDriver::ModalInfo& info) {
            opened = true;
            EXPECT_EQ(Text(info.window, IDC_PROFILE_NAME), L"(no profiles defined)");
            Click(info.window, IDCANCEL);
        });
        Choose(page, IDC_PROFILE_LIST, 0);
        Click(page, IDC_PROFILE_EDIT);
        EXPECT_TRUE(opened);
    });
}

TEST_F(ProfilesPageTest, ActivatingWritesTheChosenLinesProfileIntoTheChosenAdaptersKeyAndSaves)
{
    Add(L"Office");
    Add(L"Office", 0, L"10.1.0.5");
    OnProfilesPage([&](HWND page) {
        // Declined: nothing is written.
        Choose(page, IDC_PROFILE_ADAPTER, 1);
        Choose(page, IDC_PROFILE_LIST, 1);
        Driver().AnswerMessageBox(IDNO);
        Click(page, IDC_PROFILE_ACTIVATE);
        EXPECT_EQ(LastBox().text,
            L"Are you sure you wish to activate the profile Office on the network adapter NE2000 Compatible Ethernet Driver?");
        EXPECT_EQ(LastBox().type, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Comm\\WLAN1\\Parms\\Tcpip"));

        Driver().AnswerMessageBox(IDYES);
        Driver().AnswerMessageBox(IDOK);
        Click(page, IDC_PROFILE_ACTIVATE);
        EXPECT_EQ(LastBox().text, L"The profile will be enabled the next time the adapter is reset.");
        EXPECT_EQ(LastBox().type, static_cast<UINT>(MB_OK));
    });
    // The second line's static profile, on the second adapter of the same display name.
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, L"Comm\\WLAN1\\Parms\\Tcpip", L"EnableDhcp"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Comm\\NE20001\\Parms\\Tcpip"));
    EXPECT_EQ(Profiles().ProfileAt(0)->adapter, L"");
    EXPECT_EQ(Profiles().ProfileAt(1)->adapter, L"WLAN1");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile1"),
        L"Office*WLAN1*0*10.1.0.5*255.255.255.0*10.1.0.1*****");
    EXPECT_TRUE(Driver().Faults().empty());
}

TEST_F(ProfilesPageTest, DeletingRemovesTheChosenLineAndWaitsForTheNextSave)
{
    Add(L"Office", 0, L"10.1.0.5");
    Add(L"Office");
    Add(L"Home");
    Profiles().SaveProfiles();
    OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
        Driver().ChooseItem(g_pModule->m_options.hwndTab, kProfilesTab);
        HWND page = g_pModule->m_options.pages[kProfilesTab];
        Choose(page, IDC_PROFILE_LIST, 1);
        Driver().AnswerMessageBox(IDNO);
        Click(page, IDC_PROFILE_DELETE);
        EXPECT_EQ(LastBox().text, L"Are you sure you wish to delete the profile Office?");
        EXPECT_EQ(LastBox().type, MB_YESNO | MB_ICONEXCLAMATION);
        EXPECT_EQ(Profiles().Count(), 3u);

        Choose(page, IDC_PROFILE_LIST, 1);
        Driver().AnswerMessageBox(IDYES);
        Click(page, IDC_PROFILE_DELETE);
        EXPECT_EQ(Lines(page), std::vector<std::wstring>({ L"Office", L"Home" }));
        EXPECT_EQ(Profiles().Head()->dhcp, 0u);
        EXPECT_EQ(Profiles().ProfileAt(1)->number, 1u);
        EXPECT_TRUE(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile2").has_value());
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile2").has_value());
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile1"), L"Home**1********");
}

TEST_F(ProfilesPageTest, The100thProfileIsRefusedBeforeTheEditorOpens)
{
    for (int i = 0; i < 98; ++i)
        Add(L"P" + std::to_wstring(i));
    OnProfilesPage([&](HWND page) {
        Driver().OnModal(IDD_PROFILE_EDITOR, [&](const platform::VirtualDriver::ModalInfo& info) {
            Type(info.window, IDC_PROFILE_NAME, L"P98");
            Click(info.window, IDOK);
        });
        Click(page, IDC_PROFILE_NEW);
        EXPECT_EQ(Profiles().Count(), 99u);
        EXPECT_EQ(Lines(page).back(), L"P98");

        Driver().AnswerMessageBox(IDOK);
        Click(page, IDC_PROFILE_NEW);
        EXPECT_EQ(LastBox().text, L"No more profiles can be added.");
        EXPECT_EQ(LastBox().type, MB_OK | MB_ICONHAND);
        EXPECT_EQ(Driver().PendingHandlers(), 0u);
    });
    EXPECT_EQ(Profiles().Count(), 99u);
    EXPECT_TRUE(Driver().Faults().empty());
}

// A restore on the Settings page replaces the profiles beneath the open page: the page shows
// the restored ones, and OK saves those.
TEST_F(ProfilesPageTest, ARestoreRemakesThePageFromTheRestoredProfiles)
{
    constexpr int kSettingsTab = 6;
    Add(L"Office");
    Add(L"Work");
    g_pModule->m_settings.SaveSettings();
    ASSERT_TRUE(SaveSettingsFile(L"\\My Documents\\office.vlm"));
    Profiles().Clear();
    Add(L"Home");
    g_pModule->m_settings.SaveSettings();
    OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
        Driver().ChooseItem(g_pModule->m_options.hwndTab, kProfilesTab);
        ASSERT_EQ(Lines(g_pModule->m_options.pages[kProfilesTab]), std::vector<std::wstring>({ L"Home" }));
        Driver().ChooseItem(g_pModule->m_options.hwndTab, kSettingsTab);
        Driver().ChooseFile(L"\\My Documents\\office.vlm");
        Driver().AnswerMessageBox(IDYES);
        Click(g_pModule->m_options.pages[kSettingsTab], IDC_RESTORE_SETTINGS);
        EXPECT_EQ(Lines(g_pModule->m_options.pages[kProfilesTab]), std::vector<std::wstring>({ L"Office", L"Work" }));
        SendMessageW(frame, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile0"), L"Office**1********");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kUserSettingsKey, L"NetProfile1"), L"Work**1********");
}
