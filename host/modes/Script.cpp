#include "host/modes/Script.h"

#include "platform/text/CommandWords.h"

#include <charconv>
#include <optional>

namespace host {

namespace {

std::optional<int> ParseInt(const std::string& text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// One action from its words; the error without the line number.
std::string ParseAction(const std::vector<std::string>& words, ScriptAction& action)
{
    const std::string& verb = words[0];
    size_t count = words.size() - 1;
    auto argumentsFor = [&](size_t wanted, const char* shape) -> std::string {
        return count == wanted ? std::string() : "\"" + verb + "\" takes " + shape;
    };
    if (verb == "wait") {
        action.verb = ScriptVerb::Wait;
        if (std::string problem = argumentsFor(1, "a number of seconds"); !problem.empty())
            return problem;
        std::optional<int64_t> ms = platform::ParseCommandSeconds(words[1]);
        if (!ms)
            return "\"wait\" takes a number of seconds, not \"" + words[1] + "\"";
        action.ms = *ms;
        return {};
    }
    if (verb == "tap") {
        bool inItem = count == 3 && words[1] == "item";
        if (count != 2 && !inItem)
            return "\"tap\" takes X Y, or item X Y";
        action.verb = inItem ? ScriptVerb::TapItem : ScriptVerb::Tap;
        std::optional<int> x = ParseInt(words[inItem ? 2 : 1]);
        std::optional<int> y = ParseInt(words[inItem ? 3 : 2]);
        if (!x || !y)
            return "\"tap\" takes whole numbers for X and Y";
        action.x = *x;
        action.y = *y;
        return {};
    }
    if (verb == "click") {
        action.verb = ScriptVerb::Click;
        if (std::string problem = argumentsFor(1, "a control id, ok or cmd:N"); !problem.empty())
            return problem;
        if (words[1] == "ok") {
            action.titleBarOk = true;
            action.control = 1;
            return {};
        }
        if (words[1].rfind("cmd:", 0) == 0) {
            std::optional<int> command = ParseInt(words[1].substr(4));
            if (!command || *command < 0)
                return "\"click\" takes cmd:N with a number N";
            action.pageCommand = true;
            action.control = *command;
            return {};
        }
        std::optional<int> id = ParseInt(words[1]);
        if (!id)
            return "\"click\" takes a control id, ok or cmd:N, not \"" + words[1] + "\"";
        action.control = *id;
        return {};
    }
    if (verb == "type" || verb == "pick") {
        action.verb = verb == "type" ? ScriptVerb::Type : ScriptVerb::Pick;
        if (std::string problem = argumentsFor(2, "a control id and a text"); !problem.empty())
            return problem;
        std::optional<int> id = ParseInt(words[1]);
        if (!id)
            return "\"" + verb + "\" takes a control id, not \"" + words[1] + "\"";
        action.control = *id;
        action.text = words[2];
        if (action.verb == ScriptVerb::Pick && words[2].size() > 1 && words[2][0] == '@') {
            std::optional<int> index = ParseInt(words[2].substr(1));
            if (!index || *index < 0)
                return "\"pick\" takes @N with N from 0";
            action.index = *index;
        }
        return {};
    }
    if (verb == "tab") {
        action.verb = ScriptVerb::Tab;
        if (std::string problem = argumentsFor(1, "a tab's label"); !problem.empty())
            return problem;
        action.text = words[1];
        return {};
    }
    if (verb == "check") {
        action.verb = ScriptVerb::Check;
        if (std::string problem = argumentsFor(2, "a control id and on or off"); !problem.empty())
            return problem;
        std::optional<int> id = ParseInt(words[1]);
        if (!id)
            return "\"check\" takes a control id, not \"" + words[1] + "\"";
        if (words[2] != "on" && words[2] != "off")
            return "\"check\" takes on or off, not \"" + words[2] + "\"";
        action.control = *id;
        action.checked = words[2] == "on";
        return {};
    }
    if (verb == "answer") {
        action.verb = ScriptVerb::Answer;
        if (std::string problem = argumentsFor(1, "yes, no, ok or cancel"); !problem.empty())
            return problem;
        if (words[1] != "yes" && words[1] != "no" && words[1] != "ok" && words[1] != "cancel")
            return "\"answer\" takes yes, no, ok or cancel, not \"" + words[1] + "\"";
        action.text = words[1];
        return {};
    }
    if (verb == "choose" || verb == "screenshot") {
        action.verb = verb == "choose" ? ScriptVerb::Choose : ScriptVerb::Screenshot;
        if (std::string problem = argumentsFor(1, verb == "choose" ? "a device path or cancel" : "a file name");
            !problem.empty())
            return problem;
        action.text = words[1];
        return {};
    }
    if (verb == "read") {
        action.verb = ScriptVerb::Read;
        if (std::string problem = argumentsFor(1, "a control id"); !problem.empty())
            return problem;
        std::optional<int> id = ParseInt(words[1]);
        if (!id)
            return "\"read\" takes a control id, not \"" + words[1] + "\"";
        action.control = *id;
        return {};
    }
    const std::pair<const char*, ScriptVerb> plain[] = {
        { "options", ScriptVerb::Options },
        { "rotate", ScriptVerb::Rotate },
        { "print", ScriptVerb::Print },
    };
    for (const auto& [name, plainVerb] : plain) {
        if (verb == name) {
            action.verb = plainVerb;
            return argumentsFor(0, "nothing more");
        }
    }
    return "unknown action \"" + verb + "\"";
}

} // namespace

ScriptParseResult ParseScript(std::string_view text)
{
    ScriptParseResult result;
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        std::vector<std::string> words;
        if (!platform::SplitCommandWords(line, words)) {
            result.error = std::to_string(lineNumber) + ": a quoted word is not closed";
            result.actions.clear();
            return result;
        }
        if (words.empty())
            continue;
        ScriptAction action;
        action.line = lineNumber;
        if (std::string problem = ParseAction(words, action); !problem.empty()) {
            result.error = std::to_string(lineNumber) + ": " + problem;
            result.actions.clear();
            return result;
        }
        result.actions.push_back(std::move(action));
    }
    return result;
}

} // namespace host
