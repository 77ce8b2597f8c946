#include "platform/text/CommandWords.h"

namespace platform {

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r';
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

} // namespace

bool SplitCommandWords(std::string_view line, std::vector<std::string>& words)
{
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        if (i >= line.size() || line[i] == '#')
            break;
        std::string word;
        while (i < line.size() && !IsBlank(line[i])) {
            if (line[i] != '"') {
                word += line[i++];
                continue;
            }
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char ch = line[i++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    ch = line[i++];
                word += ch;
            }
            if (!closed)
                return false;
        }
        words.push_back(std::move(word));
    }
    return true;
}

std::optional<int64_t> ParseCommandSeconds(std::string_view text)
{
    int64_t whole = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 1'000'000'000)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    int64_t ms = whole * 1000;
    if (i == text.size())
        return ms;
    if (text[i] != '.')
        return std::nullopt;
    std::string_view fraction = text.substr(i + 1);
    if (fraction.empty() || fraction.size() > 3)
        return std::nullopt;
    int64_t scale = 100;
    for (char ch : fraction) {
        if (!IsDigit(ch))
            return std::nullopt;
        ms += (ch - '0') * scale;
        scale /= 10;
    }
    return ms;
}

} // namespace platform
