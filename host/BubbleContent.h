// What a notification bubble shows when no HTML viewer is at hand: the HTML's text with its
// line breaks, and its "cmd:N" buttons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

struct BubbleButton {
    int command = 0;   // N of name='cmd:N'
    std::wstring label; // value='...'
};

struct BubbleContent {
    std::wstring text;
    std::vector<BubbleButton> buttons;
};

// Tags are dropped; <br> and <p> break lines; entities &lt; &gt; &amp; &quot; &nbsp; are
// decoded; white space runs become one blank. Inputs of type button named cmd:N become buttons.
BubbleContent ParseBubbleHtml(std::wstring_view html);

} // namespace host
