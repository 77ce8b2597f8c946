// The options dialog's About page: its texts, the hidden zone that four taps in a row open,
// and the diagnostic report that it writes through the save dialog.
#include <gtest/gtest.h>

#include "item/PluginModule.h"
#include "options/AboutPage.h"
#include "platform/files/Files.h"
#include "platform/shell/ShellHost.h"
#include "platform/text/Utf16.h"
#include "platform/ui/CommDlg.h"
#include "resources/ResourceIds.h"
#include "support/RegistryTestSupport.h"
#include "OpenOptions.h"
#include "support/TodayScreen.h"

using namespace testing_support;

namespace {

constexpr int kAboutTab = 5;

// The device file's bytes; empty when it cannot be read.
std::string FileBytes(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void PutFile(const wchar_t* path, std::string_view bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class AboutPageTest : public ::testing::Test {
protected:
    explicit AboutPageTest(const platform::DeviceProfile& device = platform::DeviceProfile::Qvga())
        : m_screen(device)
    {
        m_screen.AddLoopbackAndLan();
        m_screen.LoadModule();
        m_screen.CreateItem();
    }

    // Opens the options dialog on the About page, hands the page to the action, then OK.
    void OnAboutPage(const std::function<void(HWND)>& action)
    {
        OpenOptionsAsTheShellDoes(m_screen, [&](HWND frame) {
            m_screen.Driver().ChooseItem(g_pModule->m_options.hwndTab, kAboutTab);
            HWND page = g_pModule->m_options.pages[kAboutTab];
            ASSERT_NE(page, nullptr);
            action(page);
            SendMessageW(frame, WM_COMMAND, IDOK, 0);
        });
    }

    static RECT Zone(HWND page)
    {
        RECT frame {};
        GetClientRect(GetDlgItem(page, IDC_ABOUT_FRAME), &frame);
        return AboutTapZone(frame, g_pModule->m_logPixelsX, g_pModule->m_logPixelsY);
    }

    static std::wstring Text(HWND page, int id)
    {
        wchar_t text[128] = {};
        GetDlgItemTextW(page, id, text, 128);
        return text;
    }

    static bool CounterShown(HWND page) { return IsWindowVisible(GetDlgItem(page, IDC_ABOUT_TAPS)) != FALSE; }

    // The zone's upper corner and its lower one, in turn.
    void TapInZone(HWND page)
    {
        RECT zone = Zone(page);
        bool low = (m_taps++ % 2) != 0;
        m_screen.Driver().Tap(page, low ? zone.right - 1 : zone.left, low ? zone.bottom - 1 : zone.top);
    }

    size_t Boxes() { return m_screen.Driver().MessageBoxes().size(); }

    TodayScreen m_screen;
    int m_taps = 0;
};

class LargeScreenAboutPageTest : public AboutPageTest {
protected:
    LargeScreenAboutPageTest()
        : AboutPageTest(platform::DeviceProfile::Vga())
    {
    }
};

} // namespace

TEST(AboutTapZone, IsTheFramesLowerRightCornerScaledByTheScreensDotsPerInch)
{
    RECT zone = AboutTapZone(RECT { 0, 0, 200, 150 }, 96, 96);
    EXPECT_EQ(zone.left, 170);
    EXPECT_EQ(zone.top, 120);
    EXPECT_EQ(zone.right, 200);
    EXPECT_EQ(zone.bottom, 150);
    zone = AboutTapZone(RECT { 0, 0, 400, 310 }, 192, 120);
    EXPECT_EQ(zone.left, 340);
    EXPECT_EQ(zone.top, 310 - 38); // (120 x 30 + 48) / 96
    EXPECT_EQ(zone.right, 400);
    EXPECT_EQ(zone.bottom, 310);
}

TEST_F(AboutPageTest, ShowsTheVersionTheBuildDateAndTheOwner)
{
    OnAboutPage([&](HWND page) {
        EXPECT_EQ(Text(page, IDC_ABOUT_VERSION), L"1.9");
        EXPECT_EQ(Text(page, IDC_ABOUT_DATE), L"Jan  1 2006");
        EXPECT_EQ(Text(page, IDC_ABOUT_OWNER), L"Not set");
        EXPECT_FALSE(CounterShown(page));
    });
    std::string record = EncodeUtf16Le(std::wstring(L"Мария Ortiz") + L'\0');
    record.resize(300, 'A');
    PutRaw(HKEY_CURRENT_USER, L"ControlPanel\\Owner", L"Owner", REG_BINARY, std::vector<uint8_t>(record.begin(), record.end()));
    HWND shown = nullptr;
    OnAboutPage([&](HWND page) {
        EXPECT_EQ(Text(page, IDC_ABOUT_OWNER), L"Мария Ortiz");
        shown = page;
    });
    // OK lowers the input panel for the page.
    bool lowered = false;
    for (const platform::InputPanelRequest& request : platform::InputPanelRequests())
        lowered = lowered || (request.window == shown && request.state == SIP_DOWN);
    EXPECT_TRUE(lowered);
}

TEST_F(AboutPageTest, ATapInTheZoneReachesThePageThroughTheFrame)
{
    OnAboutPage([&](HWND page) {
        RECT zone = Zone(page);
        for (POINT corner : { POINT { zone.left, zone.top }, POINT { zone.right - 1, zone.bottom - 1 } }) {
            POINT screen = corner;
            ClientToScreen(page, &screen);
            EXPECT_EQ(WindowFromPoint(screen), page);
        }
        // The counter shown over the zone lets the next tap through too.
        TapInZone(page);
        ASSERT_TRUE(CounterShown(page));
        POINT screen { zone.right - 1, zone.bottom - 1 };
        ClientToScreen(page, &screen);
        EXPECT_EQ(WindowFromPoint(screen), page);
        m_screen.Driver().Tap(page, 2, 2);
    });
}

TEST_F(AboutPageTest, ATapOutsideTheZoneStartsTheCountAgain)
{
    OnAboutPage([&](HWND page) {
        RECT zone = Zone(page);
        TapInZone(page);
        TapInZone(page);
        TapInZone(page);
        EXPECT_TRUE(CounterShown(page));
        EXPECT_EQ(Text(page, IDC_ABOUT_TAPS), L"3");
        EXPECT_EQ(g_pModule->m_aboutTaps, 3u);
        // Just past the zone each way.
        m_screen.Driver().Tap(page, zone.left - 1, zone.bottom - 1);
        EXPECT_FALSE(CounterShown(page));
        EXPECT_EQ(g_pModule->m_aboutTaps, 0u);
        TapInZone(page);
        TapInZone(page);
        m_screen.Driver().Tap(page, zone.right - 1, zone.top - 1);
        EXPECT_EQ(g_pModule->m_aboutTaps, 0u);
        TapInZone(page);
        EXPECT_EQ(Text(page, IDC_ABOUT_TAPS), L"1");
    });
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(AboutPageTest, FourTapsAskAndANoWritesNothing)
{
    OnAboutPage([&](HWND page) {
        for (int i = 0; i < 3; ++i)
            TapInZone(page);
        EXPECT_EQ(Boxes(), 0u);
        m_screen.Driver().AnswerMessageBox(IDNO);
        TapInZone(page);
        ASSERT_EQ(Boxes(), 1u);
        const auto& box = m_screen.Driver().MessageBoxes().back();
        EXPECT_EQ(box.text, L"Would you like to create a debug file?");
        EXPECT_EQ(box.caption, L"Velmora");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(box.owner, page);
        EXPECT_FALSE(CounterShown(page));
        EXPECT_EQ(g_pModule->m_aboutTaps, 0u);
        EXPECT_TRUE(m_screen.Driver().FileDialogs().empty());
    });
}

TEST_F(AboutPageTest, AYesWritesTheReportWhereTheUserChose)
{
    OnAboutPage([&](HWND page) {
        m_screen.Driver().AnswerMessageBox(IDYES);
        m_screen.Driver().ChooseFile(L"\\My Documents\\report");
        for (int i = 0; i < 4; ++i)
            TapInZone(page);
        ASSERT_EQ(m_screen.Driver().FileDialogs().size(), 1u);
        const auto& dialog = m_screen.Driver().FileDialogs().back();
        EXPECT_TRUE(dialog.save);
        EXPECT_EQ(dialog.owner, page);
        EXPECT_EQ(dialog.title, L"Save As");
        EXPECT_EQ(dialog.folder, L"\\My Documents");
        EXPECT_EQ(dialog.name, L"velmoradebug.txt");
        EXPECT_EQ(dialog.defaultExtension, L"txt");
        ASSERT_EQ(dialog.filters.size(), 1u);
        EXPECT_EQ(dialog.filters[0].first, L"Text(*.txt)");
        EXPECT_EQ(dialog.filters[0].second, L"*.txt");
        EXPECT_EQ(dialog.flags & (OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT), static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
        EXPECT_FALSE(CounterShown(page));
    });
    std::string bytes = FileBytes(L"\\My Documents\\report.txt");
    // Wide characters from the first byte: no byte-order mark.
    EXPECT_EQ(bytes.rfind(EncodeUtf16Le(L"Velmora Version: 1.9\r\nBuild Date: Jan  1 2006\r\n"), 0), 0u);
    EXPECT_NE(bytes.find(EncodeUtf16Le(L"Screen Scaling: X=1, Y=1\r\n")), std::string::npos);
    std::string end = EncodeUtf16Le(L"End Velmora Debug File\r\n---------------------------\r\n");
    ASSERT_GE(bytes.size(), end.size());
    EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);
}

TEST_F(AboutPageTest, AReportThatCannotBeWrittenLeavesTheOldFileWhole)
{
    PutFile(L"\\My Documents\\velmoradebug.txt", "old report");
    OnAboutPage([&](HWND page) {
        // Cancelled: nothing more is asked.
        m_screen.Driver().AnswerMessageBox(IDYES);
        m_screen.Driver().CancelFileDialog();
        for (int i = 0; i < 4; ++i)
            TapInZone(page);
        EXPECT_EQ(Boxes(), 1u);

        // The disk fills up on the way: the same message as a file that cannot be made.
        m_screen.Files().FailWrites(L"*velmoradebug*", platform::SimFileSystem::kEveryTime, ERROR_DISK_FULL);
        m_screen.Driver().AnswerMessageBox(IDYES);
        m_screen.Driver().ChooseFile(L"\\My Documents\\velmoradebug.txt");
        m_screen.Driver().AnswerMessageBox(IDYES); // replace it
        m_screen.Driver().AnswerMessageBox(IDOK);
        for (int i = 0; i < 4; ++i)
            TapInZone(page);
        const auto& box = m_screen.Driver().MessageBoxes().back();
        EXPECT_EQ(box.text, L"Error saving debug file!");
        EXPECT_EQ(box.caption, L"Velmora");
        EXPECT_EQ(box.type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));

        m_screen.Files().ClearFaults();
        m_screen.Files().FailOpens(L"*unmade.txt*", platform::SimFileSystem::kEveryTime, ERROR_ACCESS_DENIED);
        m_screen.Driver().AnswerMessageBox(IDYES);
        m_screen.Driver().ChooseFile(L"\\My Documents\\unmade.txt");
        m_screen.Driver().AnswerMessageBox(IDOK);
        for (int i = 0; i < 4; ++i)
            TapInZone(page);
        EXPECT_EQ(m_screen.Driver().MessageBoxes().back().text, L"Error saving debug file!");
    });
    EXPECT_EQ(FileBytes(L"\\My Documents\\velmoradebug.txt"), "old report");
    EXPECT_EQ(FileBytes(L"\\My Documents\\velmoradebug.txt.new"), "");
    EXPECT_TRUE(m_screen.Driver().Faults().empty());
}

TEST_F(LargeScreenAboutPageTest, TheZoneAndTheReportFollowTheScreensDotsPerInch)
{
    OnAboutPage([&](HWND page) {
        RECT zone = Zone(page);
        EXPECT_EQ(zone.right - zone.left, 60);
        EXPECT_EQ(zone.bottom - zone.top, 60);
        m_screen.Driver().AnswerMessageBox(IDYES);
        m_screen.Driver().ChooseFile(L"\\My Documents\\large.txt");
        for (int i = 0; i < 4; ++i)
            TapInZone(page);
    });
    EXPECT_NE(FileBytes(L"\\My Documents\\large.txt").find(EncodeUtf16Le(L"Screen Scaling: X=2, Y=2\r\n")), std::string::npos);
}
