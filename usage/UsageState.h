// The machine's counters as the usage logger last took them in, kept from one run of the module
// to the next so that traffic while it was not running is counted at the next start. A small
// UTF-16LE text file in the device's \Windows folder, apart from the log folder, which the user
// moves, caps and clears:
//   "boot 212b34ed-0938-4901-8a7f-e1b62bcd02e3\r\n"
//   "65872 31309659 2 ne20001\r\n"          up and down octets since boot, the machine's own
//                                            index of the interface, then the logging name
// It is written whole beside itself and moved into place, so a reader finds the old state or
// the new one.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

struct UsageCounters {
    uint64_t up = 0;
    uint64_t down = 0;
    // The machine's own index of the interface they were read from (0 where it has none): an
    // interface made again takes another one.
    int link = 0;
};

class UsageState {
public:
    // "\Windows\VelmoraCounters.dat".
    static const wchar_t* const DefaultPath;

    // Which boot of the machine the counters are from; empty: unknown, nothing carries over.
    std::string bootId;
    // By logging name.
    std::map<std::wstring, UsageCounters> counters;

    // The traffic of a name between its kept counters and its first reading in a run of the
    // same boot. Nothing is known of it (0) after a reboot, for a name not kept, or when the
    // interface was made again meanwhile (another link index, or either counter below the
    // kept one) and counts from 0 anew.
    UsageCounters TrafficSince(const std::string& currentBootId, const std::wstring& name, UsageCounters now) const;

    std::wstring Format() const;
    // Null without a "boot" line first; entries that cannot be read are passed over.
    static std::optional<UsageState> Parse(std::wstring_view text);

    // Null when the file is absent or cannot be read.
    static std::optional<UsageState> Load(const std::wstring& path);
    // FALSE, with the file as it was, when the new state could not be put in place.
    BOOL Save(const std::wstring& path) const;
};
