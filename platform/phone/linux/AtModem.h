// A modem spoken to with AT commands over a serial line (a USB modem's command port), and the
// parsers of its answers. The Linux phone backend uses it when a modem is configured.
#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linuxphone {

// From "+CREG: <n>,<stat>[,...]" (or the unsolicited "+CREG: <stat>"): the registration
// status in the cellular extension's terms (1 unknown ... 8), or nullopt.
std::optional<unsigned> ParseRegistration(const std::vector<std::string>& lines);
// From "+COPS: <mode>,<format>,"<name>"[,<act>]": the operator's name, or nullopt when the
// modem reports none.
std::optional<std::string> ParseOperatorName(const std::vector<std::string>& lines);
// From "+CSQ: <rssi>,<ber>": the signal strength in dBm (-113 + 2 x rssi), or nullopt for
// "not known" (99) and anything unreadable.
std::optional<int> ParseSignalDbm(const std::vector<std::string>& lines);

class AtModem {
public:
    AtModem() = default;
    ~AtModem();
    AtModem(const AtModem&) = delete;
    AtModem& operator=(const AtModem&) = delete;

    // Opens the serial line raw at 115200 baud and checks that "AT" is answered "OK".
    bool Open(const std::string& device);
    bool IsOpen() const { return m_fd >= 0; }
    // Sends a command and collects the lines of its answer up to the final result; nullopt
    // when the modem answers ERROR (or +CME/+CMS ERROR) or not in time. Echo and blank lines
    // are dropped. One command at a time, from any thread.
    std::optional<std::vector<std::string>> Command(const std::string& command,
        std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

private:
    std::mutex m_mutex;
    int m_fd = -1;
    std::string m_pending; // bytes read past the last answer
};

} // namespace platform::linuxphone
