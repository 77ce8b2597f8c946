// Month-file reader and name collection over arbitrary file contents: every line through the
// header split, the all-interfaces and one-interface sums, the buckets of every interval and
// the name collection, as the report, the export and the name lists read them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/Utf16.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the selector's length, taken from the start of the text, so that
    // selectors that occur in the lines are tried.
    if (size == 0)
        return 0;
    size_t selectorLength = data[0] % 12;
    std::wstring text = DecodeUtf16Le(data + 1, size - 1);
    std::wstring selector = text.substr(0, selectorLength);

    UsageTable table {};
    NameList names;
    for (std::wstring_view line : SplitLines(text)) {
        UsageLineHeader header = SplitUsageHeader(line);
        if (header.rest.size() > line.size())
            std::abort();
        UsageLineSums all = SumAllEntries(header.rest);
        UsageLineSums one = selector.empty() ? all : SumSelectedEntry(header.rest, FileSelector(selector));
        for (DWORD interval : { IntervalMonthly, IntervalDaily, IntervalHourly }) {
            AddLineToTable(interval, 3, 7, header, all, table);
            AddLineToTable(interval, 12, 31, header, one, table);
        }
        ForEachEntryName(header.rest, [&names](std::wstring_view name) {
            if (!name.empty())
                AddUniqueName(names, NameFromFile(name));
        });
    }
    // Names are unique and none is empty.
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || AddUniqueName(names, names[i]))
            std::abort();
    }
    // The unread bucket 32 stays empty whatever the lines say.
    if (table[64] != 0)
        std::abort();
    return 0;
}
