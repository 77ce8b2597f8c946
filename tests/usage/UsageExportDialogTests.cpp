// The export dialog opened from the module's template: what it shows, the range and interval
// it exports through the writer, the questions and the stop messages that keep it open.
#include <gtest/gtest.h>

#include "UsageDialogScreen.h"
#include "UsageTestFiles.h"
#include "platform/files/WholeFile.h"
#include "platform/time/SystemTime.h"
#include "platform/ui/CommCtrl.h"
#include "resources/ResourceIds.h"
#include "usage/UsageExportDialog.h"
#include "usage/UsageLogFile.h"

using platform::CalendarTime;

namespace {

const std::wstring kLogs = L"\\Program Files\\Velmora";
const std::wstring kOut = L"\\My Documents\\usage.csv";

class UsageExportDialogTest : public ::testing::Test, protected usage_test::UsageDialogScreen {
protected:
    UsageExportDialogTest()
    {
        // January and March 2006 are logged, February not; the screen's clock is 7 March 2006.
        usage_test::WriteWideFile(MonthFileName(kLogs, 2006, 1), L"2006-1-30-9 *1* \tne20001 300 4000 \r\n");
        usage_test::WriteWideFile(MonthFileName(kLogs, 2006, 3),
            L"2006-3-2-10 *2* \tne20001 100 2000 \tppp:1 7 9 \r\n2006-3-7-8 *1* \tne20001 50 60 \r\n");
        usage_test::MakeFolder(L"\\My Documents");
    }

    INT_PTR OpenExport(const std::function<void(HWND)>& whileOpen)
    {
        return Open(IDD_USAGE_EXPORT, UsageExportProc, whileOpen);
    }

    void PickDate(HWND dialog, int id, int year, int month, int day)
    {
        Driver().PickDate(GetDlgItem(dialog, id), year, month, day);
    }
    void ChooseInterval(HWND dialog, int position) { Driver().ChooseItem(GetDlgItem(dialog, IDC_EXPORT_INTERVAL), position); }

    std::vector<std::string> OutLines()
    {
        std::string bytes = usage_test::ReadBytes(kOut);
        std::vector<std::string> lines;
        for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(bytes.substr(start, end - start));
        return lines;
    }
};

} // namespace

TEST_F(UsageExportDialogTest, OpensOnMonthlyTodayAndTheDefaultFileWithinTheLoggedMonths)
{
    INT_PTR result = OpenExport([&](HWND dialog) {
        HWND intervals = GetDlgItem(dialog, IDC_EXPORT_INTERVAL);
        ASSERT_EQ(SendMessageW(intervals, CB_GETCOUNT, 0, 0), 3);
        wchar_t name[16] = {};
        SendMessageW(intervals, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(name));
        EXPECT_STREQ(name, L"Hourly");
        EXPECT_EQ(SendMessageW(intervals, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(Text(dialog, IDC_EXPORT_PATH), L"\\Program Files\\Velmora\\export.csv");

        for (int id : { IDC_EXPORT_START, IDC_EXPORT_END }) {
            SYSTEMTIME range[2] = {};
            auto limits = SendDlgItemMessageW(dialog, id, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
            EXPECT_EQ(limits, static_cast<LRESULT>(GDTR_MIN | GDTR_MAX));
            EXPECT_EQ(range[0].wYear, 2006);
            EXPECT_EQ(range[0].wMonth, 1);
            EXPECT_EQ(range[0].wDay, 1);
            EXPECT_EQ(range[1].wMonth, 3);
            EXPECT_EQ(range[1].wDay, 7);
            SYSTEMTIME shown = {};
            SendDlgItemMessageW(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
            EXPECT_EQ(shown.wDay, 7);
        }
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(usage_test::FileExists(L"\\Program Files\\Velmora\\export.csv"));
}

TEST_F(UsageExportDialogTest, ExportsThePickedRangeDailyWithTheDialUpName)
{
    TheSettings().AddRasName(L"USB");
    TheSettings().AddRasName(L"Office");
    INT_PTR result = OpenExport([&](HWND dialog) {
        PickDate(dialog, IDC_EXPORT_START, 2006, 1, 29);
        PickDate(dialog, IDC_EXPORT_END, 2006, 3, 2);
        ChooseInterval(dialog, 1);
        Type(dialog, IDC_EXPORT_PATH, kOut);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(BoxTexts().empty());
    std::vector<std::string> lines = OutLines();
    // 29 January to 2 March: 3 + 28 + 2 days.
    ASSERT_EQ(lines.size(), 1u + 33u);
    EXPECT_EQ(lines[0], "Year,Month,Day,ne20001-Tx Bytes, ne20001-Rx Bytes,Office-Tx Bytes, Office-Rx Bytes,");
    EXPECT_EQ(lines[1], "2006,1,29,0,0,0,0,");
    EXPECT_EQ(lines[2], "2006,1,30,300,4000,0,0,");
    EXPECT_EQ(lines[33], "2006,3,2,100,2000,7,9,");
    EXPECT_FALSE(usage_test::FileExists(platform::TemporaryDeviceFileFor(kOut)));
}

TEST_F(UsageExportDialogTest, AStartAfterTheEndIsRefusedAndTheDialogStays)
{
    INT_PTR result = OpenExport([&](HWND dialog) {
        PickDate(dialog, IDC_EXPORT_START, 2006, 3, 3);
        PickDate(dialog, IDC_EXPORT_END, 2006, 3, 2);
        Type(dialog, IDC_EXPORT_PATH, kOut);
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 2);
    ASSERT_EQ(Driver().MessageBoxes().size(), 1u);
    EXPECT_EQ(Driver().MessageBoxes()[0].text, L"Invalid date range. The end date must be after the start date.");
    EXPECT_EQ(Driver().MessageBoxes()[0].caption, L"Velmora");
    EXPECT_EQ(Driver().MessageBoxes()[0].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_FALSE(usage_test::FileExists(kOut));
}

TEST_F(UsageExportDialogTest, AMonthlyExportOfOneMonthAsksFirst)
{
    INT_PTR result = OpenExport([&](HWND dialog) {
        PickDate(dialog, IDC_EXPORT_START, 2006, 3, 1);
        Type(dialog, IDC_EXPORT_PATH, kOut);
        Driver().AnswerMessageBox(IDNO);
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_FALSE(usage_test::FileExists(kOut));
        Driver().AnswerMessageBox(IDYES);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(Driver().MessageBoxes().size(), 2u);
    EXPECT_EQ(Driver().MessageBoxes()[0].type & MB_ICONMASK, MB_ICONQUESTION);
    EXPECT_EQ(Driver().MessageBoxes()[0].text.rfind(L"This will export the total bytes for the selected month", 0), 0u);
    std::vector<std::string> lines = OutLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "2006,3,150,2060,7,9,");
}

TEST_F(UsageExportDialogTest, NothingLoggedAndAnUnwritableFileAreToldApartAndTheDialogStays)
{
    INT_PTR result = OpenExport([&](HWND dialog) {
        // February has no month file.
        PickDate(dialog, IDC_EXPORT_START, 2006, 2, 1);
        PickDate(dialog, IDC_EXPORT_END, 2006, 2, 28);
        ChooseInterval(dialog, 1);
        Type(dialog, IDC_EXPORT_PATH, kOut);
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));

        PickDate(dialog, IDC_EXPORT_END, 2006, 3, 2);
        Type(dialog, IDC_EXPORT_PATH, L"\\No Such Folder\\usage.csv");
        Driver().AnswerMessageBox(IDOK);
        Click(dialog, IDOK);
        ASSERT_TRUE(IsWindow(dialog));

        Type(dialog, IDC_EXPORT_PATH, kOut);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::wstring> { L"No usage was logged in this range.",
                              L"Could not write the export file \\No Such Folder\\usage.csv." }));
    EXPECT_EQ(Driver().MessageBoxes()[1].type & MB_ICONMASK, MB_ICONSTOP);
    EXPECT_EQ(OutLines().size(), 1u + 30u);
}

TEST_F(UsageExportDialogTest, TheSaveFileDialogFillsThePath)
{
    OpenExport([&](HWND dialog) {
        Driver().ChooseFile(L"\\My Documents\\march");
        Click(dialog, IDC_EXPORT_BROWSE);
        EXPECT_EQ(Text(dialog, IDC_EXPORT_PATH), L"\\My Documents\\march.csv");
        Driver().CancelFileDialog();
        Click(dialog, IDC_EXPORT_BROWSE);
        EXPECT_EQ(Text(dialog, IDC_EXPORT_PATH), L"\\My Documents\\march.csv");
        Click(dialog, IDCANCEL);
    });
    ASSERT_EQ(Driver().FileDialogs().size(), 2u);
    EXPECT_TRUE(Driver().FileDialogs()[0].save);
    EXPECT_EQ(Driver().FileDialogs()[0].folder, L"\\Program Files\\Velmora");
    EXPECT_EQ(Driver().FileDialogs()[0].name, L"export.csv");
    EXPECT_EQ(Driver().FileDialogs()[0].defaultExtension, L"csv");
}

TEST(UsageExportDialogRules, OnlyAMonthlyExportWithinOneMonthOfOneYearAsks)
{
    CalendarTime march = CalendarTime::FromFields(2006, 3, 31, 23, 0, 0);
    EXPECT_TRUE(ExportAsksForWholeMonth(ExportMonthly, CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), march));
    EXPECT_FALSE(ExportAsksForWholeMonth(ExportDaily, CalendarTime::FromFields(2006, 3, 1, 0, 0, 0), march));
    EXPECT_FALSE(ExportAsksForWholeMonth(ExportMonthly, CalendarTime::FromFields(2006, 2, 28, 0, 0, 0), march));
    // The same month a year apart is a range of thirteen months.
    EXPECT_FALSE(ExportAsksForWholeMonth(ExportMonthly, CalendarTime::FromFields(2005, 3, 1, 0, 0, 0), march));
}
