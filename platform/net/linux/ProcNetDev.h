// Every link's counters in one read: /proc/net/dev, kept open and read again from its start.
// The backend reads the counters this way once a tick and takes names, states and addresses
// from its routing-socket records, which it reads again only when the kernel says they changed.
// One read of the open file costs about half of a link dump and its parse (bench_netinfo).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/linux/Netlink.h"

namespace platform::linuxnet {

struct LinkCounters {
    std::string name;
    LinkStats stats;
};

// The rows of /proc/net/dev in file order. Lines that are not "name: sixteen numbers" (the two
// header lines, a cut-off last line) are skipped; a number too large for 64 bits is no number.
std::vector<LinkCounters> ParseProcNetDev(std::string_view text);

// Puts each link's counters in place, matched by name. False when the two lists do not name
// the same links (one came, went or was renamed since the links were read): the links must be
// read again. Links keep their old counters then.
bool ApplyCounters(const std::vector<LinkCounters>& counters, std::vector<KernelLink>& links);

class ProcNetDev {
public:
    // The calling thread's namespace: a thread in a network namespace of its own sees its own links.
    explicit ProcNetDev(std::filesystem::path path = "/proc/thread-self/net/dev");
    ~ProcNetDev();
    ProcNetDev(const ProcNetDev&) = delete;
    ProcNetDev& operator=(const ProcNetDev&) = delete;

    // 0 and the rows, or an errno value. The file is opened on first use and kept; the
    // namespace it shows is the one of the thread that opened it.
    int Read(std::vector<LinkCounters>& out);

private:
    std::filesystem::path m_path;
    int m_fd = -1;
    std::string m_text;
};

} // namespace platform::linuxnet
