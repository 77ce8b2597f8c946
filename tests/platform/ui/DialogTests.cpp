#include "UiTestSupport.h"

#include "platform/time/Clock.h"
#include "platform/ui/Resources.h"
#include "platform/ui/WinGdi.h"

using namespace ui_test;

namespace {

class DialogTest : public UiTest { };

const DLGITEMTEMPLATE kMonitorItems[] = {
    { WS_VISIBLE | SS_CENTER, 0, 0, 2, 105, 8, 1061, L"STATIC", L"Монитор" },
    { WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 35, 78, 35, 14, IDOK, L"BUTTON", L"OK" },
    { WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 5, 78, 20, 14, 1062, L"BUTTON", L"+" },
};
const DLGTEMPLATE kMonitor = { WS_POPUP | WS_BORDER | DS_SETFONT | DS_CENTER, WS_EX_CLIENTEDGE, 3, 0, 0, 105, 94,
    L"Монитор", 8, L"DejaVu Sans", kMonitorItems };

const DLGITEMTEMPLATE kMeterPageItems[] = {
    { WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, 0, 5, 5, 60, 10, 1022, L"BUTTON", L"Включен" },
    { WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 5, 17, 60, 10, 1021, L"BUTTON", L"Выключен" },
    { WS_VISIBLE | BS_AUTOCHECKBOX | WS_GROUP, 0, 5, 29, 80, 10, 1025, L"BUTTON", L"Предупреждения" },
    { WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, 0, 5, 41, 60, 10, 1027, L"BUTTON", L"Исходящий" },
    { WS_VISIBLE | BS_OWNERDRAW, 0, 70, 5, 12, 12, 1105, L"BUTTON", L"D" },
};
const DLGTEMPLATE kMeterPage
    = { WS_CHILD | WS_VISIBLE | DS_SETFONT, 0, 5, 0, 0, 130, 135, L"", 8, L"DejaVu Sans", kMeterPageItems };

std::vector<std::pair<UINT, WPARAM>> g_dialogLog;
LPARAM g_initParam = 0;

INT_PTR RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_initParam = lParam;
        g_dialogLog.emplace_back(message, 0);
        return TRUE;
    case WM_COMMAND:
        g_dialogLog.emplace_back(message, wParam);
        if (LOWORD(wParam) == IDOK)
            EndDialog(dialog, 1);
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        g_dialogLog.emplace_back(message, item->CtlID);
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

std::vector<std::pair<UINT_PTR, uint64_t>> g_timerFired;
void RecordTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    g_timerFired.emplace_back(id, platform::CurrentClock().MonotonicMs());
}

} // namespace

TEST_F(DialogTest, DialogUnitsFollowTheDeviceResolution)
{
    g_dialogLog.clear();
    HWND dialog = CreateDialogIndirectParamW(TestInstance(), &kMonitor, nullptr, RecordingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT client;
    GetClientRect(dialog, &client);
    RECT units { 0, 0, 4, 8 };
    MapDialogRect(dialog, &units);
    // 8-point DejaVu Sans at 96 dpi: base units 7 x 13 pixels.
    EXPECT_EQ(units.right, 7);
    EXPECT_EQ(units.bottom, 13);
    EXPECT_EQ(client.right, (105 * 7 + 2) / 4); // rounded
    EXPECT_EQ(client.bottom, (94 * 13 + 4) / 8);
    RECT window;
    GetWindowRect(dialog, &window);
    EXPECT_EQ(window.right - window.left, client.right + 6); // border and client edge
    EXPECT_EQ(window.left, (240 - (window.right - window.left)) / 2); // DS_CENTER
    DestroyWindow(dialog);

    platform::SetCurrentDevice(platform::DeviceProfile::Vga());
    dialog = CreateDialogIndirectParamW(TestInstance(), &kMonitor, nullptr, RecordingDialogProc, 0);
    units = RECT { 0, 0, 4, 8 };
    MapDialogRect(dialog, &units);
    EXPECT_EQ(units.right, 13);
    EXPECT_EQ(units.bottom, 25);
    HWND ok = GetDlgItem(dialog, IDOK);
    RECT okRect;
    GetWindowRect(ok, &okRect);
    POINT origin { 0, 0 };
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(okRect.left - origin.x, (35 * 13 + 2) / 4);
    EXPECT_EQ(okRect.top - origin.y, (78 * 25 + 4) / 8);
}

TEST_F(DialogTest, ItemsAreMadeFromTheTemplateInOrderWithTheirTexts)
{
    g_dialogLog.clear();
    HWND dialog = CreateDialogIndirectParamW(TestInstance(), &kMonitor, nullptr, RecordingDialogProc, 42);
    EXPECT_EQ(g_initParam, 42);
    EXPECT_EQ(GetWindow(dialog, GW_CHILD), GetDlgItem(dialog, 1061));
    EXPECT_EQ(GetWindow(GetDlgItem(dialog, 1061), GW_HWNDNEXT), GetDlgItem(dialog, IDOK));
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, 1062)), 1062);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK)); // the first tab stop
    wchar_t text[32];
    EXPECT_EQ(GetDlgItemTextW(dialog, 1061, text, 32), 7u);
    EXPECT_STREQ(text, L"Монитор");
    EXPECT_TRUE(SetDlgItemTextW(dialog, 1061, L"Data Rate Monitor"));
    GetDlgItemTextW(dialog, 1061, text, 32);
    EXPECT_STREQ(text, L"Data Rate Monitor");
    EXPECT_EQ(GetDlgItem(dialog, 9999), nullptr);
    wchar_t className[16];
    GetClassNameW(dialog, className, 16);
    EXPECT_STREQ(className, L"#32770");
}

TEST_F(DialogTest, AModalLoopRunsOtherWindowsTimersAndReturnsTheEndDialogResult)
{
    platform::ModuleResources resources;
    resources.AddDialog(507, &kMonitor, sizeof kMonitor);
    platform::RegisterModuleResources(TestInstance(), std::move(resources));
    HRSRC found = FindResourceW(TestInstance(), MAKEINTRESOURCEW(507), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    auto* dialogTemplate = static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(TestInstance(), found)));
    EXPECT_EQ(dialogTemplate, &kMonitor);

    HWND item = MakeTopLevel();
    SetTimer(item, 11, 1000, nullptr);
    m_driver.Pump();
    Log().clear();
    g_dialogLog.clear();
    bool ownerDisabled = false;
    m_driver.OnModal(507, [&](const platform::VirtualDriver::ModalInfo& info) {
        EXPECT_EQ(info.templateId, 507);
        ownerDisabled = !IsWindowEnabled(item);
        m_driver.AdvanceSeconds(3); // the item's tick goes on underneath
        m_driver.ClickItem(info.window, IDOK);
    });
    INT_PTR result = DialogBoxIndirectParamW(TestInstance(), dialogTemplate, item, RecordingDialogProc, 0);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(item));
    EXPECT_EQ(LoggedKinds(item, { WM_TIMER }).size(), 3u);
    EXPECT_EQ(g_dialogLog.back(), (std::pair<UINT, WPARAM> { WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED) }));
    EXPECT_TRUE(m_driver.Faults().empty());
    EXPECT_EQ(platform::LiveWindowCount(), 1u); // the dialog is gone, the item stays

    // Without a handler the loop is ended with IDCANCEL and the fault is noted.
    EXPECT_EQ(DialogBoxIndirectParamW(TestInstance(), dialogTemplate, item, RecordingDialogProc, 0), IDCANCEL);
    EXPECT_EQ(m_driver.Faults().size(), 1u);
    platform::UnregisterModuleResources(TestInstance());
}

TEST_F(DialogTest, AQuitRequestEndsAModalDialogAndStaysForTheOuterLoop)
{
    HWND item = MakeTopLevel();
    m_driver.OnModal(0, [&](const platform::VirtualDriver::ModalInfo&) { PostQuitMessage(3); });
    EXPECT_EQ(DialogBoxIndirectParamW(TestInstance(), &kMonitor, item, RecordingDialogProc, 0), 0);
    EXPECT_TRUE(m_driver.Faults().empty());
    EXPECT_EQ(platform::LiveWindowCount(), 1u);
    MSG msg {};
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, AutomaticRadiosAreGroupedAndCheckBoxesToggle)
{
    g_dialogLog.clear();
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 240, 300 });
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kMeterPage, top, RecordingDialogProc, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(CheckDlgButton(page, 1022, BST_CHECKED));
    EXPECT_TRUE(CheckDlgButton(page, 1027, BST_CHECKED));
    m_driver.ClickItem(page, 1021);
    EXPECT_EQ(IsDlgButtonChecked(page, 1021), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 1022), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, 1027), BST_CHECKED); // another group
    m_driver.ClickItem(page, 1025);
    EXPECT_EQ(IsDlgButtonChecked(page, 1025), BST_CHECKED);
    m_driver.ClickItem(page, 1025);
    EXPECT_EQ(IsDlgButtonChecked(page, 1025), BST_UNCHECKED);
    EXPECT_EQ(g_dialogLog.back(), (std::pair<UINT, WPARAM> { WM_COMMAND, MAKEWPARAM(1025, BN_CLICKED) }));

    EnableWindow(GetDlgItem(page, 1021), FALSE);
    size_t before = g_dialogLog.size();
    m_driver.ClickItem(page, 1021); // disabled: nothing happens
    EXPECT_EQ(g_dialogLog.size(), before);
}

TEST_F(DialogTest, OwnerDrawnButtonsAreDrawnByTheirParentAndClickOnStylusUp)
{
    g_dialogLog.clear();
    HWND top = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 240, 300 });
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kMeterPage, top, RecordingDialogProc, 0);
    m_driver.Pump();
    HWND button = GetDlgItem(page, 1105);
    auto drawn = std::count(g_dialogLog.begin(), g_dialogLog.end(), std::pair<UINT, WPARAM> { WM_DRAWITEM, 1105 });
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(platform::CaptureWindow(button).At(1, 1), RGB(0, 0, 0));
    g_dialogLog.clear();
    m_driver.Tap(button, 2, 2);
    // Clicked on stylus up, and drawn again for the press and the release.
    ASSERT_FALSE(g_dialogLog.empty());
    EXPECT_NE(std::find(g_dialogLog.begin(), g_dialogLog.end(),
                  std::pair<UINT, WPARAM> { WM_COMMAND, MAKEWPARAM(1105, BN_CLICKED) }),
        g_dialogLog.end());
}

// A dialog restarts its timer after each step; on the screen's shared grain each step would
// wait up to a whole grain more than it asked.
TEST_F(DialogTest, ADialogsTimersKeepTheirOwnPhaseWhereTheScreensShareTheGrain)
{
    m_driver.CoalesceTimers(1000);
    HWND screen = MakeTopLevel();
    HWND dialog = CreateDialogIndirectParamW(TestInstance(), &kMonitor, nullptr, RecordingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    m_driver.Pump();
    uint64_t now = platform::CurrentClock().MonotonicMs();
    m_driver.AdvanceMs(1000 - now % 1000 + 300);
    uint64_t start = platform::CurrentClock().MonotonicMs();
    g_timerFired.clear();
    SetTimer(screen, 1, 1000, RecordTimer);
    SetTimer(dialog, 2, 1000, RecordTimer);
    m_driver.AdvanceMs(1800);
    using Fired = std::vector<std::pair<UINT_PTR, uint64_t>>;
    EXPECT_EQ(g_timerFired, (Fired { { 2, start + 1000 }, { 1, start + 1700 } }));
    DestroyWindow(dialog);
}
