#include "UiTestSupport.h"

#include "platform/core/LastError.h"

using namespace ui_test;
using Info = platform::VirtualDriver::MessageBoxInfo;

namespace {

class MessageBoxTest : public UiTest { };

std::wstring ItemText(HWND box, int id)
{
    wchar_t text[64] = {};
    GetDlgItemTextW(box, id, text, 64);
    return text;
}

} // namespace

TEST_F(MessageBoxTest, AQuestionIsAnsweredByTheHandlerWhileTheOwnersTimerGoesOn)
{
    HWND owner = MakeTopLevel();
    SetTimer(owner, 11, 1000, nullptr);
    m_driver.Pump();
    Log().clear();
    bool ownerDisabled = false;
    std::wstring yes;
    std::wstring no;
    m_driver.OnMessageBox([&](const Info& info) {
        ownerDisabled = !IsWindowEnabled(owner);
        yes = ItemText(info.window, IDYES);
        no = ItemText(info.window, IDNO);
        m_driver.AdvanceSeconds(2);
        return IDYES;
    });
    int answer = MessageBoxW(owner, L"Would you like to create a debug file?", L"Velmora", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(answer, IDYES);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(yes, L"Yes");
    EXPECT_EQ(no, L"No");
    EXPECT_EQ(LoggedKinds(owner, { WM_TIMER }).size(), 2u);
    ASSERT_EQ(m_driver.MessageBoxes().size(), 1u);
    const Info& shown = m_driver.MessageBoxes()[0];
    EXPECT_EQ(shown.owner, owner);
    EXPECT_EQ(shown.caption, L"Velmora");
    EXPECT_EQ(shown.text, L"Would you like to create a debug file?");
    EXPECT_EQ(shown.type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_TRUE(m_driver.Faults().empty());
    EXPECT_EQ(platform::LiveWindowCount(), 1u);
}

TEST_F(MessageBoxTest, AnUnansweredBoxIsClosedAsTheUserWouldAndNoted)
{
    EXPECT_EQ(MessageBoxW(nullptr, L"Invalid date range.", L"Velmora", MB_OK | MB_ICONSTOP), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, L"Continue?", L"Velmora", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"Delete?", L"Velmora", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(m_driver.Faults().size(), 3u);

    m_driver.AnswerMessageBox(IDYES); // a box with only OK has no Yes
    EXPECT_EQ(MessageBoxW(nullptr, L"Saved.", L"Velmora", MB_OK), IDOK);
    EXPECT_EQ(m_driver.Faults().size(), 4u);
    EXPECT_EQ(m_driver.PendingHandlers(), 0u);
}

TEST_F(MessageBoxTest, TheBoxShowsItsCaptionTextAndDefaultButtonOnTheScreen)
{
    RECT box {};
    int focused = 0;
    COLORREF strip = 0;
    std::wstring text;
    m_driver.OnMessageBox([&](const Info& info) {
        GetWindowRect(info.window, &box);
        focused = GetDlgCtrlID(GetFocus());
        strip = platform::CaptureWindow(info.window).At(4, 4);
        HWND label = GetWindow(info.window, GW_CHILD);
        wchar_t buffer[128] = {};
        GetWindowTextW(label, buffer, 128);
        text = buffer;
        return IDNO;
    });
    const wchar_t* question = L"Are you sure you wish to delete the profile Office?";
    EXPECT_EQ(MessageBoxW(nullptr, question, nullptr, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(m_driver.MessageBoxes().back().caption, L"Error"); // no caption given
    EXPECT_EQ(text, question);
    EXPECT_EQ(focused, IDNO);
    EXPECT_EQ(strip, RGB(0, 51, 153));
    EXPECT_EQ(box.left, 8);
    EXPECT_EQ(box.right, 240 - 8);
    EXPECT_GT(box.top, 0);
    EXPECT_LT(box.bottom, 320);
    EXPECT_EQ(box.top, (320 - (box.bottom - box.top)) / 2);
}

TEST_F(MessageBoxTest, ADeadOwnerShowsNothing)
{
    HWND owner = MakeTopLevel();
    DestroyWindow(owner);
    EXPECT_EQ(MessageBoxW(owner, L"x", L"y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(m_driver.MessageBoxes().empty());
}
