// The /sys/class/net reader over attribute files holding anything: a link folder is made with
// the input's pieces as its speed, product and manufacturer files and a name from the input;
// reading never crashes, never leaves the folder, and keeps its texts short.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "ScratchFolder.h"
#include "platform/net/linux/SysfsLinks.h"

namespace {

namespace fs = std::filesystem;

// The next piece of the input, up to a NUL byte.
std::string_view Take(std::string_view& rest)
{
    size_t end = rest.find('\0');
    std::string_view piece = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return piece;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string name(Take(rest));
    std::string_view speed = Take(rest);
    std::string_view product = Take(rest);
    std::string_view maker = Take(rest);

    EmptyFuzzScratchFolder();
    const fs::path& root = FuzzScratchFolder();
    fs::path usb = root / "usb";
    fs::path link = root / "net" / "eth0";
    fs::create_directories(usb / "1-1:1.0");
    fs::create_directories(link);
    std::ofstream(link / "speed", std::ios::binary) << speed;
    std::ofstream(usb / "product", std::ios::binary) << product;
    std::ofstream(usb / "manufacturer", std::ios::binary) << maker;
    fs::create_directory_symlink(usb / "1-1:1.0", link / "device");

    platform::linuxnet::SysfsLinks links(root / "net");
    platform::linuxnet::SysfsLinkInfo info = links.Read(name);
    if (info.model.size() > 401)
        std::abort(); // two lines of at most 200 characters and a blank
    if (name == "eth0" && !info.physical)
        std::abort();
    if (name != "eth0" && info.physical)
        std::abort(); // found something outside the folder or under another name
    return 0;
}
