// velmora: the emulated device's shell and the command-line tools over its data.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/CommandLine.h"
#include "host/DiagCommand.h"
#include "host/NetCommand.h"
#include "host/SettingsCommand.h"

namespace {

struct Command {
    const char* name;
    int (*run)(host::Arguments args);
    const char* summary;
};

const Command kCommands[] = {
    { "settings", host::RunSettingsCommand, "show the plug-in's settings as it loads them" },
    { "net", host::RunNetCommand, "show each network interface as the status lines would" },
    { "diag", host::RunDiagCommand, "write the diagnostic report" },
};

void PrintHelp()
{
    std::puts("Usage: velmora COMMAND [ARGUMENTS]   (velmora COMMAND --help for each)\n"
              "       velmora --version\n"
              "\n"
              "Velmora network status monitor.\n"
              "\n"
              "Commands:");
    for (const Command& command : kCommands)
        std::printf("  %-10s %s\n", command.name, command.summary);
    std::puts("\nEvery command takes --data DIR, the data folder that holds the registry and the device's\n"
              "files (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora, else ~/.local/share/velmora).");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::puts("velmora 1.9");
        return 0;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0)
            return command.run(host::Arguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "velmora: unknown command '%s' (try velmora --help)\n", argv[1]);
    return 2;
}
