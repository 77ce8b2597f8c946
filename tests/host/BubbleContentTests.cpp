// The bubble's HTML as text and buttons, for the meter alert and for odd HTML.
#include <gtest/gtest.h>

#include "host/BubbleContent.h"

using host::ParseBubbleHtml;

TEST(BubbleContent, TheMeterAlertBecomesItsSentencesAndOneOkButton)
{
    host::BubbleContent content = ParseBubbleHtml(
        L"<html><body><font color=\"#FF0000\"><b>Alert: </b></font><p>50 MB has been transferred (both directions) "
        L"since 3/7/2006\n14:05:09.<br>The meter has been reset.  <p><p align=center><form method=\"POST\" action=>"
        L"<input type=button name='cmd:10' value='Ok'></p></body></html>");
    EXPECT_EQ(content.text, L"Alert:\n50 MB has been transferred (both directions) since 3/7/2006 14:05:09.\n"
                            L"The meter has been reset.");
    ASSERT_EQ(content.buttons.size(), 1u);
    EXPECT_EQ(content.buttons[0].command, 10);
    EXPECT_EQ(content.buttons[0].label, L"Ok");
}

TEST(BubbleContent, EntitiesAttributesAndWhatIsNoButton)
{
    host::BubbleContent content = ParseBubbleHtml(
        L"a &lt;b&gt; &amp;&quot;c&quot;&nbsp;d &unknown;"
        L"<input type=\"button\" name=\"CMD:2\" value=\"Dismiss now\">"
        L"<input type=text name='cmd:3' value='x'>"
        L"<input type=button name='go' value='y'>"
        L"<input type=button value='z' name=cmd:7>"
        L"<unclosed");
    EXPECT_EQ(content.text, L"a <b> &\"c\" d &unknown;");
    ASSERT_EQ(content.buttons.size(), 2u);
    EXPECT_EQ(content.buttons[0].command, 2);
    EXPECT_EQ(content.buttons[0].label, L"Dismiss now");
    EXPECT_EQ(content.buttons[1].command, 7);
    EXPECT_EQ(content.buttons[1].label, L"z");
}

TEST(BubbleContent, EmptyAndTagOnlyHtml)
{
    EXPECT_EQ(ParseBubbleHtml(L"").text, L"");
    EXPECT_EQ(ParseBubbleHtml(L"<p><br><p>").text, L"");
    EXPECT_TRUE(ParseBubbleHtml(L"<p><br><p>").buttons.empty());
}
