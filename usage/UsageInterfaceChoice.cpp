#include "usage/UsageInterfaceChoice.h"

#include "platform/text/Format.h"
#include "platform/text/WideString.h"

namespace {

// The dial-up number of a stored "ppp:N"; -1 for any other interface.
int32_t StoredDialUpNumber(const std::wstring& storedInterface)
{
    size_t colon = storedInterface.find(L':');
    if (!Contains(storedInterface, L"ppp") || colon == std::wstring::npos)
        return -1;
    return WtoL(std::wstring_view(storedInterface).substr(colon + 1));
}

} // namespace

UsageInterfaceChoices ListUsageInterfaces(const AdapterNameList& adapters, const std::wstring& usbCableAdapterName,
    DWORD platformGeneration, const std::vector<std::wstring>& dialUpNames, const std::wstring& storedInterface)
{
    UsageInterfaceChoices choices;
    const bool dialUpStored = Contains(storedInterface, L"ppp");
    for (size_t position = 0; position < adapters.size(); ++position) {
        const AdapterNameEntry& adapter = adapters[position];
        const bool usbCable = adapter.keyName == usbCableAdapterName;
        const DWORD value = usbCable && platformGeneration == 2002 ? kDialUpChoiceBase : static_cast<DWORD>(position);
        if (adapter.keyName == storedInterface || (dialUpStored && usbCable))
            choices.selected = static_cast<int>(choices.entries.size());
        choices.entries.push_back({ adapter.displayName, value });
    }
    const int32_t storedNumber = StoredDialUpNumber(storedInterface);
    for (size_t number = 1; number < dialUpNames.size(); ++number) {
        if (storedNumber == static_cast<int32_t>(number))
            choices.selected = static_cast<int>(choices.entries.size());
        choices.entries.push_back({ dialUpNames[number], kDialUpChoiceBase + static_cast<DWORD>(number) });
    }
    if (storedInterface.empty())
        choices.selected = static_cast<int>(choices.entries.size());
    choices.entries.push_back({ L"All Adapters (Total)", kAllAdaptersChoice });
    return choices;
}

std::wstring UsageInterfaceOfChoice(DWORD value, const AdapterNameList& adapters, const std::wstring& storedInterface)
{
    if (value >= kDialUpChoiceBase)
        return Fmt(L"ppp:%d", value - kDialUpChoiceBase);
    if (value == kAllAdaptersChoice)
        return {};
    if (value < adapters.size())
        return adapters[value].keyName;
    return storedInterface;
}
