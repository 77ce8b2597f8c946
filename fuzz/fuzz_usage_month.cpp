// Month-file reader and name collection over arbitrary file contents: every line through the
// header split, the all-interfaces and one-interface sums and the buckets of every interval;
// the file read in pieces, decoded and as code units in place, against the file read whole;
// the reader's in-place parse and the export's cache against the decoded lines read as text;
// and the name collection.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/FileSystem.h"
#include "platform/files/Files.h"
#include "platform/files/SimFileSystem.h"
#include "platform/text/Utf16.h"
#include "platform/time/CalendarTime.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogFile.h"
#include "usage/UsageReader.h"

namespace {

const std::wstring kFolder = L"\\Logs";

void PutMonthFile(const uint8_t* data, size_t size)
{
    static bool installed = false;
    if (!installed) {
        platform::InstallFileSystem(std::make_shared<platform::SimFileSystem>());
        CreateDirectoryW(kFolder.c_str(), nullptr);
        installed = true;
    }
    HANDLE file = CreateFileW(MonthFileName(kFolder, 2006, 3).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
}

} // namespace

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
    std::vector<std::wstring> lines;
    for (std::wstring_view line : SplitLines(text)) {
        lines.emplace_back(line);
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
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || AddUniqueName(names, names[i]))
            std::abort();
    }
    if (table[64] != 0) // bucket 32 has no day, hour or month
        std::abort();

    // The same file through the platform's file calls.
    PutMonthFile(data + 1, size - 1);
    std::vector<std::wstring> pieces;
    if (!ReadMonthFileLines(MonthFileName(kFolder, 2006, 3), [&pieces](std::wstring_view line) { pieces.emplace_back(line); },
            6 + 2 * (data[0] % 5))
        || pieces != lines)
        std::abort();
    // In place: the same lines, and line by line the header's fields and the rest.
    std::u16string buffer;
    size_t at = 0;
    if (!ReadMonthFileUnits(MonthFileName(kFolder, 2006, 3), buffer,
            [&](std::u16string_view line) {
                if (at >= lines.size() || DecodeUtf16(line) != lines[at])
                    std::abort();
                Utf16LineHeader units = SplitUsageHeader(line);
                UsageLineHeader characters = SplitUsageHeader(lines[at++]);
                if (units.day != characters.day || units.hour != characters.hour || DecodeUtf16(units.rest) != characters.rest)
                    std::abort();
            },
            1 + data[0] % 9)
        || at != lines.size())
        std::abort();
    MonthFileCache cache;
    DirectMonthSource direct;
    for (DWORD interval : { IntervalMonthly, IntervalDaily, IntervalHourly }) {
        for (const std::wstring& chosen : { std::wstring(), selector }) {
            const std::wstring fileSelector = FileSelector(chosen);
            for (int day : { 1, 7, 31 }) {
                auto time = platform::CalendarTime::FromFields(2006, 3, day, 0, 0, 0);
                UsageTable decoded {};
                for (const std::wstring& line : lines) {
                    UsageLineHeader header = SplitUsageHeader(line);
                    UsageLineSums sums = fileSelector.empty() ? SumAllEntries(header.rest) : SumSelectedEntry(header.rest, fileSelector);
                    AddLineToTable(interval, 3, day, header, sums, decoded);
                }
                UsageTable fromCache {};
                UsageTable fromFile {};
                cache.ReadMonthTotals(interval, time, kFolder, chosen, fromCache);
                direct.ReadMonthTotals(interval, time, kFolder, chosen, fromFile);
                if (fromCache != decoded || fromFile != decoded)
                    std::abort();
            }
        }
    }
    NameList cached;
    NameList read;
    cache.CollectMonthNames(kFolder, 2006, 3, cached);
    direct.CollectMonthNames(kFolder, 2006, 3, read);
    if (cached != read || read != names)
        std::abort();
    return 0;
}
