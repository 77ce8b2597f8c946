#include "UiTestSupport.h"

#include "platform/files/Files.h"
#include "platform/files/SimFileSystem.h"
#include "platform/ui/CommDlg.h"
#include "platform/ui/controls/FileDialogRequest.h"

using namespace ui_test;
using platform::DevicePath;
using FileInfo = platform::VirtualDriver::FileDialogInfo;

namespace {

class FileDialogTest : public UiTest {
protected:
    FileDialogTest()
    {
        platform::InstallFileSystem(std::make_shared<platform::SimFileSystem>());
        CreateDirectoryW(L"\\My Documents", nullptr);
        CreateDirectoryW(L"\\My Documents\\Personal", nullptr);
        CreateDirectoryW(L"\\Program Files", nullptr);
        for (const wchar_t* file : { L"\\My Documents\\notes.txt", L"\\My Documents\\Alpha.TXT",
                 L"\\My Documents\\data.csv", L"\\My Documents\\vlmconf.vlm" }) {
            HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(handle);
        }
    }
    ~FileDialogTest() override { platform::UninstallFileSystem(); }

    // The debug report's save dialog.
    OPENFILENAMEW DebugReport()
    {
        OPENFILENAMEW ofn {};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = nullptr;
        ofn.lpstrFilter = L"Text(*.txt)\0*.txt\0";
        ofn.lpstrFile = m_path;
        ofn.nMaxFile = 260;
        ofn.lpstrInitialDir = L"\\My Documents";
        ofn.lpstrTitle = L"Save As";
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        ofn.lpstrDefExt = L"txt";
        wcscpy(m_path, L"velmoradebug.txt");
        return ofn;
    }

    wchar_t m_path[260] = {};
};

std::vector<std::wstring> ListedFiles(HWND dialog)
{
    HWND list = GetDlgItem(dialog, 0x460);
    std::vector<std::wstring> names;
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        names.push_back(text);
    }
    return names;
}

} // namespace

TEST(FileDialogRulesTest, FiltersAndTypedNames)
{
    auto filters = platform::ui::ParseFilter(L"Text(*.txt)\0*.txt\0Data\0*.csv; *.vlm\0\0");
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, L"Text(*.txt)");
    EXPECT_EQ(filters[1].patterns, (std::vector<std::wstring> { L"*.csv", L"*.vlm" }));
    EXPECT_TRUE(platform::ui::MatchesFilter(L"A.VLM", &filters[1]));
    EXPECT_FALSE(platform::ui::MatchesFilter(L"a.txt", &filters[1]));
    EXPECT_TRUE(platform::ui::ParseFilter(nullptr).empty());

    DevicePath documents;
    ASSERT_EQ(DevicePath::Parse(L"\\My Documents", documents), ERROR_SUCCESS);
    DevicePath result;
    EXPECT_EQ(platform::ui::ResolveChosenName(documents, L"report", L"txt", result), ERROR_SUCCESS);
    EXPECT_EQ(result.ToString(), L"\\My Documents\\report.txt");
    EXPECT_EQ(platform::ui::ResolveChosenName(documents, L"Personal\\a.b", L"txt", result), ERROR_SUCCESS);
    EXPECT_EQ(result.ToString(), L"\\My Documents\\Personal\\a.b"); // has an extension already
    EXPECT_EQ(platform::ui::ResolveChosenName(documents, L"\\Program Files\\x", L"", result), ERROR_SUCCESS);
    EXPECT_EQ(result.ToString(), L"\\Program Files\\x");
    EXPECT_EQ(platform::ui::ResolveChosenName(documents, L"..\\..\\..\\x", L"", result), ERROR_ACCESS_DENIED);
    EXPECT_NE(platform::ui::ResolveChosenName(documents, L"a*b", L"", result), ERROR_SUCCESS);
}

TEST_F(FileDialogTest, TheSaveDialogListsTheFolderAndAddsTheDefaultExtension)
{
    OPENFILENAMEW ofn = DebugReport();
    std::vector<std::wstring> listed;
    m_driver.OnFileDialog([&](const FileInfo& info) {
        EXPECT_TRUE(info.save);
        EXPECT_EQ(info.title, L"Save As");
        EXPECT_EQ(info.folder, L"\\My Documents");
        EXPECT_EQ(info.name, L"velmoradebug.txt");
        EXPECT_EQ(info.filters, (std::vector<std::pair<std::wstring, std::wstring>> { { L"Text(*.txt)", L"*.txt" } }));
        EXPECT_EQ(info.defaultExtension, L"txt");
        listed = ListedFiles(info.window);
        return L"report";
    });
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(listed, (std::vector<std::wstring> { L"Personal\\", L"Alpha.TXT", L"notes.txt" }));
    EXPECT_STREQ(m_path, L"\\My Documents\\report.txt");
    EXPECT_EQ(ofn.nFileOffset, 14);
    EXPECT_EQ(ofn.nFileExtension, 21);
    EXPECT_EQ(ofn.nFilterIndex, 1u);
    EXPECT_TRUE(m_driver.Faults().empty());
}

TEST_F(FileDialogTest, ReplacingAFileIsAskedFirst)
{
    OPENFILENAMEW ofn = DebugReport();
    m_driver.ChooseFile(L"notes");
    m_driver.AnswerMessageBox(IDNO);
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u); // the user cancelled
    ASSERT_EQ(m_driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_driver.MessageBoxes()[0].text, L"notes.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(m_driver.MessageBoxes()[0].type, MB_YESNO | MB_ICONEXCLAMATION);

    ofn = DebugReport();
    m_driver.ChooseFile(L"notes");
    m_driver.AnswerMessageBox(IDYES);
    EXPECT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_STREQ(m_path, L"\\My Documents\\notes.txt");
    EXPECT_TRUE(m_driver.Faults().empty());
}

TEST_F(FileDialogTest, TheOpenDialogTakesPathsFromTheRootAndRefusesMissingFolders)
{
    OPENFILENAMEW ofn {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = L"Velmora Settings\0*.vlm\0";
    ofn.lpstrFile = m_path;
    ofn.nMaxFile = 260;
    ofn.lpstrTitle = L"Restore Settings";
    ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = L"vlm";
    wcscpy(m_path, L"vlmconf.vlm");
    m_driver.ChooseFile(L"\\Backups\\vlmconf.vlm");
    m_driver.AnswerMessageBox(IDOK);
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(m_driver.FileDialogs().back().folder, L"\\My Documents"); // no folder given
    EXPECT_EQ(m_driver.MessageBoxes().back().text, L"\\Backups\nThe folder does not exist.");

    m_driver.ChooseFile(L"\\My Documents\\vlmconf");
    EXPECT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_STREQ(m_path, L"\\My Documents\\vlmconf.vlm");
    EXPECT_TRUE(m_driver.Faults().empty());
}

TEST_F(FileDialogTest, CallsThatCannotBeAnswered)
{
    OPENFILENAMEW ofn = DebugReport();
    ofn.nMaxFile = 10;
    m_driver.ChooseFile(L"report");
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(m_path[0], static_cast<wchar_t>(25)); // "\My Documents\report.txt" and its terminator

    ofn = DebugReport();
    ofn.lStructSize = 76; // the device's 32-bit size is not this platform's
    EXPECT_FALSE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);

    ofn = DebugReport();
    EXPECT_FALSE(GetSaveFileNameW(&ofn)); // no handler: cancelled and noted
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(m_driver.Faults().size(), 1u);
}

TEST_F(FileDialogTest, AnInitialPathOpensItsFolderWithTheFilterAskedFor)
{
    OPENFILENAMEW ofn = DebugReport();
    ofn.lpstrFilter = L"Text(*.txt)\0*.txt\0Data\0*.csv;*.vlm\0";
    ofn.nFilterIndex = 2;
    wcscpy(m_path, L"\\My Documents\\Personal\\old.csv"); // its folder wins over lpstrInitialDir
    wchar_t title[8] = {};
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = 8;
    std::vector<std::wstring> listed;
    m_driver.OnFileDialog([&](const FileInfo& info) {
        EXPECT_EQ(info.folder, L"\\My Documents\\Personal");
        EXPECT_EQ(info.name, L"old.csv");
        EXPECT_EQ(info.filter, 1);
        // Up to the documents folder through the folder list, as the user would.
        SendDlgItemMessageW(info.window, 0x471, CB_SETCURSEL, 1, 0);
        SendMessageW(info.window, WM_COMMAND, MAKEWPARAM(0x471, CBN_SELCHANGE),
            reinterpret_cast<LPARAM>(GetDlgItem(info.window, 0x471)));
        listed = ListedFiles(info.window);
        return L"fresh.csv";
    });
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_EQ(listed, (std::vector<std::wstring> { L"Personal\\", L"data.csv", L"vlmconf.vlm" }));
    EXPECT_STREQ(m_path, L"\\My Documents\\fresh.csv");
    EXPECT_STREQ(title, L"fresh.c"); // cut to its buffer
    EXPECT_EQ(ofn.nFilterIndex, 2u);

    // Cancel leaves the caller's buffer as it was and is no error.
    ofn = DebugReport();
    m_driver.CancelFileDialog();
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(m_path, L"velmoradebug.txt");
    EXPECT_TRUE(m_driver.Faults().empty());
    EXPECT_EQ(m_driver.PendingHandlers(), 0u);
}
