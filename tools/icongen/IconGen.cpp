// velmora-icongen FILE: draws every icon of the module (each picture of resources/IconRoles.h
// at each of its sizes) with IconArt and writes them as a C++ source of pixel arrays, which the
// module is built from. Drawing them here costs the build a fraction of a second and the
// module's attach nothing.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "resources/IconArt.h"
#include "resources/IconRoles.h"

namespace {

const char* ArtName(IconArt art)
{
    switch (art) {
    case IconArt::ActivityIdle:
        return "ActivityIdle";
    case IconArt::ActivityReceiving:
        return "ActivityReceiving";
    case IconArt::ActivitySending:
        return "ActivitySending";
    case IconArt::ActivityBoth:
        return "ActivityBoth";
    case IconArt::ActivityNoConnection:
        return "ActivityNoConnection";
    case IconArt::Options:
        return "Options";
    case IconArt::Meter:
        return "Meter";
    case IconArt::Dhcp:
        return "Dhcp";
    case IconArt::PinReleased:
        return "PinReleased";
    case IconArt::PinPressed:
        return "PinPressed";
    case IconArt::ViewCompact:
        return "ViewCompact";
    case IconArt::ViewFull:
        return "ViewFull";
    }
    return "Unknown";
}

std::string ArrayName(IconArt art, int size, int extent)
{
    std::string name = std::string("k") + ArtName(art) + std::to_string(size);
    if (extent != size)
        name += "In" + std::to_string(extent);
    return name;
}

std::string Generate()
{
    std::set<std::tuple<int, int, int>> wanted; // (art, size, extent), in a stable order
    for (const IconRole& role : kIconRoles) {
        wanted.insert({ static_cast<int>(role.art), kSmallIconSize, role.smallExtent });
        wanted.insert({ static_cast<int>(role.art), role.largeSize, role.largeSize });
    }
    std::ostringstream out;
    out << "// Generated at build time by velmora-icongen from resources/IconArt.cpp: do not edit.\n"
           "#include \"resources/BuiltIcons.h\"\n\nnamespace {\n";
    char word[16];
    for (const auto& [art, size, extent] : wanted) {
        std::vector<uint32_t> pixels = DrawIconArt(static_cast<IconArt>(art), size, extent);
        out << "\nconst uint32_t " << ArrayName(static_cast<IconArt>(art), size, extent) << "[] = {";
        for (size_t i = 0; i < pixels.size(); ++i) {
            std::snprintf(word, sizeof(word), "0x%08X,", static_cast<unsigned>(pixels[i]));
            out << (i % 8 == 0 ? "\n    " : " ") << word;
        }
        out << "\n};\n";
    }
    out << "\n} // namespace\n\nconst BuiltIcon kBuiltIcons[] = {\n";
    for (const auto& [art, size, extent] : wanted) {
        IconArt picture = static_cast<IconArt>(art);
        out << "    { IconArt::" << ArtName(picture) << ", " << size << ", " << extent << ", "
            << ArrayName(picture, size, extent) << " },\n";
    }
    out << "};\n\nconst size_t kBuiltIconCount = " << wanted.size() << ";\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-icongen FILE\n");
        return 2;
    }
    std::filesystem::path target = argv[1];
    std::string text = Generate();
    // Written beside and renamed, so that an interrupted build never leaves half a source.
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) {
            std::fprintf(stderr, "velmora-icongen: cannot write %s\n", temporary.c_str());
            return 1;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::fprintf(stderr, "velmora-icongen: cannot write %s: %s\n", target.c_str(), error.message().c_str());
        return 1;
    }
    return 0;
}
