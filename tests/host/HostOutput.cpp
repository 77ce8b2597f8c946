#include "HostOutput.h"

#include <sstream>

namespace host_test {

namespace {

bool IsTime(const std::string& line)
{
    return line.size() >= 10 && line[2] == ':' && line[5] == ':' && line[8] == ' ' && line[9] == ' ';
}

int NumberAfter(const std::string& line, const std::string& word)
{
    size_t at = line.find(word);
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + word.size()));
}

} // namespace

HostOutput ParseHostOutput(const std::string& out)
{
    HostOutput parsed;
    std::istringstream stream(out);
    std::string line;
    enum class Into { Nothing, Tick, Print } into = Into::Nothing;
    while (std::getline(stream, line)) {
        if (IsTime(line)) {
            std::string rest = line.substr(10);
            if (rest.rfind("activity ", 0) == 0) {
                TickBlock block;
                block.time = line.substr(0, 8);
                block.activity = NumberAfter(rest, "activity ");
                block.height = NumberAfter(rest, "height ");
                for (size_t at = rest.find('['); at != std::string::npos; at = rest.find('[', at + 1))
                    block.paints.push_back(rest.substr(at + 1, rest.find(']', at) - at - 1));
                parsed.ticks.push_back(block);
                into = Into::Tick;
            } else if (rest == "lines") {
                parsed.prints.emplace_back();
                into = Into::Print;
            } else {
                parsed.events.push_back(rest);
                into = Into::Nothing;
            }
        } else if (line.rfind("    ", 0) == 0) {
            if (into == Into::Tick)
                parsed.ticks.back().lines.push_back(line.substr(4));
            else if (into == Into::Print)
                parsed.prints.back().push_back(line.substr(4));
        } else if (line.rfind("  ", 0) == 0 && into == Into::Tick) {
            parsed.ticks.back().notes.push_back(line.substr(2));
        }
    }
    return parsed;
}

} // namespace host_test
