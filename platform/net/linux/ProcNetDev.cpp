#include "platform/net/linux/ProcNetDev.h"

#include <algorithm>
#include <cerrno>
#include <charconv>

#include <fcntl.h>
#include <unistd.h>

namespace platform::linuxnet {

namespace {

constexpr size_t kFieldCount = 16; // eight received, eight sent

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r';
}

// The line's sixteen numbers after the colon; false when there are fewer, more or others.
bool ParseFields(std::string_view text, uint64_t (&fields)[kFieldCount])
{
    size_t count = 0;
    size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i == text.size())
            return count == kFieldCount;
        if (count == kFieldCount)
            return false;
        const char* first = text.data() + i;
        auto [next, error] = std::from_chars(first, text.data() + text.size(), fields[count]);
        if (error != std::errc() || (next != text.data() + text.size() && !IsBlank(*next)))
            return false;
        i += static_cast<size_t>(next - first);
        ++count;
    }
}

} // namespace

std::vector<LinkCounters> ParseProcNetDev(std::string_view text)
{
    std::vector<LinkCounters> rows;
    while (!text.empty()) {
        size_t end = text.find('\n');
        // A line without its line end is one the read cut off.
        if (end == std::string_view::npos)
            break;
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        // Link names hold no colon and no blank; the kernel pads them on the left.
        size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        std::string_view name = line.substr(0, colon);
        while (!name.empty() && IsBlank(name.front()))
            name.remove_prefix(1);
        if (name.empty() || std::any_of(name.begin(), name.end(), IsBlank))
            continue;
        uint64_t fields[kFieldCount] = {};
        if (!ParseFields(line.substr(colon + 1), fields))
            continue;
        LinkCounters row;
        row.name = std::string(name);
        // bytes packets errs drop fifo frame compressed multicast, then bytes packets errs
        // drop fifo colls carrier compressed.
        row.stats.rxBytes = fields[0];
        row.stats.rxPackets = fields[1];
        row.stats.rxErrors = fields[2];
        row.stats.rxDropped = fields[3];
        row.stats.multicast = fields[7];
        row.stats.txBytes = fields[8];
        row.stats.txPackets = fields[9];
        row.stats.txErrors = fields[10];
        row.stats.txDropped = fields[11];
        rows.push_back(std::move(row));
    }
    return rows;
}

bool ApplyCounters(const std::vector<LinkCounters>& counters, std::vector<KernelLink>& links)
{
    if (counters.size() != links.size())
        return false;
    std::vector<const LinkStats*> found(links.size(), nullptr);
    for (size_t i = 0; i < links.size(); ++i) {
        auto row = std::find_if(counters.begin(), counters.end(), [&](const LinkCounters& c) { return c.name == links[i].name; });
        if (row == counters.end())
            return false;
        found[i] = &row->stats;
    }
    for (size_t i = 0; i < links.size(); ++i) {
        links[i].stats = *found[i];
        links[i].haveStats = true;
    }
    return true;
}

ProcNetDev::ProcNetDev(std::filesystem::path path)
    : m_path(std::move(path))
{
}

ProcNetDev::~ProcNetDev()
{
    if (m_fd >= 0)
        close(m_fd);
}

int ProcNetDev::Read(std::vector<LinkCounters>& out)
{
    if (m_fd < 0) {
        m_fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_fd < 0)
            return errno;
    }
    // The kernel writes the whole table afresh for a read from offset 0; a table larger than
    // the buffer is read on until the end.
    if (m_text.size() < 4096)
        m_text.resize(4096);
    size_t total = 0;
    while (true) {
        ssize_t got = pread(m_fd, m_text.data() + total, m_text.size() - total, static_cast<off_t>(total));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int error = errno;
            close(m_fd);
            m_fd = -1;
            return error;
        }
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
        if (total == m_text.size())
            m_text.resize(m_text.size() * 2);
    }
    out = ParseProcNetDev(std::string_view(m_text.data(), total));
    return 0;
}

} // namespace platform::linuxnet
