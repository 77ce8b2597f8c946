// The Today items the shell shows, as the device keeps them under
// HKLM\SOFTWARE\Microsoft\Today\Items: one key per item, the custom ones (Type 4) with the module
// that draws them.
#pragma once

#include <string>
#include <vector>

#include "platform/core/WinTypes.h"

namespace host {

struct TodayItemEntry {
    std::wstring name;       // the key's name, quotes taken off
    std::wstring modulePath; // "DLL"
    bool hasOptions = false; // "Options": the module has an options dialog (export 241)
    DWORD order = 0;         // "Order": smaller first
};

// The enabled custom items in their order (key order among equal orders).
std::vector<TodayItemEntry> ReadTodayItems();

} // namespace host
