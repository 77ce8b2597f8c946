// The hive reader over arbitrary bytes: it must never crash, and whatever it accepts must
// come back as the same tree after being written out and read in again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/RegFile.h"
#include "platform/registry/RegistryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform;
    RegFileDocument document;
    RegFileError error;
    if (!ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), document, error))
        return 0;
    RegistryTree first;
    first.Apply(document);
    std::string written = WriteRegFile(first);

    RegFileDocument again;
    if (!ParseRegFile(written, again, error))
        std::abort(); // the writer produced something its own reader refuses
    RegistryTree second;
    second.Apply(again);
    if (!second.SameContents(first) || WriteRegFile(second) != written)
        std::abort(); // a value or name did not survive the round trip
    return 0;
}
