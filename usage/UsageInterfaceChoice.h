// The interface list of the usage settings: every friendly-named adapter, the dial-up
// connections by name, and all adapters together, each with the item value that says which
// UsageInterface it stands for.
#pragma once

#include <string>
#include <vector>

#include "netinfo/AdapterNameList.h"
#include "platform/core/WinTypes.h"

// Item values: an adapter's position in the friendly-name list (below 98), all adapters, and
// 100 + a dial-up number.
constexpr DWORD kAllAdaptersChoice = 98;
constexpr DWORD kDialUpChoiceBase = 100;

struct UsageInterfaceChoice {
    std::wstring text;
    DWORD value;
};

struct UsageInterfaceChoices {
    std::vector<UsageInterfaceChoice> entries;
    int selected = -1; // the entry of the stored interface; -1 for none
};

// The list in the dialog's order. The USB cable adapter stands for every dial-up link ("ppp:0",
// the value 100, on the 2002 generation); dial-up number 0 is that cable and is not listed again.
// When several entries match the stored interface the last one is selected, as the list
// selects each match in turn.
UsageInterfaceChoices ListUsageInterfaces(const AdapterNameList& adapters, const std::wstring& usbCableAdapterName,
    DWORD platformGeneration, const std::vector<std::wstring>& dialUpNames, const std::wstring& storedInterface);

// The UsageInterface an item value stands for: "" for all adapters, the adapter's key name, or
// "ppp:N". A position past the adapter list keeps the stored interface.
std::wstring UsageInterfaceOfChoice(DWORD value, const AdapterNameList& adapters, const std::wstring& storedInterface);
