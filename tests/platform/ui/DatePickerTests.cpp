#include "UiTestSupport.h"

#include "platform/ui/CommCtrl.h"

using namespace ui_test;

namespace {

class DatePickerTest : public UiTest { };

const DLGITEMTEMPLATE kItems[] = {
    { WS_VISIBLE | WS_TABSTOP, 0, 20, 5, 60, 12, 1101, L"SysDateTimePick32", L"DateTimePicker1" },
};
const DLGTEMPLATE kPage = { WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 1, 0, 0, 130, 135, L"", 8, L"DejaVu Sans", kItems };

struct Seen {
    UINT code;
    DWORD flags;
    SYSTEMTIME time;
};
std::vector<Seen> g_seen;

INT_PTR ReportPageProc(HWND, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        Seen seen { header->code, 0, {} };
        if (header->code == DTN_DATETIMECHANGE) {
            auto* change = reinterpret_cast<NMDATETIMECHANGE*>(lParam);
            seen.flags = change->dwFlags;
            seen.time = change->st;
        }
        g_seen.push_back(seen);
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

SYSTEMTIME Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME time {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return time;
}

SYSTEMTIME Value(HWND picker)
{
    SYSTEMTIME time {};
    EXPECT_EQ(SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)), GDT_VALID);
    return time;
}

} // namespace

TEST_F(DatePickerTest, ANewPickerShowsNowAndTheRangeHoldsIt)
{
    m_clock.SetLocal(2006, 3, 7, 14, 5, 9);
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, ReportPageProc, 0);
    HWND picker = GetDlgItem(page, 1101);
    SYSTEMTIME now = Value(picker);
    EXPECT_EQ(now.wYear, 2006);
    EXPECT_EQ(now.wMonth, 3);
    EXPECT_EQ(now.wDay, 7);
    EXPECT_EQ(now.wHour, 14);
    EXPECT_EQ(now.wDayOfWeek, 2); // a Tuesday

    SYSTEMTIME range[2] = { Date(2005, 11, 1), Date(2006, 3, 7, 14, 5, 9) };
    EXPECT_TRUE(SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME back[2] = {};
    EXPECT_EQ(SendMessageW(picker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(back[0].wMonth, 11);

    SYSTEMTIME outside = Date(2006, 4, 1);
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&outside)));
    SYSTEMTIME invalid = Date(2006, 2, 29);
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&invalid)));
    EXPECT_FALSE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0)); // no DTS_SHOWNONE
    SYSTEMTIME inside = Date(2005, 12, 24, 8, 30, 0);
    EXPECT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&inside)));
    EXPECT_EQ(Value(picker).wDay, 24);
    EXPECT_TRUE(g_seen.empty()); // the program's changes are not announced

    // A narrower range moves the date to its nearer end.
    SYSTEMTIME later[2] = { Date(2006, 1, 1), Date(2006, 3, 7) };
    SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(later));
    SYSTEMTIME moved = Value(picker);
    EXPECT_EQ(moved.wYear, 2006);
    EXPECT_EQ(moved.wMonth, 1);
    EXPECT_EQ(moved.wDay, 1);
    EXPECT_EQ(moved.wHour, 8); // the time of day is kept
}

TEST_F(DatePickerTest, APickIsAnnouncedBetweenDropDownAndCloseUp)
{
    m_clock.SetLocal(2006, 3, 7, 14, 5, 9);
    g_seen.clear();
    HWND page = CreateDialogIndirectParamW(TestInstance(), &kPage, nullptr, ReportPageProc, 0);
    HWND picker = GetDlgItem(page, 1101);
    SYSTEMTIME range[2] = { Date(2005, 11, 1), Date(2006, 3, 7, 14, 5, 9) };
    SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));

    m_driver.PickDate(picker, 2006, 2, 28);
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[0].code, DTN_DROPDOWN);
    EXPECT_EQ(g_seen[1].code, DTN_DATETIMECHANGE);
    EXPECT_EQ(g_seen[1].flags, GDT_VALID);
    EXPECT_EQ(g_seen[1].time.wDay, 28);
    EXPECT_EQ(g_seen[1].time.wHour, 14); // the picker's time of day
    EXPECT_EQ(g_seen[2].code, DTN_CLOSEUP);

    g_seen.clear();
    m_driver.PickDate(picker, 2006, 2, 28); // the same day: nothing changed
    EXPECT_EQ(g_seen.size(), 2u);
    g_seen.clear();
    m_driver.PickDate(picker, 2004, 6, 1); // before the range: its first day
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[1].time.wYear, 2005);
    EXPECT_EQ(g_seen[1].time.wMonth, 11);
    EXPECT_EQ(g_seen[1].time.wDay, 1);
}
