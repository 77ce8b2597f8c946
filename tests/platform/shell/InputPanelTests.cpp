#include "platform/ui/UiTestSupport.h"

#include "platform/core/LastError.h"
#include "platform/shell/ShellHost.h"

using namespace ui_test;

namespace {

constexpr int kName = 1001;
constexpr int kShown = 1002; // read-only
constexpr int kApply = 1003;
constexpr int kServer = 1004; // editable combo box
constexpr int kMode = 1005;   // drop-down list
constexpr int kPreference = 1006;

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | WS_BORDER | WS_TABSTOP, 0, 5, 5, 80, 12, kName, L"EDIT", L"" },
    { WS_VISIBLE | WS_BORDER | ES_READONLY | WS_TABSTOP, 0, 5, 20, 80, 12, kShown, L"EDIT", L"" },
    { WS_VISIBLE | WS_TABSTOP, 0, 90, 5, 40, 14, kApply, L"BUTTON", L"Apply" },
    { WS_VISIBLE | CBS_DROPDOWN | WS_TABSTOP, 0, 5, 35, 80, 60, kServer, L"COMBOBOX", L"" },
    { WS_VISIBLE | CBS_DROPDOWNLIST | WS_TABSTOP, 0, 5, 50, 80, 60, kMode, L"COMBOBOX", L"" },
    { WS_VISIBLE, 0, 5, 65, 30, 10, kPreference, L"SIPPREF", L"" },
};
const DLGTEMPLATE kPage = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 6, 0, 0, 140, 80, L"", 8, L"DejaVu Sans", kItems };

INT_PTR PageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class PanelRecorder : public platform::ShellHost {
public:
    PanelRecorder() { platform::InstallShellHost(this); }
    ~PanelRecorder() override { platform::InstallShellHost(nullptr); }
    void NotifyIconChanged(DWORD, const platform::NotifyIconRecord&) override {}
    void NotificationAdded(const platform::ShellNotification&) override {}
    void NotificationRemoved(const platform::ShellNotification&) override {}
    void InputPanelChanged(bool up) override { changes.push_back(up); }
    std::vector<bool> changes;
};

class InputPanelTest : public UiTest {
protected:
    InputPanelTest()
    {
        platform::ResetShell();
        SHInitExtraControls();
    }
    ~InputPanelTest() override { platform::ResetShell(); }

    // The states asked for since the last look, for the given window.
    std::vector<SIPSTATE> TakeRequests(HWND window)
    {
        std::vector<SIPSTATE> states;
        auto requests = platform::InputPanelRequests();
        for (size_t i = m_seen; i < requests.size(); ++i) {
            EXPECT_EQ(requests[i].window, window);
            states.push_back(requests[i].state);
        }
        m_seen = requests.size();
        return states;
    }

    size_t m_seen = 0;
};

} // namespace

TEST_F(InputPanelTest, PreferencesMoveThePanelAndTellTheHostOfChangesOnly)
{
    PanelRecorder host;
    HWND window = MakeTopLevel();
    EXPECT_FALSE(platform::InputPanelUp());
    EXPECT_TRUE(SHSipPreference(window, SIP_UP));
    EXPECT_TRUE(SHSipPreference(window, SIP_INPUTDIALOG)); // up already
    EXPECT_TRUE(platform::InputPanelUp());
    EXPECT_TRUE(SHSipPreference(window, SIP_UNCHANGED));
    EXPECT_TRUE(platform::InputPanelUp());
    EXPECT_TRUE(SHSipPreference(window, SIP_DOWN));
    EXPECT_FALSE(platform::InputPanelUp());
    EXPECT_TRUE(SHSipPreference(window, SIP_UP));
    EXPECT_TRUE(SHSipPreference(window, SIP_FORCEDOWN));
    EXPECT_EQ(TakeRequests(window),
        (std::vector<SIPSTATE> { SIP_UP, SIP_INPUTDIALOG, SIP_UNCHANGED, SIP_DOWN, SIP_UP, SIP_FORCEDOWN }));
    EXPECT_EQ(host.changes, (std::vector<bool> { true, false, true, false }));

    // Refused calls change and record nothing.
    EXPECT_FALSE(SHSipPreference(nullptr, SIP_UP));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(SHSipPreference(window, static_cast<SIPSTATE>(5)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyWindow(window);
    EXPECT_FALSE(SHSipPreference(window, SIP_UP));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(TakeRequests(window).empty());
    EXPECT_FALSE(platform::InputPanelUp());
}

TEST_F(InputPanelTest, TheControlRaisesThePanelForTextFieldsOfItsDialogOnly)
{
    EXPECT_TRUE(SHInitExtraControls());
    EXPECT_TRUE(SHInitExtraControls()); // once is enough, twice no harm
    HWND page = CreateDialogIndirectParamW(nullptr, &kPage, nullptr, PageProc, 0);
    ASSERT_NE(page, nullptr);
    HWND preference = GetDlgItem(page, kPreference);
    ASSERT_NE(preference, nullptr);
    RECT rect;
    GetWindowRect(preference, &rect);
    EXPECT_TRUE(rect.right == rect.left && rect.bottom == rect.top); // nothing of it shows

    // The dialog put the focus on its first field.
    EXPECT_EQ(GetFocus(), GetDlgItem(page, kName));
    EXPECT_EQ(TakeRequests(page), (std::vector<SIPSTATE> { SIP_UP }));
    EXPECT_TRUE(platform::InputPanelUp());

    for (int id : { kApply, kShown, kServer, kMode, kName })
        SetFocus(GetDlgItem(page, id));
    EXPECT_EQ(TakeRequests(page), (std::vector<SIPSTATE> { SIP_DOWN, SIP_DOWN, SIP_UP, SIP_DOWN, SIP_UP }));

    // Windows outside the dialog are not its business, nor is anything once it is gone.
    HWND other = MakeTopLevel();
    HWND field = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 12, other, nullptr, nullptr, nullptr);
    SetFocus(field);
    SetFocus(GetDlgItem(page, kApply));
    EXPECT_EQ(TakeRequests(page), (std::vector<SIPSTATE> { SIP_DOWN }));
    DestroyWindow(page);
    SetFocus(other);
    SetFocus(field);
    EXPECT_TRUE(TakeRequests(page).empty());
}

TEST_F(InputPanelTest, ADialogInitialisedWithSipDownLowersThePanel)
{
    HWND page = CreateDialogIndirectParamW(nullptr, &kPage, nullptr, PageProc, 0);
    ASSERT_NE(page, nullptr);
    SHSipPreference(page, SIP_UP);
    SHINITDLGINFO init { SHIDIM_FLAGS, page, SHIDIF_SIPDOWN };
    EXPECT_TRUE(SHInitDialog(&init));
    EXPECT_FALSE(platform::InputPanelUp());
}
