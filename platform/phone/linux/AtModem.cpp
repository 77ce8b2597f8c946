#include "platform/phone/linux/AtModem.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "platform/text/NumberText.h"

namespace platform::linuxphone {

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The comma-separated fields after "<prefix>:" of the first line that has it.
std::optional<std::vector<std::string>> Fields(const std::vector<std::string>& lines, std::string_view prefix)
{
    for (const std::string& line : lines) {
        std::string_view text = Trim(line);
        if (text.substr(0, prefix.size()) != prefix || text.size() <= prefix.size() || text[prefix.size()] != ':')
            continue;
        text.remove_prefix(prefix.size() + 1);
        std::vector<std::string> fields;
        std::string field;
        bool quoted = false;
        for (char ch : text) {
            if (ch == '"') {
                quoted = !quoted;
            } else if (ch == ',' && !quoted) {
                fields.emplace_back(Trim(field));
                field.clear();
            } else {
                field += ch;
            }
        }
        fields.emplace_back(Trim(field));
        return fields;
    }
    return std::nullopt;
}

std::optional<int64_t> Number(const std::string& text)
{
    return ParseInteger(text);
}

bool IsFinal(std::string_view line, bool& ok)
{
    if (line == "OK") {
        ok = true;
        return true;
    }
    if (line == "ERROR" || line.substr(0, 11) == "+CME ERROR:" || line.substr(0, 11) == "+CMS ERROR:" || line == "NO CARRIER") {
        ok = false;
        return true;
    }
    return false;
}

} // namespace

std::optional<unsigned> ParseRegistration(const std::vector<std::string>& lines)
{
    std::optional<std::vector<std::string>> fields = Fields(lines, "+CREG");
    if (!fields || fields->empty())
        return std::nullopt;
    // "+CREG: n,stat" answers the query; a lone "+CREG: stat" is the unsolicited form.
    std::optional<int64_t> stat = Number(fields->size() >= 2 ? (*fields)[1] : (*fields)[0]);
    if (!stat)
        return std::nullopt;
    switch (*stat) {
    case 0:
        return 3u; // not registered, not searching
    case 1:
        return 5u; // home
    case 2:
        return 4u; // searching
    case 3:
        return 2u; // denied
    case 5:
        return 6u; // roaming
    default:
        return 1u; // unknown
    }
}

std::optional<std::string> ParseOperatorName(const std::vector<std::string>& lines)
{
    std::optional<std::vector<std::string>> fields = Fields(lines, "+COPS");
    if (!fields || fields->size() < 3 || (*fields)[2].empty())
        return std::nullopt;
    return (*fields)[2];
}

std::optional<int> ParseSignalDbm(const std::vector<std::string>& lines)
{
    std::optional<std::vector<std::string>> fields = Fields(lines, "+CSQ");
    if (!fields || fields->empty())
        return std::nullopt;
    std::optional<int64_t> rssi = Number((*fields)[0]);
    if (!rssi || *rssi < 0 || *rssi > 31)
        return std::nullopt;
    return static_cast<int>(-113 + 2 * *rssi);
}

AtModem::~AtModem()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool AtModem::Open(const std::string& device)
{
    int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios settings {};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetispeed(&settings, B115200);
        cfsetospeed(&settings, B115200);
        settings.c_cflag |= CLOCAL | CREAD;
        tcsetattr(fd, TCSANOW, &settings);
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_fd >= 0)
            close(m_fd);
        m_fd = fd;
        m_pending.clear();
    }
    if (Command("AT", std::chrono::milliseconds(1000))) {
        Command("ATE0", std::chrono::milliseconds(1000)); // no echo, where the modem allows
        return true;
    }
    std::lock_guard lock(m_mutex);
    close(m_fd);
    m_fd = -1;
    return false;
}

std::optional<std::vector<std::string>> AtModem::Command(const std::string& command, std::chrono::milliseconds timeout)
{
    std::lock_guard lock(m_mutex);
    if (m_fd < 0)
        return std::nullopt;
    std::string line = command + "\r";
    size_t written = 0;
    while (written < line.size()) {
        ssize_t n = write(m_fd, line.data() + written, line.size() - written);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return std::nullopt;
        if (n > 0)
            written += static_cast<size_t>(n);
    }
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<std::string> answer;
    while (true) {
        // Whole lines first.
        size_t end;
        while ((end = m_pending.find_first_of("\r\n")) != std::string::npos) {
            std::string text(Trim(std::string_view(m_pending).substr(0, end)));
            m_pending.erase(0, end + 1);
            if (text.empty() || text == command)
                continue;
            bool ok = false;
            if (IsFinal(text, ok)) {
                if (!ok)
                    return std::nullopt;
                return answer;
            }
            if (answer.size() < 64)
                answer.push_back(text);
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd wait { m_fd, POLLIN, 0 };
        int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            return std::nullopt;
        if (ready <= 0)
            continue;
        char buffer[512];
        ssize_t n = read(m_fd, buffer, sizeof(buffer));
        if (n > 0 && m_pending.size() < 64 * 1024)
            m_pending.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            return std::nullopt;
    }
}

} // namespace platform::linuxphone
