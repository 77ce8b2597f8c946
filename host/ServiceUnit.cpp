#include "host/ServiceUnit.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/files/WholeFile.h"

namespace host {

std::filesystem::path ServiceUnitPath()
{
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        config = std::filesystem::path(home) / ".config";
    else
        return {};
    return config / "systemd" / "user" / kServiceUnitName;
}

std::string QuoteUnitWord(const std::string& word)
{
    std::string quoted = "\"";
    for (char c : word) {
        switch (c) {
        case '\\':
        case '"':
            quoted += '\\';
            quoted += c;
            break;
        case '%':
            quoted += "%%";
            break;
        case '$':
            quoted += "$$";
            break;
        default:
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::optional<std::vector<std::string>> SplitUnitCommandLine(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            return words;
        std::string word;
        char quote = line[i] == '"' || line[i] == '\'' ? line[i] : '\0';
        if (quote != '\0')
            ++i;
        bool closed = quote == '\0';
        for (; i < line.size(); ++i) {
            char c = line[i];
            if (quote == '\0' && (c == ' ' || c == '\t'))
                break;
            if (c == quote) {
                closed = true;
                ++i;
                break;
            }
            if (c == '\\' && i + 1 < line.size()) {
                word += line[++i];
            } else if ((c == '%' || c == '$') && i + 1 < line.size() && line[i + 1] == c) {
                word += c;
                ++i;
            } else {
                word += c;
            }
        }
        if (!closed)
            return std::nullopt;
        words.push_back(std::move(word));
    }
}

std::string ServiceUnitText(const std::filesystem::path& program, const std::filesystem::path& dataFolder)
{
    // Restarts are spaced out: a device that cannot take its data folder (a window holds it)
    // would otherwise use up systemd's start limit within a second and stay failed.
    return "[Unit]\n"
           "Description=Velmora network status monitor, headless\n"
           "\n"
           "[Service]\n"
           "Type=simple\n"
           "ExecStart="
        + QuoteUnitWord(program.string()) + " --data " + QuoteUnitWord(dataFolder.string())
        + " --headless --quiet\n"
          "Restart=on-failure\n"
          "RestartSec=5\n"
          "\n"
          "[Install]\n"
          "WantedBy=default.target\n";
}

std::optional<std::filesystem::path> ServiceUnitDataFolder(const std::string& unitText)
{
    std::istringstream lines(unitText);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string key = "ExecStart=";
        if (line.rfind(key, 0) != 0)
            continue;
        std::optional<std::vector<std::string>> words = SplitUnitCommandLine(line.substr(key.size()));
        if (!words)
            return std::nullopt;
        for (size_t i = 1; i < words->size(); ++i) {
            const std::string& word = (*words)[i];
            if (word == "--data" && i + 1 < words->size())
                return std::filesystem::path((*words)[i + 1]);
            if (word.rfind("--data=", 0) == 0)
                return std::filesystem::path(word.substr(7));
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> InstalledServiceDataFolder()
{
    std::filesystem::path path = ServiceUnitPath();
    std::string text;
    if (path.empty() || platform::ReadWholeFile(path, text) != 0)
        return std::nullopt;
    return ServiceUnitDataFolder(text);
}

} // namespace host
