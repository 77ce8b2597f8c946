// The script language: each action's shape, and the errors that name their line.
#include <gtest/gtest.h>

#include "host/modes/Script.h"

using host::ParseScript;
using host::ScriptVerb;

TEST(Script, ReadsEveryAction)
{
    host::ScriptParseResult script = ParseScript("# a comment\n"
                                                 "wait 2.25\n"
                                                 "tap 120 40   # trailing comment\n"
                                                 "tap item 230 -4\n"
                                                 "\n"
                                                 "options\n"
                                                 "click 1034\n"
                                                 "click ok\n"
                                                 "click cmd:10\n"
                                                 "type 1020 \"two words \\\"quoted\\\"\"\n"
                                                 "pick 1030 \"Meter\"\n"
                                                 "pick 1030 @2\n"
                                                 "answer yes\n"
                                                 "choose \"\\My Documents\\a.vlm\"\n"
                                                 "rotate\n"
                                                 "screenshot out.png\n"
                                                 "print\n"
                                                 "read 1036\n");
    ASSERT_EQ(script.error, "");
    const auto& a = script.actions;
    ASSERT_EQ(a.size(), 16u);
    EXPECT_EQ(a[0].verb, ScriptVerb::Wait);
    EXPECT_EQ(a[0].ms, 2250);
    EXPECT_EQ(a[0].line, 2);
    EXPECT_EQ(a[1].verb, ScriptVerb::Tap);
    EXPECT_EQ(a[1].x, 120);
    EXPECT_EQ(a[1].y, 40);
    EXPECT_EQ(a[2].verb, ScriptVerb::TapItem);
    EXPECT_EQ(a[2].y, -4);
    EXPECT_EQ(a[3].verb, ScriptVerb::Options);
    EXPECT_EQ(a[4].control, 1034);
    EXPECT_FALSE(a[4].titleBarOk);
    EXPECT_TRUE(a[5].titleBarOk);
    EXPECT_TRUE(a[6].pageCommand);
    EXPECT_EQ(a[6].control, 10);
    EXPECT_EQ(a[7].text, "two words \"quoted\"");
    EXPECT_EQ(a[8].text, "Meter");
    EXPECT_EQ(a[8].index, -1);
    EXPECT_EQ(a[9].index, 2);
    EXPECT_EQ(a[10].text, "yes");
    EXPECT_EQ(a[11].text, "\\My Documents\\a.vlm");
    EXPECT_EQ(a[12].verb, ScriptVerb::Rotate);
    EXPECT_EQ(a[13].text, "out.png");
    EXPECT_EQ(a[14].verb, ScriptVerb::Print);
    EXPECT_EQ(a[15].verb, ScriptVerb::Read);
    EXPECT_EQ(a[15].control, 1036);
}

TEST(Script, RefusesMalformedActionsWithTheirLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        { "wait\n", "1: \"wait\" takes a number of seconds" },
        { "wait 1.2345\n", "1: \"wait\" takes a number of seconds, not \"1.2345\"" },
        { "wait -1\n", "1: \"wait\" takes a number of seconds, not \"-1\"" },
        { "print\ntap 1\n", "2: \"tap\" takes X Y, or item X Y" },
        { "tap here 3\n", "1: \"tap\" takes whole numbers for X and Y" },
        { "click twice\n", "1: \"click\" takes a control id, ok or cmd:N, not \"twice\"" },
        { "click cmd:x\n", "1: \"click\" takes cmd:N with a number N" },
        { "type 1020\n", "1: \"type\" takes a control id and a text" },
        { "pick 1030 @-1\n", "1: \"pick\" takes @N with N from 0" },
        { "answer maybe\n", "1: \"answer\" takes yes, no, ok or cancel, not \"maybe\"" },
        { "tab\n", "1: \"tab\" takes a tab's label" },
        { "check 1052 maybe\n", "1: \"check\" takes on or off, not \"maybe\"" },
        { "check bold on\n", "1: \"check\" takes a control id, not \"bold\"" },
        { "rotate now\n", "1: \"rotate\" takes nothing more" },
        { "read\n", "1: \"read\" takes a control id" },
        { "read status\n", "1: \"read\" takes a control id, not \"status\"" },
        { "type 1 \"open\n", "1: a quoted word is not closed" },
        { "\n\nfly\n", "3: unknown action \"fly\"" },
    };
    for (const Case& test : cases) {
        host::ScriptParseResult script = ParseScript(test.text);
        EXPECT_EQ(script.error, test.error) << test.text;
        EXPECT_TRUE(script.actions.empty());
    }
}
