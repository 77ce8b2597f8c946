#include "host/CommandLine.h"

#include <cstdio>

#include "platform/core/DataFolder.h"

namespace host {

std::optional<std::string> TakeOption(Arguments& args, const std::string& name)
{
    const std::string prefix = name + "=";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size())
                throw MissingOptionValue(name + " needs a value");
            std::string value = args[i + 1];
            if (value.empty())
                throw MissingOptionValue(name + " needs a value");
            args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            return value;
        }
        if (args[i].rfind(prefix, 0) == 0) {
            std::string value = args[i].substr(prefix.size());
            if (value.empty())
                throw MissingOptionValue(name + " needs a value");
            args.erase(args.begin() + static_cast<long>(i));
            return value;
        }
    }
    return std::nullopt;
}

std::filesystem::path TakeDataFolder(Arguments& args)
{
    std::optional<std::string> given = TakeOption(args, "--data");
    return platform::ResolveDataFolder(given.value_or(std::string()));
}

bool TakeFlag(Arguments& args, const std::string& flag)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == flag) {
            args.erase(args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "velmora: %s\n", message.c_str());
}

} // namespace host
