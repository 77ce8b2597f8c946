// Script files of user actions: any text parses to actions or to one error with its line,
// never a crash, and an error always names a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/modes/Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    host::ScriptParseResult parsed = host::ParseScript(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.error.empty() && (parsed.error[0] < '0' || parsed.error[0] > '9'))
        std::abort(); // "LINE: why"
    return 0;
}
