#include "platform/net/linux/SysfsLinks.h"

#include <fstream>

#include "platform/text/NumberText.h"

namespace platform::linuxnet {

namespace {

// The first line of a small attribute file, without its line end; empty when unreadable.
std::string ReadLine(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line))
        return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    return line.size() > 200 ? line.substr(0, 200) : line;
}

} // namespace

SysfsLinks::SysfsLinks(std::filesystem::path root)
    : m_root(std::move(root))
{
}

SysfsLinkInfo SysfsLinks::Read(const std::string& name) const
{
    SysfsLinkInfo info;
    // A name that could climb out of the folder is no interface of ours.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return info;
    std::filesystem::path link = m_root / name;
    std::error_code error;
    if (auto speed = ParseInteger(ReadLine(link / "speed")); speed && *speed > 0)
        info.speedMbps = *speed;
    info.wireless = std::filesystem::exists(link / "wireless", error) || std::filesystem::exists(link / "phy80211", error);
    std::filesystem::path device = link / "device";
    if (!std::filesystem::exists(device, error))
        return info;
    info.physical = true;
    std::filesystem::path driver = std::filesystem::read_symlink(device / "driver", error);
    if (!error)
        info.driver = driver.filename().string();
    // A USB network adapter's interface folder sits in its USB device's folder, which names
    // the product.
    std::string product = ReadLine(device / ".." / "product");
    if (!product.empty()) {
        std::string maker = ReadLine(device / ".." / "manufacturer");
        info.model = maker.empty() || product.rfind(maker, 0) == 0 ? product : maker + " " + product;
    }
    return info;
}

} // namespace platform::linuxnet
