#include "platform/sim/Scenario.h"

#include "platform/text/CommandWords.h"

#include <algorithm>

namespace platform {

std::optional<std::string> ScenarioCommand::Option(const std::string& name) const
{
    auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

ScenarioParseResult ParseScenario(std::string_view text)
{
    ScenarioParseResult result;
    int lineNumber = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        ++lineNumber;
        start = end + 1;

        std::vector<std::string> words;
        if (!SplitCommandWords(line, words)) {
            result.error = "a quoted word is not closed";
            result.errorLine = lineNumber;
            result.commands.clear();
            return result;
        }
        if (words.empty()) {
            if (end == text.size())
                break;
            continue;
        }
        ScenarioCommand command;
        command.line = lineNumber;
        size_t first = 0;
        if (words[0] == "at") {
            std::optional<int64_t> ms = words.size() > 1 ? ParseCommandSeconds(words[1]) : std::nullopt;
            if (!ms) {
                result.error = "\"at\" needs a time in seconds";
                result.errorLine = lineNumber;
                result.commands.clear();
                return result;
            }
            command.atMs = *ms;
            first = 2;
        }
        if (first >= words.size()) {
            result.error = "a command word is missing";
            result.errorLine = lineNumber;
            result.commands.clear();
            return result;
        }
        command.verb = words[first];
        for (size_t i = first + 1; i < words.size(); ++i) {
            size_t equals = words[i].find('=');
            if (equals != std::string::npos && equals > 0)
                command.options[words[i].substr(0, equals)] = words[i].substr(equals + 1);
            else
                command.args.push_back(words[i]);
        }
        result.commands.push_back(std::move(command));
        if (end == text.size())
            break;
    }
    std::stable_sort(result.commands.begin(), result.commands.end(),
        [](const ScenarioCommand& a, const ScenarioCommand& b) { return a.atMs < b.atMs; });
    return result;
}

std::optional<std::vector<uint8_t>> ParseHardwareAddress(std::string_view text)
{
    std::vector<uint8_t> bytes;
    if (text.empty())
        return bytes;
    auto hex = [](char ch) -> int {
        if (ch >= '0' && ch <= '9')
            return ch - '0';
        if (ch >= 'a' && ch <= 'f')
            return ch - 'a' + 10;
        if (ch >= 'A' && ch <= 'F')
            return ch - 'A' + 10;
        return -1;
    };
    size_t i = 0;
    while (true) {
        if (i + 2 > text.size() || hex(text[i]) < 0 || hex(text[i + 1]) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(hex(text[i]) * 16 + hex(text[i + 1])));
        i += 2;
        if (i == text.size())
            break;
        if ((text[i] != '-' && text[i] != ':') || bytes.size() >= 8)
            return std::nullopt;
        ++i;
    }
    return bytes;
}

} // namespace platform
