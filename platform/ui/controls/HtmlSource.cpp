#include "platform/ui/controls/HtmlSource.h"

#include <cwctype>
#include <map>

#include "platform/text/WideString.h"

namespace platform::ui {

namespace {

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// The attributes of a tag's text (what lies between its name and ">"), names lower-cased;
// values quoted with ' or " or not at all.
std::map<std::wstring, std::wstring> Attributes(std::wstring_view text)
{
    std::map<std::wstring, std::wstring> attributes;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (IsSpace(text[i]) || text[i] == L'/'))
            ++i;
        size_t nameStart = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != L'=' && text[i] != L'/')
            ++i;
        std::wstring name = WideToLower(text.substr(nameStart, i - nameStart));
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        std::wstring value;
        if (i < text.size() && text[i] == L'=') {
            ++i;
            while (i < text.size() && IsSpace(text[i]))
                ++i;
            if (i < text.size() && (text[i] == L'\'' || text[i] == L'"')) {
                wchar_t quote = text[i++];
                size_t end = text.find(quote, i);
                if (end == std::wstring_view::npos)
                    end = text.size();
                value = std::wstring(text.substr(i, end - i));
                i = end + 1;
            } else {
                size_t valueStart = i;
                while (i < text.size() && !IsSpace(text[i]))
                    ++i;
                value = std::wstring(text.substr(valueStart, i - valueStart));
            }
        }
        if (!name.empty())
            attributes[name] = value;
        else if (i == nameStart)
            ++i;
    }
    return attributes;
}

// "#RGB", "#RRGGBB" or a colour's name: nothing that could end the style attribute.
bool SafeColour(const std::wstring& colour)
{
    for (wchar_t c : colour)
        if (!std::iswalnum(static_cast<wint_t>(c)) && c != L'#')
            return false;
    return true;
}

int CommandOf(const std::wstring& name)
{
    std::wstring lower = WideToLower(name);
    if (lower.compare(0, 4, L"cmd:") != 0 || lower.size() == 4 || lower.size() > 13)
        return -1;
    int command = 0;
    for (size_t i = 4; i < lower.size(); ++i) {
        if (lower[i] < L'0' || lower[i] > L'9')
            return -1;
        command = command * 10 + (lower[i] - L'0');
    }
    return command <= 0xFFFF ? command : -1;
}

} // namespace

HtmlPage PageForQt(std::wstring_view source)
{
    HtmlPage page;
    size_t tableAt = std::wstring::npos; // where the open table's attributes go in page.html
    bool tableColoured = false;
    size_t at = 0;
    while (at < source.size()) {
        size_t open = source.find(L'<', at);
        if (open == std::wstring_view::npos) {
            page.html.append(source.substr(at));
            break;
        }
        page.html.append(source.substr(at, open - at));
        size_t close = source.find(L'>', open);
        if (close == std::wstring_view::npos) {
            page.html.append(source.substr(open));
            break;
        }
        std::wstring_view tag = source.substr(open + 1, close - open - 1);
        size_t nameEnd = 0;
        while (nameEnd < tag.size() && !IsSpace(tag[nameEnd]) && tag[nameEnd] != L'/')
            ++nameEnd;
        if (WideToLower(tag.substr(0, nameEnd)) == L"input") {
            auto attributes = Attributes(tag.substr(nameEnd));
            std::wstring type = WideToLower(attributes[L"type"]);
            if (type == L"button" || type == L"submit") {
                HtmlButton button { attributes[L"name"], attributes[L"value"], CommandOf(attributes[L"name"]) };
                std::wstring key = L"velmora-button:" + std::to_wstring(page.buttons.size());
                page.html += L"<a href=\"" + key + L"\"><img src=\"" + key + L"\"></a>";
                page.buttons.push_back(std::move(button));
            }
            // Other form fields are not shown.
        } else {
            std::wstring name = WideToLower(tag.substr(0, nameEnd));
            // Qt's rich text draws a table's grid in one colour and knows no bordercolor
            // attribute: the table's own, or else its first row's, becomes the table's
            // border-color style, which it does know.
            if (name == L"table") {
                tableAt = page.html.size() + 1 + nameEnd;
                tableColoured = false;
            }
            std::wstring border = name == L"table" || name == L"tr" ? Attributes(tag.substr(nameEnd))[L"bordercolor"] : L"";
            page.html.append(source.substr(open, close - open + 1));
            if (!border.empty() && SafeColour(border) && !tableColoured && tableAt != std::wstring::npos) {
                page.html.insert(tableAt, L" style=\"border-color:" + border + L"\"");
                tableColoured = true;
            }
            if (name == L"/table")
                tableAt = std::wstring::npos;
        }
        at = close + 1;
    }
    return page;
}

std::wstring PlainTextAsHtml(std::wstring_view text)
{
    std::wstring html;
    for (wchar_t c : text) {
        switch (c) {
        case L'&':
            html += L"&amp;";
            break;
        case L'<':
            html += L"&lt;";
            break;
        case L'>':
            html += L"&gt;";
            break;
        case L'\n':
            html += L"<br>";
            break;
        case L'\r':
            break;
        default:
            html += c;
        }
    }
    return html;
}

} // namespace platform::ui
