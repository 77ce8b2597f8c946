#include "host/BubbleContent.h"

#include "platform/text/WideString.h"

namespace host {

namespace {

// The value of an attribute in a tag's text, quoted with ' or " or bare; empty when absent.
std::wstring Attribute(std::wstring_view tag, std::wstring_view name)
{
    std::wstring lower = WideToLower(tag);
    std::wstring wanted = WideToLower(name) + L"=";
    size_t at = 0;
    while ((at = lower.find(wanted, at)) != std::wstring::npos) {
        // A whole attribute name: preceded by a blank.
        if (at == 0 || lower[at - 1] == L' ' || lower[at - 1] == L'\t' || lower[at - 1] == L'\n')
            break;
        at += wanted.size();
    }
    if (at == std::wstring::npos)
        return {};
    size_t start = at + wanted.size();
    if (start >= tag.size())
        return {};
    wchar_t quote = tag[start];
    if (quote == L'\'' || quote == L'"') {
        size_t end = tag.find(quote, start + 1);
        return std::wstring(tag.substr(start + 1, end == std::wstring_view::npos ? std::wstring_view::npos : end - start - 1));
    }
    size_t end = tag.find_first_of(L" \t\n>", start);
    return std::wstring(tag.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
}

std::wstring TagName(std::wstring_view tag)
{
    size_t start = tag.find_first_not_of(L"/ ");
    if (start == std::wstring_view::npos)
        return {};
    size_t end = tag.find_first_of(L" \t\n/", start);
    return WideToLower(tag.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
}

void AppendText(std::wstring& out, std::wstring_view text)
{
    for (wchar_t ch : text) {
        bool blank = ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
        if (blank) {
            if (!out.empty() && out.back() != L' ' && out.back() != L'\n')
                out += L' ';
        } else {
            out += ch;
        }
    }
}

void BreakLine(std::wstring& out)
{
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    out += L'\n';
}

std::wstring DecodeEntities(std::wstring_view text)
{
    static const std::pair<std::wstring_view, wchar_t> kEntities[] = {
        { L"&lt;", L'<' }, { L"&gt;", L'>' }, { L"&amp;", L'&' }, { L"&quot;", L'"' }, { L"&nbsp;", L' ' },
    };
    std::wstring out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == L'&') {
            for (const auto& [entity, ch] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += ch;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

} // namespace

BubbleContent ParseBubbleHtml(std::wstring_view html)
{
    BubbleContent content;
    std::wstring text;
    size_t i = 0;
    while (i < html.size()) {
        size_t open = html.find(L'<', i);
        AppendText(text, html.substr(i, open == std::wstring_view::npos ? std::wstring_view::npos : open - i));
        if (open == std::wstring_view::npos)
            break;
        size_t close = html.find(L'>', open);
        if (close == std::wstring_view::npos)
            break;
        std::wstring_view tag = html.substr(open + 1, close - open - 1);
        std::wstring name = TagName(tag);
        if (name == L"br" || name == L"p") {
            BreakLine(text);
        } else if (name == L"input" && EqualsNoCase(Attribute(tag, L"type"), L"button")) {
            std::wstring command = Attribute(tag, L"name");
            if (command.size() > 4 && EqualsNoCase(command.substr(0, 4), L"cmd:"))
                content.buttons.push_back(BubbleButton { WtoL(command.substr(4)), Attribute(tag, L"value") });
        }
        i = close + 1;
    }
    // Lines without their edge blanks, and no empty lines at the ends or twice in a row.
    std::wstring tidy;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        std::wstring line = TrimWhite(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (!line.empty()) {
            if (!tidy.empty())
                tidy += L'\n';
            tidy += line;
        }
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    content.text = DecodeEntities(tidy);
    return content;
}

} // namespace host
