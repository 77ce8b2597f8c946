#include "UiTestSupport.h"

#include "platform/ui/CommCtrl.h"
#include "platform/ui/controls/UpDownControl.h"

using namespace ui_test;
using platform::ui::UpDownNextPosition;

namespace {

class UpDownTest : public UiTest { };

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_RIGHT, 0, 38, 37, 24, 12, 1026, L"EDIT", L"" },
    { WS_VISIBLE | UDS_ARROWKEYS, 0, 62, 37, 10, 12, 1031, L"msctls_updown32", L"Spin1" },
    { WS_VISIBLE | WS_BORDER | ES_NUMBER | ES_RIGHT, 0, 38, 60, 40, 12, 1114, L"EDIT", L"" },
    { WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, 0, 0, 0, 10, 12, 1115,
        L"msctls_updown32", L"" },
};
const DLGTEMPLATE kPage = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 4, 0, 0, 130, 135, L"", 8, L"DejaVu Sans", kItems };

std::vector<std::pair<UINT, int>> g_events; // code or scroll message, and iDelta or position
int g_changeDeltaTo = 0;
bool g_refuse = false;

// Steps the threshold field itself, as the meter page does, and lets the control proceed.
INT_PTR MeterPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
        auto* note = reinterpret_cast<NMUPDOWN*>(lParam);
        g_events.emplace_back(UDN_DELTAPOS, note->iDelta);
        if (note->hdr.idFrom == 1031) {
            wchar_t text[11] = {};
            GetDlgItemTextW(dialog, 1026, text, 11);
            int n = static_cast<int>(wcstol(text, nullptr, 10));
            n = note->iDelta < 1 ? n + 1 : n - 1;
            n = std::clamp(n, 1, 99);
            SetDlgItemTextW(dialog, 1026, std::to_wstring(n).c_str());
        }
        if (g_changeDeltaTo != 0)
            note->iDelta = g_changeDeltaTo;
        SetWindowLongW(dialog, DWL_MSGRESULT, g_refuse ? TRUE : FALSE);
        return TRUE;
    }
    if (message == WM_VSCROLL)
        g_events.emplace_back(WM_VSCROLL, LOWORD(wParam) == SB_ENDSCROLL ? -1 : HIWORD(wParam));
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[16] = {};
    GetDlgItemTextW(dialog, id, text, 16);
    return text;
}

} // namespace

TEST(UpDownRulesTest, StepsStayInTheRangeOrWrap)
{
    EXPECT_EQ(UpDownNextPosition(0, -1, 100, 0, false), 0);
    EXPECT_EQ(UpDownNextPosition(5, 1, 100, 0, false), 6);
    EXPECT_EQ(UpDownNextPosition(100, 1, 100, 0, false), 100);
    EXPECT_EQ(UpDownNextPosition(100, 1, 0, 100, true), 0);
    EXPECT_EQ(UpDownNextPosition(0, -1, 0, 100, true), 100);
    EXPECT_EQ(UpDownNextPosition(0x7FFFFFFF, 1, 0, 0x7FFFFFFF, false), 0x7FFFFFFF);
}

TEST_F(UpDownTest, TheDefaultRangeGivesTheUpArrowANegativeStep)
{
    g_events.clear();
    g_changeDeltaTo = 0;
    g_refuse = false;
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, MeterPageProc, 0);
    HWND spin = GetDlgItem(page, 1031);
    EXPECT_EQ(SendMessageW(spin, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    EXPECT_EQ(SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, 1026)), 0), 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), GetDlgItem(page, 1026));
    SetDlgItemTextW(page, 1026, L"98");

    m_driver.Spin(spin, 2);
    EXPECT_EQ(Text(page, 1026), L"99"); // up from 98, then held at 99 by the page
    ASSERT_EQ(g_events.size(), 6u);
    EXPECT_EQ(g_events[0], (std::pair<UINT, int> { UDN_DELTAPOS, -1 }));
    EXPECT_EQ(g_events[1], (std::pair<UINT, int> { WM_VSCROLL, 0 })); // the position stays at the limit
    EXPECT_EQ(g_events[2], (std::pair<UINT, int> { WM_VSCROLL, -1 }));

    g_events.clear();
    m_driver.Spin(spin, -3);
    EXPECT_EQ(Text(page, 1026), L"96");
    EXPECT_EQ(g_events[0], (std::pair<UINT, int> { UDN_DELTAPOS, 1 }));
    // Without UDS_SETBUDDYINT the control never writes the buddy.
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS, 0, 0), MAKELONG(3, 0));
}

TEST_F(UpDownTest, ABuddyIntegerIsReadStepAndWrittenBack)
{
    g_events.clear();
    g_changeDeltaTo = 0;
    g_refuse = false;
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, MeterPageProc, 0);
    HWND cap = GetDlgItem(page, 1114);
    HWND spin = GetDlgItem(page, 1115);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), cap); // UDS_AUTOBUDDY
    EXPECT_EQ(Text(page, 1114), L"0");
    // Aligned right: the arrows take the right end of the field's old place.
    RECT capRect;
    RECT spinRect;
    GetWindowRect(cap, &capRect);
    GetWindowRect(spin, &spinRect);
    EXPECT_EQ(spinRect.left, capRect.right);
    EXPECT_EQ(spinRect.top, capRect.top);
    EXPECT_EQ(capRect.right - capRect.left + spinRect.right - spinRect.left, (40 * 7 + 2) / 4);

    SendMessageW(spin, UDM_SETRANGE32, 100, 5000);
    SetWindowTextW(cap, L"4999"); // typed by the user
    m_driver.Spin(spin, 2);
    EXPECT_EQ(Text(page, 1114), L"5,000");
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 5000);

    g_changeDeltaTo = -100;
    m_driver.Spin(spin, 1);
    EXPECT_EQ(Text(page, 1114), L"4,900");
    g_changeDeltaTo = 0;
    g_refuse = true;
    m_driver.Spin(spin, -1);
    EXPECT_EQ(Text(page, 1114), L"4,900");

    SetWindowTextW(cap, L"lots");
    BOOL failed = FALSE;
    SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    EXPECT_TRUE(failed);
    EXPECT_EQ(SendMessageW(spin, UDM_SETPOS32, 0, 7000), 4900);
    EXPECT_EQ(Text(page, 1114), L"5,000");
}
