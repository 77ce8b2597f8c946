// velmora: the emulated device's shell and the command-line tools over its data.
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora [--help] [--version]\n"
              "\n"
              "Velmora network status monitor.\n"
              "\n"
              "  --help      show this text\n"
              "  --version   print the version");
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
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
