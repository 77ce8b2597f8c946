// The stored text forms of the settings: ViewItems records, "*"-terminated lists and network
// profile records. Any text must parse without fault, and what parses must format back to a
// text that parses the same way.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/Utf16.h"
#include "profiles/NetProfile.h"
#include "settings/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text = DecodeUtf16Le(data, size);

    std::vector<ViewItem> items = ParseViewItems(text);
    std::vector<ViewItem> again = ParseViewItems(FormatViewItems(items.data(), items.size()));
    if (again.size() != items.size())
        std::abort();
    for (size_t i = 0; i < items.size(); ++i) {
        if (again[i].id != items[i].id || again[i].visible != items[i].visible || again[i].position != items[i].position
            || again[i].nameLength != items[i].nameLength || again[i].reserved != items[i].reserved)
            std::abort();
    }

    std::vector<std::wstring> pieces = SplitStarTerminated(text);
    if (SplitStarTerminated(JoinStarTerminated(pieces)) != pieces)
        std::abort();

    NetProfile profile;
    ParseProfile(profile, 0, text);
    bool storable = true;
    for (const std::wstring* field : { &profile.name, &profile.adapter, &profile.ipAddress, &profile.subnetMask,
             &profile.defaultGateway, &profile.dnsServer, &profile.alternateDnsServer, &profile.winsServer,
             &profile.alternateWinsServer })
        storable = storable && IsStorableProfileField(*field);
    if (storable) {
        NetProfile reparsed;
        ParseProfile(reparsed, 0, FormatProfile(profile));
        if (FormatProfile(reparsed) != FormatProfile(profile))
            std::abort();
    }
    return 0;
}
