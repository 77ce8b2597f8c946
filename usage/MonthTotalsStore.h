// A place outside the log folder that keeps what a month file's lines added to a table, for as
// long as the file stays the very file it was. The reader asks it before it parses a month file
// and hands it what the parse gave; a store that does not know a file, or knows an older state
// of it, makes the reader parse as if there were none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/WinTypes.h"
#include "usage/UsageTable.h"

// What the reader was asked: the table it fills depends on all of it.
struct MonthTotalsKey {
    DWORD interval = 0;
    int month = 0;
    int day = 0;
    std::wstring selector;

    bool operator==(const MonthTotalsKey&) const = default;
};

// Which file a month file was on the machine when it was looked at: its place, and what the
// file system changes whenever its content could have changed.
struct MonthFileIdentity {
    bool known = false; // false: the store cannot tell (no such file, or not a file it can see)
    std::string where;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const MonthFileIdentity&) const = default;
};

class MonthTotalsStore {
public:
    virtual ~MonthTotalsStore() = default;
    // The table the month file's lines add for the key, when the store holds it for the file
    // as it is now. Either way the file's identity now goes into `identity`, for Keep.
    virtual bool Find(const std::wstring& path, const MonthTotalsKey& key, UsageTable& added, MonthFileIdentity& identity) = 0;
    // What a parse of the file, begun when it had `identity`, added for the key. The store keeps
    // it only if the file is still that file and had been left alone for a while before.
    virtual void Keep(const MonthFileIdentity& identity, const MonthTotalsKey& key, const UsageTable& added) = 0;
    // The same for the interface names the month file holds, once each, in the order they
    // first appear in it.
    virtual bool FindNames(const std::wstring& path, std::vector<std::wstring>& names, MonthFileIdentity& identity) = 0;
    virtual void KeepNames(const MonthFileIdentity& identity, const std::vector<std::wstring>& names) = 0;
};
