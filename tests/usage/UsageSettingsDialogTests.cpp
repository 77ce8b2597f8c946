// The usage settings opened from the module's template: what it shows, what OK stores, the
// cap's bounds, the interface list, and a new log folder made, refused and filled.
#include <gtest/gtest.h>

#include "UsageDialogScreen.h"
#include "UsageTestFiles.h"
#include "platform/files/Files.h"
#include "resources/ResourceIds.h"
#include "usage/LogRelocation.h"
#include "usage/UsageInterfaceChoice.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"
#include "usage/UsageSettingsDialog.h"

using platform::CalendarTime;

namespace {

const std::wstring kOldLogs = L"\\Program Files\\Velmora";

class UsageSettingsDialogTest : public ::testing::Test, protected usage_test::UsageDialogScreen {
protected:
    INT_PTR OpenSettings(const std::function<void(HWND)>& whileOpen)
    {
        return Open(IDD_USAGE_SETTINGS, UsageSettingsProc, whileOpen);
    }

    // The daily report of March 2006 from the folder, all interfaces together.
    UsageTable MarchReport(const std::wstring& folder)
    {
        UsageLogger noLiveCounts;
        return UsageTotals(noLiveCounts, IntervalDaily, CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), L"", folder);
    }

    void PutMonths()
    {
        usage_test::WriteWideFile(MonthFileName(kOldLogs, 2006, 2), L"2006-2-11-9 *1* \tne20001 300 4000 \r\n");
        usage_test::WriteWideFile(MonthFileName(kOldLogs, 2006, 3), L"2006-3-2-10 *1* \tne20001 100 2000 \r\n");
    }

    std::wstring InterfaceText(HWND dialog, int position)
    {
        wchar_t text[64] = {};
        SendDlgItemMessageW(dialog, IDC_USAGESET_INTERFACE, CB_GETLBTEXT, static_cast<WPARAM>(position),
            reinterpret_cast<LPARAM>(text));
        return text;
    }
};

constexpr int kLoggingControls[] = { IDC_USAGESET_CAP_ON, IDC_USAGESET_PATH, IDC_USAGESET_PATH_LABEL, IDC_USAGESET_CAP,
    IDC_USAGESET_CAP_SPIN, IDC_USAGESET_CAP_UNIT };

} // namespace

TEST_F(UsageSettingsDialogTest, ShowsTheSettingsAndOkStoresThemWithTheCapHeldWithinItsBounds)
{
    Settings& settings = TheSettings();
    settings.UsageEnabled = 0;
    settings.UsageLogStorageCapEnabled = 1;
    settings.UsageShowZeros = 1;
    settings.UsageLogStorageCapLimit = 4950;
    settings.UsageInterface = L"ppp:1";
    INT_PTR result = OpenSettings([&](HWND dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_USAGESET_LOGGING));
        EXPECT_TRUE(Checked(dialog, IDC_USAGESET_CAP_ON));
        EXPECT_TRUE(Checked(dialog, IDC_USAGESET_ZEROS));
        EXPECT_EQ(Text(dialog, IDC_USAGESET_PATH), kOldLogs);
        EXPECT_EQ(Text(dialog, IDC_USAGESET_CAP), L"4950");
        for (int id : kLoggingControls)
            EXPECT_FALSE(Enabled(dialog, id)) << id;
        Click(dialog, IDC_USAGESET_LOGGING);
        for (int id : kLoggingControls)
            EXPECT_TRUE(Enabled(dialog, id)) << id;

        Driver().Spin(GetDlgItem(dialog, IDC_USAGESET_CAP_SPIN), 1);
        EXPECT_EQ(Text(dialog, IDC_USAGESET_CAP), L"5000");
        Type(dialog, IDC_USAGESET_CAP, L"150");
        Driver().Spin(GetDlgItem(dialog, IDC_USAGESET_CAP_SPIN), -1);
        EXPECT_EQ(Text(dialog, IDC_USAGESET_CAP), L"100");
        Type(dialog, IDC_USAGESET_CAP, L"9000");
        Click(dialog, IDC_USAGESET_ZEROS);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(Driver().MessageBoxes().empty()) << "the path did not change";
    EXPECT_EQ(settings.UsageEnabled, 1u);
    EXPECT_EQ(settings.UsageLogStorageCapLimit, 5000u);
    EXPECT_EQ(settings.UsageLogStorageCapEnabled, 1u);
    EXPECT_EQ(settings.UsageShowZeros, 0u);
    EXPECT_EQ(settings.UsageLogPath, kOldLogs);

    // Cancel stores nothing; OK with the field at 50 stores the lowest cap.
    EXPECT_EQ(OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_CAP, L"50");
        Click(dialog, IDC_USAGESET_LOGGING);
        Click(dialog, IDCANCEL);
    }),
        2);
    EXPECT_EQ(settings.UsageLogStorageCapLimit, 5000u);
    EXPECT_EQ(settings.UsageEnabled, 1u);
    OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_CAP, L"50");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.UsageLogStorageCapLimit, 100u);
}

TEST_F(UsageSettingsDialogTest, TheInterfaceListOffersDialUpNamesAndAllAdaptersAndKeepsAnUnlistedOne)
{
    Settings& settings = TheSettings();
    settings.AddRasName(L"Office");
    settings.AddRasName(L"Home");
    settings.UsageInterface = L"ppp:2";
    OpenSettings([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_USAGESET_INTERFACE);
        auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        ASSERT_GE(count, 3);
        auto selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(InterfaceText(dialog, selected), L"Home");
        EXPECT_EQ(InterfaceText(dialog, count - 2), L"Home");
        EXPECT_EQ(InterfaceText(dialog, count - 1), L"All Adapters (Total)");
        Driver().ChooseItem(list, count - 3);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.UsageInterface, L"ppp:1");

    OpenSettings([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_USAGESET_INTERFACE);
        Driver().ChooseItem(list, static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0)) - 1);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.UsageInterface, L"");

    // An adapter that is no longer fitted is not in the list: OK keeps it.
    settings.UsageInterface = L"NE20002";
    OpenSettings([&](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_USAGESET_INTERFACE, CB_GETCURSEL, 0, 0), CB_ERR);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(settings.UsageInterface, L"NE20002");
}

TEST_F(UsageSettingsDialogTest, AnEmptyPathOrAFileIsRefusedAndTheDialogStays)
{
    usage_test::WriteWideFile(L"\\Storage Card\\notes.txt", L"x");
    INT_PTR result = OpenSettings([&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_USAGESET_PATH, L"");
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));
        Type(dialog, IDC_USAGESET_PATH, L"\\Storage Card\\notes.txt");
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 2);
    EXPECT_EQ(BoxTexts(),
        (std::vector<std::wstring> { L"You must enter a path name to the log files.", L"The specified path is not a folder." }));
    for (const auto& box : Driver().MessageBoxes()) {
        EXPECT_EQ(box.caption, L"Velmora");
        EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONSTOP);
    }
    EXPECT_EQ(TheSettings().UsageLogPath, kOldLogs);
}

TEST_F(UsageSettingsDialogTest, ANewFolderIsMadeLevelByLevelAndTheMonthsMovedWithTheReportUnchanged)
{
    PutMonths();
    const UsageTable before = MarchReport(kOldLogs);
    ASSERT_EQ(before[2], 100u);
    const std::wstring card = L"\\Storage Card\\Logs\\Usage";

    // Declining to make it keeps the dialog open and stores nothing.
    OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_PATH, card);
        Driver().AnswerMessageBox(IDNO);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));
        Driver().AnswerMessageBox(IDYES); // make it
        Driver().AnswerMessageBox(IDYES); // move the month files
        Click(dialog, IDOK);
    });
    EXPECT_EQ(BoxTexts(),
        (std::vector<std::wstring> { L"The specified directory does not exist. Would you like to create the directory?",
            L"The specified directory does not exist. Would you like to create the directory?",
            L"Would you like to move the old log files to the new directory?" }));
    EXPECT_EQ(TheSettings().UsageLogPath, card);
    EXPECT_EQ(GetFileAttributesW(L"\\Storage Card\\Logs") & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(usage_test::FileExists(MonthFileName(kOldLogs, 2006, 3)));
    EXPECT_TRUE(usage_test::FileExists(MonthFileName(card, 2006, 2)));
    EXPECT_EQ(MarchReport(card), before);
    EXPECT_FALSE(usage_test::FileExists(RelocationScratchFolder));
}

TEST_F(UsageSettingsDialogTest, AnExistingFolderIsOnlyAskedAboutTheMoveAndMonthsItHasAlreadyAreNamed)
{
    PutMonths();
    const UsageTable before = MarchReport(kOldLogs);
    usage_test::WriteWideFile(MonthFileName(L"\\Backup", 2006, 2), L"2006-2-1-0 *1* \tne20001 1 1 \r\n");

    // Declining the move stores the new path and leaves the files where they were.
    OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_PATH, L"\\Backup");
        Driver().AnswerMessageBox(IDNO);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(TheSettings().UsageLogPath, L"\\Backup");
    EXPECT_EQ(MarchReport(kOldLogs), before);
    EXPECT_FALSE(usage_test::FileExists(MonthFileName(L"\\Backup", 2006, 3)));

    // Back, then over again with the move: February stays behind, and the user is told.
    TheSettings().UsageLogPath = kOldLogs;
    OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_PATH, L"\\Backup");
        Driver().AnswerMessageBox(IDYES);
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
    });
    ASSERT_EQ(Driver().MessageBoxes().size(), 3u);
    EXPECT_EQ(Driver().MessageBoxes()[2].text, L"These month files were not moved: UsageData200602.txt");
    EXPECT_EQ(MarchReport(L"\\Backup"), before);
    EXPECT_TRUE(usage_test::FileExists(MonthFileName(kOldLogs, 2006, 2)));
}

TEST_F(UsageSettingsDialogTest, AFolderThatCannotBeMadeShowsTheSystemsReason)
{
    usage_test::WriteWideFile(L"\\notes.txt", L"x");
    OpenSettings([&](HWND dialog) {
        Type(dialog, IDC_USAGESET_PATH, L"\\notes.txt\\Logs");
        Driver().AnswerMessageBox(IDYES);
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));
        Click(dialog, IDCANCEL);
    });
    ASSERT_EQ(Driver().MessageBoxes().size(), 2u);
    EXPECT_EQ(Driver().MessageBoxes()[1].text, L"The system cannot find the path specified.\r\n");
    EXPECT_EQ(Driver().MessageBoxes()[1].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(TheSettings().UsageLogPath, kOldLogs);
}

TEST(UsageSettingsRules, TheCapIsHeldWithinItsBoundsAtEveryStep)
{
    EXPECT_EQ(UsageCapFromText(L"4999"), 4999u);
    EXPECT_EQ(UsageCapFromText(L"99999999999"), 5000u); // past 32 bits: held, not wrapped
    EXPECT_EQ(UsageCapFromText(L""), 100u);

    EXPECT_EQ(StepUsageCap(L"50", 1), 100u);
    EXPECT_EQ(StepUsageCap(L"4950", 0), 5000u);
    EXPECT_EQ(StepUsageCap(L"700", -1), 800u);
    EXPECT_EQ(StepUsageCap(L"700", 1), 600u);
    EXPECT_EQ(StepUsageCap(L"4294967295", 1), 5000u);
}

TEST(UsageSettingsRules, ANewFolderIsMadeFromTheOutsideIn)
{
    EXPECT_EQ(LogFolderLevels(L"\\Storage Card\\Logs\\Usage"),
        (std::vector<std::wstring> { L"\\Storage Card", L"\\Storage Card\\Logs", L"\\Storage Card\\Logs\\Usage" }));
    EXPECT_EQ(LogFolderLevels(L"\\Logs"), (std::vector<std::wstring> { L"\\Logs" }));

    usage_test::DeviceFiles files;
    usage_test::MakeFolder(L"\\Storage Card");
    EXPECT_EQ(CreateLogFolderLevels(L"\\Storage Card\\Logs\\Usage"), 0u);
    EXPECT_EQ(GetFileAttributesW(L"\\Storage Card\\Logs\\Usage"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    // A level that is a file: making it says it exists, which is no fault, but the level
    // below it cannot be made.
    usage_test::WriteWideFile(L"\\Storage Card\\file", L"x");
    EXPECT_EQ(CreateLogFolderLevels(L"\\Storage Card\\file\\Usage"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(UsageInterfaceChoices, AdaptersThenDialUpNamesThenAllTogether)
{
    const AdapterNameList adapters = { { 0, L"NE20001", L"Ethernet", 0 }, { 1, L"ppp1", L"Cable", 0 },
        { 2, L"WLAN1", L"Wireless", 0 } };
    const std::vector<std::wstring> dialUp = { L"USB Sync Cable", L"Office", L"Home" };

    UsageInterfaceChoices choices = ListUsageInterfaces(adapters, L"ppp1", 2005, dialUp, L"WLAN1");
    ASSERT_EQ(choices.entries.size(), 6u);
    EXPECT_EQ(choices.entries[1].text, L"Cable");
    EXPECT_EQ(choices.entries[1].value, 1u);
    EXPECT_EQ(choices.entries[3].text, L"Office");
    EXPECT_EQ(choices.entries[3].value, 101u);
    EXPECT_EQ(choices.entries[4].value, 102u);
    EXPECT_EQ(choices.entries[5].text, L"All Adapters (Total)");
    EXPECT_EQ(choices.entries[5].value, kAllAdaptersChoice);
    EXPECT_EQ(choices.selected, 2);

    // On the 2002 generation the cable adapter stands for dial-up number 0.
    choices = ListUsageInterfaces(adapters, L"ppp1", 2002, dialUp, L"ppp:0");
    EXPECT_EQ(choices.entries[1].value, 100u);
    EXPECT_EQ(choices.selected, 1);
    choices = ListUsageInterfaces(adapters, L"ppp1", 2002, dialUp, L"ppp:2");
    EXPECT_EQ(choices.selected, 4);
    choices = ListUsageInterfaces(adapters, L"ppp1", 2005, dialUp, L"");
    EXPECT_EQ(choices.selected, 5);
    choices = ListUsageInterfaces(adapters, L"ppp1", 2005, dialUp, L"NE2000");
    EXPECT_EQ(choices.selected, -1);

    EXPECT_EQ(UsageInterfaceOfChoice(2, adapters, L"x"), L"WLAN1");
    EXPECT_EQ(UsageInterfaceOfChoice(kAllAdaptersChoice, adapters, L"x"), L"");
    EXPECT_EQ(UsageInterfaceOfChoice(100, adapters, L"x"), L"ppp:0");
    EXPECT_EQ(UsageInterfaceOfChoice(102, adapters, L"x"), L"ppp:2");
    EXPECT_EQ(UsageInterfaceOfChoice(3, adapters, L"x"), L"x");
}
