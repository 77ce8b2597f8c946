// A cellular modem's answers to AT+CREG?, AT+COPS? and AT+CSQ, as the Linux telephony parses
// them: any lines, never a crash, and a signal strength always in the modem's range.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/phone/linux/AtModem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        char ch = static_cast<char>(data[i]);
        if (ch == '\n')
            lines.emplace_back();
        else
            lines.back() += ch;
    }
    using namespace platform::linuxphone;
    if (auto status = ParseRegistration(lines); status && (*status < 1 || *status > 8))
        __builtin_trap();
    ParseOperatorName(lines);
    if (auto dBm = ParseSignalDbm(lines); dBm && (*dBm < -113 || *dBm > -51))
        __builtin_trap();
    return 0;
}
