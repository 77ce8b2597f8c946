#include "UiTestSupport.h"

#include "platform/ui/HtmlCtrl.h"
#include "platform/ui/controls/HtmlSource.h"

using namespace ui_test;
using platform::ui::PageForQt;

namespace {

class HtmlViewerTest : public UiTest {
protected:
    HtmlViewerTest()
    {
        EXPECT_TRUE(InitHTMLControl(TestInstance()));
        EXPECT_TRUE(InitHTMLControl(TestInstance())); // again: already there
    }

    HWND MakeViewer(HWND& page)
    {
        page = MakeTopLevel(WS_POPUP | WS_VISIBLE, RECT { 0, 0, 240, 268 });
        HWND viewer = CreateWindowExW(0, WC_HTML, nullptr, WS_CHILD | WS_VISIBLE, 4, 33, 232, 200, page, nullptr,
            TestInstance(), nullptr);
        EXPECT_NE(viewer, nullptr);
        SendMessageW(viewer, WM_USER + 115, 0, 0);
        SendMessageW(viewer, WM_USER + 116, 0, 1);
        return viewer;
    }
};

const wchar_t kAlert[] = L"<html><body><font color=\"#FF0000\"><b>Alert: </b></font><p>50 MB has been transferred "
                         L"(both directions) since 3/7/2006 14:05:09. <p><p align=center><form method=\"POST\" "
                         L"action=><input type=button name='cmd:10' value='Ok'></p></body></html>";

void Add(HWND viewer, const wchar_t* text, BOOL plain = FALSE)
{
    SendMessageW(viewer, DTM_ADDTEXTW, static_cast<WPARAM>(plain), reinterpret_cast<LPARAM>(text));
}

} // namespace

TEST(HtmlSourceTest, FormButtonsBecomeImagesInLinksAndOtherFieldsGo)
{
    auto page = PageForQt(kAlert);
    ASSERT_EQ(page.buttons.size(), 1u);
    EXPECT_EQ(page.buttons[0].name, L"cmd:10");
    EXPECT_EQ(page.buttons[0].label, L"Ok");
    EXPECT_EQ(page.buttons[0].command, 10);
    EXPECT_NE(page.html.find(L"<a href=\"velmora-button:0\"><img src=\"velmora-button:0\"></a></p></body>"),
        std::wstring::npos);
    EXPECT_EQ(page.html.find(L"input"), std::wstring::npos);

    page = PageForQt(L"a<INPUT TYPE=\"Submit\" VALUE=\"Go on\" NAME=cmd:7 />b<input type=text name=x>"
                     L"<input type=button name=\"close\" value=Close>c");
    ASSERT_EQ(page.buttons.size(), 2u);
    EXPECT_EQ(page.buttons[0].command, 7);
    EXPECT_EQ(page.buttons[0].label, L"Go on");
    EXPECT_EQ(page.buttons[1].command, -1); // not a command
    EXPECT_EQ(page.html.substr(0, 1), L"a");
    EXPECT_NE(page.html.find(L"</a>b<a"), std::wstring::npos);
    EXPECT_EQ(page.html.back(), L'c');

    for (const wchar_t* name : { L"cmd:", L"cmd:x1", L"cmd:99999999999", L"cmd:65536" })
        EXPECT_EQ(PageForQt(std::wstring(L"<input type=button name='") + name + L"'>").buttons[0].command, -1) << name;
    EXPECT_EQ(PageForQt(L"unterminated <input type=button").html, L"unterminated <input type=button");
}

TEST_F(HtmlViewerTest, ThePageIsShownAsItArrivesAndWholeAtTheEnd)
{
    HWND page = nullptr;
    HWND viewer = MakeViewer(page);
    Add(viewer, L"<table width=\"100%\" align=\"center\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"> ");
    Add(viewer, L"<tr> <td align=center>");
    Add(viewer, L"<strong>Hourly Traffic: March 7, 2006</strong>");
    m_driver.Pump(); // shown before the end of the source
    EXPECT_NE(platform::HtmlViewerText(viewer).find(L"Hourly Traffic: March 7, 2006"), std::wstring::npos);
    Add(viewer, L"</td></tr>");
    Add(viewer, L"<tr> <td align=center><font size=2>All Network Adapters</font></td></tr></table>");
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
    std::wstring text = platform::HtmlViewerText(viewer);
    EXPECT_NE(text.find(L"All Network Adapters"), std::wstring::npos);
    EXPECT_EQ(text.find(L"<td"), std::wstring::npos);
    EXPECT_EQ(platform::HtmlViewerSource(viewer).substr(0, 12), L"<table width");

    SendMessageW(viewer, DTM_CLEAR, 0, 0);
    EXPECT_TRUE(platform::HtmlViewerSource(viewer).empty());
    EXPECT_TRUE(platform::HtmlViewerText(viewer).empty());

    Add(viewer, L"a < b & c\r\nnext", TRUE);
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
    EXPECT_EQ(platform::HtmlViewerText(viewer), L"a < b & c\nnext");
}

TEST_F(HtmlViewerTest, ACommandButtonSendsItsCommandToTheParent)
{
    HWND page = nullptr;
    HWND viewer = MakeViewer(page);
    Add(viewer, kAlert);
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
    m_driver.Pump();
    Log().clear();
    m_driver.ClickHtmlCommand(viewer, 10);
    auto commands = LoggedKinds(page, { WM_COMMAND });
    ASSERT_EQ(commands.size(), 1u);
    const LoggedMessage& command = *std::find_if(Log().begin(), Log().end(),
        [](const LoggedMessage& m) { return m.message == WM_COMMAND; });
    EXPECT_EQ(LOWORD(command.wParam), 10);
    EXPECT_EQ(command.lParam, reinterpret_cast<LPARAM>(viewer));
    EXPECT_TRUE(m_driver.Faults().empty());

    m_driver.ClickHtmlCommand(viewer, 11);
    EXPECT_EQ(m_driver.Faults().size(), 1u);

    // The button is drawn as a push button: a grey face in the middle of the page's last line.
    platform::Pixels pixels = platform::CaptureWindow(viewer);
    int grey = 0;
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            COLORREF c = pixels.At(x, y);
            if (c != RGB(255, 255, 255) && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c)
                && GetRValue(c) > 200)
                ++grey;
        }
    }
    EXPECT_GT(grey, 100);
}

TEST(HtmlSourceTest, ARowsBorderColourBecomesItsTablesStyle)
{
    EXPECT_EQ(PageForQt(L"<table border=\"1\"> <tr bordercolor=\"#666666\" bgcolor=\"#FFFF00\"><td>a</td></tr>"
                        L"<tr bordercolor=\"#123456\"><td>b</td></tr></table><table><tr><td>c</td></tr></table>")
                  .html,
        L"<table style=\"border-color:#666666\" border=\"1\"> <tr bordercolor=\"#666666\" bgcolor=\"#FFFF00\"><td>a</td></tr>"
        L"<tr bordercolor=\"#123456\"><td>b</td></tr></table><table><tr><td>c</td></tr></table>");
    EXPECT_EQ(PageForQt(L"<TABLE BorderColor=red><tr><td>a</td></tr></TABLE>").html,
        L"<TABLE style=\"border-color:red\" BorderColor=red><tr><td>a</td></tr></TABLE>");
    // Nothing that could close the style and add to it.
    EXPECT_EQ(PageForQt(L"<table><tr bordercolor='red\" onclick=\"x'><td>a</td></tr></table>").html.find(L"style"),
        std::wstring::npos);
}

// The usage report's table: a grid whose rows carry their border and background colours, a
// heading in a smaller font.
TEST_F(HtmlViewerTest, TableRowsShowTheirBackgroundAndBorderColours)
{
    HWND page = nullptr;
    HWND viewer = MakeViewer(page);
    Add(viewer, L"<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"0\"> ");
    Add(viewer, L"<tr bordercolor=\"#FF0000\" bgcolor=\"#FFFF00\"><td align=center> Hour</td></tr>");
    Add(viewer, L"<tr bordercolor=\"#FF0000\" bgcolor=\"#DDDDDD\"><td align=center>2-3 PM</td></tr>\n</table>");
    SendMessageW(viewer, DTM_ENDOFSOURCE, 0, 0);
    m_driver.Pump();
    platform::Pixels shown = platform::CaptureWindow(viewer);
    int yellow = 0, grey = 0, red = 0;
    for (COLORREF pixel : shown.rgb) {
        COLORREF c = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        yellow += c == RGB(255, 255, 0) ? 1 : 0;
        grey += c == RGB(0xDD, 0xDD, 0xDD) ? 1 : 0;
        red += c == RGB(255, 0, 0) ? 1 : 0;
    }
    EXPECT_GT(yellow, 1000);
    EXPECT_GT(grey, 1000);
    EXPECT_GT(red, 200); // the rows' border colour reaches the grid
}
