#include "host/tools/ProfilesCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "host/DeviceStorage.h"
#include "host/tools/JsonText.h"
#include "platform/core/DataFolder.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/WideString.h"
#include "profiles/ProfileCheck.h"
#include "settings/Settings.h"

namespace host {

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora profiles [--data DIR] list [--json]\n"
              "       velmora profiles [--data DIR] show NAME [--json]\n"
              "       velmora profiles [--data DIR] add NAME [--ip ADDRESS --mask MASK --gateway ADDRESS]\n"
              "                        [--dns ADDRESS] [--alt-dns ADDRESS] [--wins ADDRESS] [--alt-wins ADDRESS]\n"
              "       velmora profiles [--data DIR] delete NAME\n"
              "\n"
              "The network profiles the options dialog's Profiles page keeps (the values NetProfile0 to\n"
              "NetProfile98 of the plug-in's settings), loaded as the plug-in loads them.\n"
              "\n"
              "  list           every profile in list order: number, name, DHCP or its static address,\n"
              "                 and the adapter it was last activated on\n"
              "  show NAME      every field of the first profile of that name (names are exact, case and all)\n"
              "  add NAME       a new profile at the end of the list, checked as the profile editor checks\n"
              "                 it: a name no profile has, without \"*\"; at most 99 profiles; addresses in\n"
              "                 dotted form with three dots. With --ip, --mask and --gateway (all three) the\n"
              "                 profile has a static address, without them it uses DHCP; the name servers\n"
              "                 are optional. Like the editor, it names no adapter: the Profiles page sets\n"
              "                 one when it activates the profile\n"
              "  delete NAME    removes the first profile of that name; the later ones move up\n"
              "  --json         list and show as JSON: an array of profiles, or one profile, each an object\n"
              "                 with \"number\", \"name\", \"adapter\", \"dhcp\" (true or false), \"ipAddress\",\n"
              "                 \"subnetMask\", \"defaultGateway\", \"dnsServer\", \"alternateDnsServer\",\n"
              "                 \"winsServer\" and \"alternateWinsServer\" (strings, empty when not set)\n"
              "  --data DIR     the data folder (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora)\n"
              "  --help         show this text\n"
              "\n"
              "add and delete save every setting, as the options dialog's OK does, and are refused while\n"
              "a running device holds the data folder; list and show read it beside the device.\n"
              "Exit status: 0 done, 1 refused (no such profile, a name or address the editor would\n"
              "refuse, a registry that cannot be read or written), 2 a command line that cannot be used.");
}

constexpr size_t kNameColumn = 20;

std::string Utf8(const std::wstring& text)
{
    return WideToUtf8(text);
}

std::string ProfileJson(const NetProfile& profile)
{
    struct Field {
        const char* key;
        const std::wstring& value;
    };
    const Field fields[] = {
        { "name", profile.name },
        { "adapter", profile.adapter },
        { "ipAddress", profile.ipAddress },
        { "subnetMask", profile.subnetMask },
        { "defaultGateway", profile.defaultGateway },
        { "dnsServer", profile.dnsServer },
        { "alternateDnsServer", profile.alternateDnsServer },
        { "winsServer", profile.winsServer },
        { "alternateWinsServer", profile.alternateWinsServer },
    };
    std::string json = "{\"number\": " + std::to_string(profile.number);
    for (const Field& field : fields) {
        json += std::string(", \"") + field.key + "\": " + JsonString(field.value);
        if (field.key == std::string("adapter"))
            json += std::string(", \"dhcp\": ") + (profile.dhcp != 0 ? "true" : "false");
    }
    return json + "}";
}

void PrintList(const ProfileList& list, bool json)
{
    if (json) {
        std::string out = "[";
        for (const NetProfile* p = list.Head(); p != nullptr; p = p->next.get())
            out += std::string(p == list.Head() ? "\n  " : ",\n  ") + ProfileJson(*p);
        std::puts((out + (list.Head() != nullptr ? "\n]" : "]")).c_str());
        return;
    }
    if (list.Head() == nullptr) {
        std::puts("No profiles.");
        return;
    }
    for (const NetProfile* p = list.Head(); p != nullptr; p = p->next.get()) {
        std::string address = p->dhcp != 0 ? "DHCP" : Utf8(p->ipAddress) + " mask " + Utf8(p->subnetMask) + " gateway "
                + Utf8(p->defaultGateway);
        // Padded by characters, not bytes, so that names in any script line up.
        std::wstring name = p->name;
        if (name.size() < kNameColumn)
            name.append(kNameColumn - name.size(), L' ');
        std::printf("%2u  %s %s%s%s\n", p->number, Utf8(name).c_str(), address.c_str(),
            p->adapter.empty() ? "" : "  on ", Utf8(p->adapter).c_str());
    }
}

void PrintProfile(const NetProfile& profile)
{
    auto line = [](const char* label, const std::wstring& value) {
        std::printf("%-22s %s\n", label, Utf8(value).c_str());
    };
    std::printf("%-22s NetProfile%u\n", "Value:", profile.number);
    line("Name:", profile.name);
    line("Adapter:", profile.adapter);
    std::printf("%-22s %s\n", "DHCP:", profile.dhcp != 0 ? "Yes" : "No");
    line("IP Address:", profile.ipAddress);
    line("Subnet Mask:", profile.subnetMask);
    line("Default Gateway:", profile.defaultGateway);
    line("DNS Server:", profile.dnsServer);
    line("Alternate DNS Server:", profile.alternateDnsServer);
    line("WINS Server:", profile.winsServer);
    line("Alternate WINS Server:", profile.alternateWinsServer);
}

// The registry for reading, or for a change: a change is refused beside a running device and
// when the hive cannot be written, before anything is changed. False after saying why.
bool OpenStore(const std::filesystem::path& data, bool change)
{
    std::error_code error;
    std::filesystem::create_directories(data, error);
    if (error) {
        PrintError("cannot create the data folder " + data.string() + ": " + error.message());
        return false;
    }
    platform::RegistryStoreResult opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadWrite);
    if (opened.status == platform::RegistryStoreStatus::InUse && !change)
        opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadOnly);
    if (opened.status == platform::RegistryStoreStatus::InUse) {
        PrintError("profiles: changing a profile changes the registry in " + data.string()
            + ", which a running velmora device holds; " + HeldFolderAdvice());
        return false;
    }
    if (!opened.Ok()) {
        PrintError(opened.detail);
        return false;
    }
    if (std::string detail; change && platform::CheckRegistryStoreWritable(detail) != ERROR_SUCCESS) {
        PrintError("profiles: " + detail + "; nothing was changed");
        platform::CloseRegistryStore();
        return false;
    }
    return true;
}

// The fields of "add" from its options; nullopt, after saying why, for a line that cannot be used.
std::optional<ProfileFields> FieldsToAdd(const std::string& name, Arguments& args)
{
    ProfileFields fields;
    fields.name = Utf8ToWide(name);
    std::optional<std::string> ip = TakeOption(args, "--ip");
    std::optional<std::string> mask = TakeOption(args, "--mask");
    std::optional<std::string> gateway = TakeOption(args, "--gateway");
    fields.dnsServer = Utf8ToWide(TakeOption(args, "--dns").value_or(""));
    fields.alternateDnsServer = Utf8ToWide(TakeOption(args, "--alt-dns").value_or(""));
    fields.winsServer = Utf8ToWide(TakeOption(args, "--wins").value_or(""));
    fields.alternateWinsServer = Utf8ToWide(TakeOption(args, "--alt-wins").value_or(""));
    if (!args.empty()) {
        PrintError("profiles: unexpected argument '" + args.front() + "' (try velmora profiles --help)");
        return std::nullopt;
    }
    int given = (ip ? 1 : 0) + (mask ? 1 : 0) + (gateway ? 1 : 0);
    if (given != 0 && given != 3) {
        PrintError("profiles: a static address needs --ip, --mask and --gateway together (try velmora profiles --help)");
        return std::nullopt;
    }
    if (given == 3) {
        fields.dhcp = 0;
        fields.ipAddress = Utf8ToWide(*ip);
        fields.subnetMask = Utf8ToWide(*mask);
        fields.defaultGateway = Utf8ToWide(*gateway);
    } else {
        fields.dhcp = 1;
        ClearStaticAddresses(fields);
    }
    return fields;
}

int Finish(bool changed, int result)
{
    if (platform::CloseRegistryStore() != ERROR_SUCCESS && changed) {
        PrintError("profiles: the registry could not be written; nothing was changed");
        return 1;
    }
    return result;
}

} // namespace

int RunProfilesCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    std::filesystem::path data = TakeDataFolder(args);
    bool json = TakeFlag(args, "--json");
    if (args.empty()) {
        PrintError("profiles: which one: list, show, add or delete? (try velmora profiles --help)");
        return 2;
    }
    std::string action = args.front();
    args.erase(args.begin());
    bool takesName = action == "show" || action == "add" || action == "delete";
    if (action != "list" && !takesName) {
        PrintError("profiles: unknown action '" + action + "' (try velmora profiles --help)");
        return 2;
    }
    if (json && action != "list" && action != "show") {
        PrintError("profiles: --json is for list and show");
        return 2;
    }
    std::string name;
    if (takesName) {
        if (args.empty() || args.front().empty() || args.front().rfind("--", 0) == 0) {
            PrintError("profiles: " + action + " needs a profile name (try velmora profiles --help)");
            return 2;
        }
        name = args.front();
        args.erase(args.begin());
    }
    std::optional<ProfileFields> added;
    if (action == "add") {
        added = FieldsToAdd(name, args);
        if (!added)
            return 2;
    } else if (!args.empty()) {
        PrintError("profiles: unexpected argument '" + args.front() + "' (try velmora profiles --help)");
        return 2;
    }

    bool change = action == "add" || action == "delete";
    if (!OpenStore(data, change))
        return 1;
    Settings settings;
    ProfileList& list = settings.Profiles();
    if (action == "list") {
        PrintList(list, json);
        return Finish(false, 0);
    }
    if (action == "add") {
        if (std::wstring problem = ProfileProblem(*added, list, nullptr); !problem.empty()) {
            PrintError("profiles: " + Utf8(problem));
            return Finish(false, 1);
        }
        NetProfile* profile = list.AddProfile(*added);
        settings.SaveSettings();
        std::printf("Added profile %s as NetProfile%u.\n", name.c_str(), profile->number);
        return Finish(true, 0);
    }
    NetProfile* profile = list.FindProfileByName(Utf8ToWide(name));
    if (profile == nullptr) {
        PrintError("profiles: there is no profile named '" + name + "' (velmora profiles list shows them)");
        return Finish(false, 1);
    }
    if (action == "show") {
        if (json)
            std::puts(ProfileJson(*profile).c_str());
        else
            PrintProfile(*profile);
        return Finish(false, 0);
    }
    list.DeleteProfile(profile->number);
    settings.SaveSettings();
    std::printf("Deleted profile %s.\n", name.c_str());
    return Finish(true, 0);
}

} // namespace host
