// What /sys/class/net tells beyond netlink: link speed, whether a link is wireless, the device
// model of USB adapters, and the kernel driver. Read per interface; the backend keeps the
// answers until the link's carrier changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace platform::linuxnet {

struct SysfsLinkInfo {
    int64_t speedMbps = -1; // -1 when the driver does not say
    bool wireless = false;
    std::string model;      // empty when not known
    std::string driver;     // empty for virtual links
    bool physical = false;  // a device (PCI, USB, ...) is behind the link: it has a "device" link
};

class SysfsLinks {
public:
    explicit SysfsLinks(std::filesystem::path root = "/sys/class/net");

    SysfsLinkInfo Read(const std::string& name) const;

private:
    std::filesystem::path m_root;
};

} // namespace platform::linuxnet
