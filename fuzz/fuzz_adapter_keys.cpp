// Linux interface names become adapter keys under HKEY_LOCAL_MACHINE\Comm, which the friendly
// name scan and the name lookups read back. A name is whatever bytes the kernel allowed, so
// for any set of names: no key may nest (a backslash) or pass for another (case, a trailing
// "1", the dial-up adapter), every name must come back from its adapter name, and the scan
// must find each seeded adapter exactly once.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "netinfo/AdapterNameList.h"
#include "platform/net/AdapterNaming.h"
#include "platform/net/CommSeeding.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"

namespace {

// What the kernel takes as an interface name (dev_valid_name): up to 15 bytes, not "." or "..",
// no '/', ':' or white space; any other byte, UTF-8 or not.
bool IsKernelInterfaceName(std::string_view name)
{
    if (name.empty() || name.size() > 15 || name == "." || name == "..")
        return false;
    for (char ch : name)
        if (ch == '\0' || ch == '/' || ch == ':' || ch == ' ' || (ch >= '\t' && ch <= '\r'))
            return false;
    return true;
}

void CheckOneName(const std::string& linuxName)
{
    using namespace platform;
    std::wstring driverKey = LinuxDriverKey(linuxName);
    std::wstring adapter = LinuxAdapterName(linuxName);
    if (adapter != driverKey + L"1" || driverKey.empty() || driverKey.back() == L'1')
        std::abort();
    if (adapter.find(L'\\') != std::wstring::npos || EqualsNoCase(adapter, kDialUpAdapterName))
        std::abort();
    if (LinuxNameOfAdapter(adapter) != linuxName || LinuxNameOfAdapter(WideToLower(adapter)) != linuxName)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace platform;
    // Whatever text a hand-edited setting holds: a name it gives back names it again.
    std::wstring text = DecodeUtf16Le(data, size);
    if (std::optional<std::string> name = LinuxNameOfAdapter(text); name && !EqualsNoCase(LinuxAdapterName(*name), text))
        std::abort();

    // The same bytes as interface names, one a line, those the kernel would take.
    std::set<std::string> names;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && names.size() < 64) {
        size_t end = rest.find('\n');
        std::string_view piece = rest.substr(0, end);
        if (IsKernelInterfaceName(piece))
            names.insert(std::string(piece));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }

    NetSnapshot snapshot;
    std::set<std::wstring> folded;
    for (const std::string& linuxName : names) {
        CheckOneName(linuxName);
        NetInterface entry;
        entry.systemName = linuxName;
        entry.name = LinuxAdapterName(linuxName);
        entry.description = linuxName;
        if (!folded.insert(WideToLower(entry.name)).second)
            std::abort(); // two interfaces would share one key in the case-blind registry
        snapshot.interfaces.push_back(entry);
    }

    ResetRegistryForTests();
    if (SeedCommAdapterKeys(snapshot) != ERROR_SUCCESS)
        std::abort();
    // The scan leaves infrared drivers out by their display name, which is the Linux name here.
    size_t expected = 0;
    for (const std::string& linuxName : names)
        expected += linuxName.find("IrDA") == std::string::npos ? 1 : 0;
    AdapterNameList list = BuildAdapterNameList(kDialUpAdapterName);
    if (list.size() != expected)
        std::abort();
    for (const AdapterNameEntry& entry : list)
        if (folded.count(WideToLower(entry.keyName)) != 1)
            std::abort();
    return 0;
}
