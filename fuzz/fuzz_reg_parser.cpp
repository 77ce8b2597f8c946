// The hive reader over arbitrary bytes: it must never crash, and whatever it accepts must
// come back as the same tree after being written out and read in again. The reader that keeps
// the good lines of a damaged hive holds to the same: what it keeps survives a round trip, and
// it agrees with the strict reader on a file without faults.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/registry/RegFile.h"
#include "platform/registry/RegistryTree.h"

namespace {

void ExpectRoundTrip(const platform::RegFileDocument& document)
{
    using namespace platform;
    RegistryTree first;
    first.Apply(document);
    std::string written = WriteRegFile(first);

    RegFileDocument again;
    RegFileError error;
    if (!ParseRegFile(written, again, error))
        std::abort(); // the writer produced something its own reader refuses
    RegistryTree second;
    second.Apply(again);
    if (!second.SameContents(first) || WriteRegFile(second) != written)
        std::abort(); // a value or name did not survive the round trip
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RegFileDocument document;
    RegFileError error;
    bool strict = ParseRegFile(bytes, document, error);
    if (strict)
        ExpectRoundTrip(document);

    RegFileDocument kept;
    std::vector<RegFileError> faults;
    if (!ParseRegFileKeepingGoodLines(bytes, kept, faults))
        return 0;
    if (strict != faults.empty())
        std::abort(); // the two readers disagree on whether the file has faults
    ExpectRoundTrip(kept);
    return 0;
}
