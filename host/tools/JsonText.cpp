#include "host/tools/JsonText.h"

#include "platform/text/WideString.h"

#include <cstdio>

namespace host {

std::string JsonString(std::wstring_view text)
{
    std::string out = "\"";
    for (char ch : WideToUtf8(text)) {
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(ch) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(ch)));
                out += escaped;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

} // namespace host
