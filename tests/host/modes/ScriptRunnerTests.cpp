// The script runner in this process, on the shell with no items: where a tap lands, the answer
// it gives the next message box and the path it gives the next file dialog; and the programs
// the shell says it would open.
#include <gtest/gtest.h>

#include "host/modes/ScriptRunner.h"
#include "host/shell/TodayShell.h"
#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/core/Process.h"
#include "platform/device/Device.h"
#include "platform/files/Files.h"
#include "platform/files/SimFileSystem.h"
#include "platform/ui/CommCtrl.h"
#include "platform/ui/CommDlg.h"
#include "platform/shell/ShellApi.h"
#include "platform/shell/ShellHost.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "platform/ui/WinUser.h"
#include "support/RegistryScope.h"
#include "support/TestSupport.h"

namespace {

int g_answer = 0;
int g_taps = 0;
std::vector<std::pair<WPARAM, LPARAM>> g_iconTaps;
constexpr UINT kIconMessage = WM_APP + 5;

struct SaveResult {
    BOOL chosen = FALSE;
    DWORD error = 0;
    std::wstring path;
};
SaveResult g_saved;

// A window that asks where to save its report when tapped.
LRESULT SavingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_LBUTTONUP)
        return DefWindowProcW(window, message, wParam, lParam);
    wchar_t path[MAX_PATH] = L"report.vlm";
    OPENFILENAMEW ofn {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = L"Velmora settings (*.vlm)\0*.vlm\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = L"\\My Documents";
    ofn.Flags = OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = L"vlm";
    g_saved.chosen = GetSaveFileNameW(&ofn);
    g_saved.error = CommDlgExtendedError();
    g_saved.path = g_saved.chosen ? path : L"";
    return 0;
}

// A window that asks a question when tapped.
LRESULT AskingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kIconMessage) {
        g_iconTaps.emplace_back(wParam, lParam);
        return 0;
    }
    if (message == WM_LBUTTONUP) {
        ++g_taps;
        g_answer = MessageBoxW(window, L"Delete the logs?", L"Velmora", MB_YESNO | MB_ICONQUESTION);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ScriptRunnerTest : public testing::Test {
protected:
    ScriptRunnerTest()
        : m_driver(m_clock.Clock())
    {
        platform::DestroyAllWindows();
        m_shell.Start();
        WNDCLASSW asking {};
        asking.lpfnWndProc = AskingProc;
        asking.lpszClassName = L"AskingWindow";
        RegisterClassW(&asking);
        WNDCLASSW saving {};
        saving.lpfnWndProc = SavingProc;
        saving.lpszClassName = L"SavingWindow";
        RegisterClassW(&saving);
        platform::InstallFileSystem(std::make_shared<platform::SimFileSystem>());
        CreateDirectoryW(L"\\My Documents", nullptr);
        g_saved = SaveResult {};
        g_answer = 0;
        g_taps = 0;
        g_iconTaps.clear();
    }
    ~ScriptRunnerTest() override
    {
        m_shell.Stop();
        platform::DestroyAllWindows();
        UnregisterClassW(L"AskingWindow", nullptr);
        UnregisterClassW(L"SavingWindow", nullptr);
        platform::UninstallFileSystem();
    }

    void MakeSavingWindow()
    {
        ASSERT_NE(CreateWindowExW(0, L"SavingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
                      nullptr, nullptr),
            nullptr);
    }

    std::vector<std::string> Run(const std::string& text)
    {
        host::ScriptEnvironment environment;
        environment.driver = &m_driver;
        environment.shell = &m_shell;
        environment.advance = [this](int64_t ms) { m_driver.AdvanceMs(static_cast<uint64_t>(ms)); };
        environment.print = [] {};
        environment.screenshot = [](const std::string&) { return true; };
        environment.rotate = [] {};
        environment.note = [this](const std::string& line) { m_notes.push_back(line); };
        host::ScriptParseResult script = host::ParseScript(text);
        EXPECT_EQ(script.error, "");
        host::ScriptRunner runner(std::move(environment), std::move(script.actions));
        return runner.Run();
    }

    testing_support::MemoryRegistryScope m_registry;
    testing_support::VirtualClockScope m_clock;
    platform::VirtualDriver m_driver;
    host::TodayShell m_shell;
    std::vector<std::string> m_notes;
};

} // namespace

TEST_F(ScriptRunnerTest, AnswersTheNextMessageBox)
{
    HWND asking = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
        nullptr, nullptr);
    ASSERT_NE(asking, nullptr);
    EXPECT_TRUE(Run("answer no\ntap 50 120\n").empty());
    EXPECT_EQ(g_answer, IDNO);
    EXPECT_EQ(m_notes, std::vector<std::string> { "message box \"Velmora\": \"Delete the logs?\" answered no" });
}

TEST_F(ScriptRunnerTest, AQuestionNobodyAnsweredIsAFault)
{
    CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::string> errors = Run("tap 50 120\n");
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(g_taps, 1);
}

TEST_F(ScriptRunnerTest, ATapFindsTheFrontWindowAndItsDeepestChild)
{
    HWND back = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
        nullptr, nullptr);
    HWND front = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 100, 110, 100, 100, nullptr, nullptr,
        nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"AskingWindow", L"", WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, front, nullptr,
        nullptr, nullptr);
    POINT client {};
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 50, 120 }, client), back);
    EXPECT_EQ(client.x, 50);
    EXPECT_EQ(client.y, 20);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 150, 120 }, client), front);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 115, 125 }, client), child);
    EXPECT_EQ(client.x, 5);
    EXPECT_EQ(client.y, 5);
    ShowWindow(front, SW_HIDE);
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 150, 120 }, client), back);
    // The shell's own windows are there too: the taskbar's title child along the top.
    EXPECT_EQ(host::ScriptRunner::WindowAtScreenPoint(POINT { 10, 5 }, client), m_shell.Bar().Title().Window());
}

TEST_F(ScriptRunnerTest, ATapGoesThroughAGroupBoxAndItsPositionScalesWithTheScreen)
{
    HWND asking = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP | WS_VISIBLE, 0, 100, 240, 50, nullptr, nullptr,
        nullptr, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Frame", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 240, 50, asking, nullptr, nullptr,
        nullptr);
    // At 192 dpi the script's 25,60 is the screen's 50,120.
    platform::DeviceProfile before = platform::CurrentDevice();
    platform::DeviceProfile large = before;
    large.dpi = 192;
    platform::SetCurrentDevice(large);
    EXPECT_TRUE(Run("answer no\ntap 25 60\n").empty());
    platform::SetCurrentDevice(before);
    EXPECT_EQ(g_taps, 1);
    EXPECT_EQ(g_answer, IDNO);
}

TEST_F(ScriptRunnerTest, ATapOnANotificationIconReachesItsWindow)
{
    HWND owner = CreateWindowExW(0, L"AskingWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    NOTIFYICONDATAW icon {};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner;
    icon.uID = 7;
    icon.uFlags = NIF_MESSAGE;
    icon.uCallbackMessage = kIconMessage;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &icon));
    // The notification area takes the right end of the taskbar: one slot of 20 pixels.
    EXPECT_TRUE(Run("tap 230 13\ntap 200 13\n").empty());
    EXPECT_EQ(g_iconTaps, (std::vector<std::pair<WPARAM, LPARAM>> { { 7, WM_LBUTTONDOWN }, { 7, WM_LBUTTONUP } }));
    Shell_NotifyIcon(NIM_DELETE, &icon);
    platform::ResetShell();
}

TEST_F(ScriptRunnerTest, ChoosesThePathOfTheNextFileDialogUnderTheDialogsOwnRules)
{
    MakeSavingWindow();
    // The default extension is the dialog's to add.
    EXPECT_TRUE(Run("choose \"\\My Documents\\backup\"\ntap 50 120\n").empty());
    EXPECT_TRUE(g_saved.chosen);
    EXPECT_EQ(g_saved.path, L"\\My Documents\\backup.vlm");
    ASSERT_EQ(m_notes.size(), 1u);
    EXPECT_EQ(m_notes[0], "save dialog \"Save As\" chose \\My Documents\\backup");

    // An existing file: the dialog asks before replacing it, and the script answers.
    HANDLE file = CreateFileW(L"\\My Documents\\backup.vlm", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
    g_saved = SaveResult {};
    EXPECT_TRUE(Run("answer yes\nchoose \"\\My Documents\\backup.vlm\"\ntap 50 120\n").empty());
    EXPECT_TRUE(g_saved.chosen);
    ASSERT_EQ(m_notes.size(), 3u);
    EXPECT_EQ(m_notes[2].rfind("message box \"Save As\": ", 0), 0u) << m_notes[2];
    EXPECT_EQ(g_saved.path, L"\\My Documents\\backup.vlm");
}

TEST_F(ScriptRunnerTest, ChooseCancelCancelsAndADialogNobodyAnsweredIsAFault)
{
    MakeSavingWindow();
    EXPECT_TRUE(Run("choose cancel\ntap 50 120\n").empty());
    EXPECT_FALSE(g_saved.chosen);
    EXPECT_EQ(g_saved.error, 0u); // the user cancelled: no failure
    EXPECT_EQ(m_notes, std::vector<std::string> { "save dialog \"Save As\" cancelled" });

    g_saved = SaveResult { TRUE, 0, L"" };
    EXPECT_FALSE(Run("tap 50 120\n").empty());
    EXPECT_FALSE(g_saved.chosen);
}

TEST_F(ScriptRunnerTest, TheShellSaysWhichProgramWouldOpenAndRefusesOnesTheDeviceLacks)
{
    std::vector<std::string> events;
    m_shell.onEvent = [&events](const std::string& line) { events.push_back(line); };
    wchar_t commandLine[] = L"cplmain.cpl,17,1";
    PROCESS_INFORMATION process {};
    ASSERT_TRUE(CreateProcessW(L"\\Windows\\ctlpnl.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &process));
    EXPECT_TRUE(CloseHandle(process.hThread));
    EXPECT_TRUE(CloseHandle(process.hProcess));

    // A program the user put on the device counts; a folder or a missing file does not.
    CreateDirectoryW(L"\\Windows", nullptr);
    HANDLE file = CreateFileW(L"\\Windows\\tool.exe", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(CreateProcessW(L"\\windows\\TOOL.EXE", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
        &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_FALSE(CreateProcessW(L"\\Windows", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(events,
        (std::vector<std::string> { "would open \\Windows\\ctlpnl.exe cplmain.cpl,17,1", "would open \\windows\\TOOL.EXE",
            "cannot open \\Windows: no such program" }));

    // Without the shell no program starts.
    m_shell.Stop();
    events.clear();
    EXPECT_FALSE(CreateProcessW(L"\\Windows\\ctlpnl.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
        nullptr, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(events.empty());
}

namespace {

INT_PTR PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

} // namespace

TEST_F(ScriptRunnerTest, TabsCheckBoxesAndTheControlsOfThePageShown)
{
    // A tabbed dialog: two pages on its tab control, the second hidden; both have a box 1052.
    const DLGITEMTEMPLATE frameItems[] = {
        { WS_VISIBLE | WS_CHILD, 0, 0, 0, 120, 120, 1200, L"SysTabControl32", L"" },
    };
    const DLGTEMPLATE frame = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 1, 0, 20, 120, 140, L"", 8, L"System", frameItems };
    const DLGITEMTEMPLATE pageItems[] = {
        { WS_VISIBLE | WS_CHILD | BS_AUTOCHECKBOX, 0, 4, 4, 80, 10, 1052, L"BUTTON", L"Bold" },
        { WS_VISIBLE | WS_CHILD | BS_AUTORADIOBUTTON, 0, 4, 20, 80, 10, 1053, L"BUTTON", L"Full" },
    };
    const DLGTEMPLATE shown = { WS_CHILD | WS_VISIBLE | DS_CONTROL, 0, 2, 0, 0, 110, 90, L"", 8, L"System", pageItems };
    const DLGTEMPLATE hidden = { WS_CHILD | DS_CONTROL, 0, 2, 0, 0, 110, 90, L"", 8, L"System", pageItems };
    HWND dialog = CreateDialogIndirectParamW(nullptr, &frame, nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND tabs = GetDlgItem(dialog, 1200);
    for (const wchar_t* label : { L"First", L"Second" }) {
        TCITEMW item {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(label);
        SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    HWND first = CreateDialogIndirectParamW(nullptr, &shown, tabs, PlainDialogProc, 0);
    HWND second = CreateDialogIndirectParamW(nullptr, &hidden, tabs, PlainDialogProc, 0);

    EXPECT_EQ(Run("check 1052 on\ncheck 1053 on\ntab Second\n"), std::vector<std::string> {});
    EXPECT_EQ(SendDlgItemMessageW(first, 1052, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageW(second, 1052, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageW(first, 1053, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    // Already as asked: nothing changes; off again; a radio button cannot be clicked off.
    EXPECT_EQ(Run("check 1052 on\ncheck 1052 off\n"), std::vector<std::string> {});
    EXPECT_EQ(SendDlgItemMessageW(first, 1052, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    std::vector<std::string> radio = Run("check 1053 off\n");
    ASSERT_EQ(radio.size(), 1u);
    EXPECT_NE(radio[0].find("could not be turned off"), std::string::npos) << radio[0];
    std::vector<std::string> missing = Run("tab Third\n");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].find("no tab \"Third\""), std::string::npos) << missing[0];
    DestroyWindow(dialog);
}
