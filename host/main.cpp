// velmora: the emulated device's shell and the command-line tools over its data.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/RegTool.h"

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora [--data DIR] [--help] [--version]\n"
              "       velmora [--data DIR] reg OPERATION ...\n"
              "\n"
              "Velmora network status monitor.\n"
              "\n"
              "  --data DIR  the data folder (default $VELMORA_DATA, else $XDG_DATA_HOME/velmora)\n"
              "  --help      show this text\n"
              "  --version   print the version\n"
              "  reg         read and change the registry (velmora reg --help)");
}

} // namespace

int main(int argc, char** argv)
{
    std::string dataFolder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) {
            dataFolder = argv[++i];
            continue;
        }
        if (std::strncmp(argv[i], "--data=", 7) == 0) {
            dataFolder = argv[i] + 7;
            continue;
        }
        if (std::strcmp(argv[i], "reg") == 0)
            return RunRegTool(std::vector<std::string>(argv + i + 1, argv + argc), dataFolder);
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("velmora 1.9");
            return 0;
        }
        std::fprintf(stderr, "velmora: unknown argument '%s' (try --help)\n", argv[i]);
        return 2;
    }
    PrintHelp();
    return 0;
}
