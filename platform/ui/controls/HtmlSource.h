// The page an HTML viewer was given, turned into the HTML Qt's rich-text engine renders: form
// buttons become images of push buttons inside links that carry their command, and plain text
// is escaped. Pure functions, tested on their own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

struct HtmlButton {
    std::wstring name;  // the name attribute, "cmd:10"
    std::wstring label; // the value attribute
    int command = -1;   // N of "cmd:N", -1 for another name
};

struct HtmlPage {
    std::wstring html; // for Qt: each button is <a href="velmora-button:K"><img src="velmora-button:K"></a>
    std::vector<HtmlButton> buttons; // K is the index here
};

HtmlPage PageForQt(std::wstring_view source);
// Plain text as HTML: escaped, lines kept.
std::wstring PlainTextAsHtml(std::wstring_view text);

} // namespace platform::ui
