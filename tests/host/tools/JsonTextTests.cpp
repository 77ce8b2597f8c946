#include "host/tools/JsonText.h"

#include <gtest/gtest.h>

TEST(JsonText, EscapesQuotesBackslashesAndControlsAndKeepsUtf8)
{
    EXPECT_EQ(host::JsonString(L""), "\"\"");
    EXPECT_EQ(host::JsonString(L"say \"hi\" C:\\x"), R"("say \"hi\" C:\\x")");
    EXPECT_EQ(host::JsonString(L"a\tb\r\nc\x01\x1f"), R"("a\tb\r\nc\u0001\u001f")");
    EXPECT_EQ(host::JsonString(L"\x0421\x0435\x0442\x044c"), "\"\xD0\xA1\xD0\xB5\xD1\x82\xD1\x8C\"");
}
