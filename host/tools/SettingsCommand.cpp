#include "host/tools/SettingsCommand.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <cstring>

#include "host/DeviceStorage.h"
#include "host/ReplaceFile.h"
#include "options/SettingsBackup.h"
#include "platform/core/DataFolder.h"
#include "platform/files/WholeFile.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Utf16.h"
#include "platform/text/WideString.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace host {

namespace {

void PrintHelp()
{
    std::puts("Usage: velmora settings [--data DIR] [--save]\n"
              "       velmora settings [--data DIR] --backup FILE | --restore FILE\n"
              "\n"
              "Loads the plug-in's settings from the data folder's registry the way the plug-in does\n"
              "at start (values missing from a saved key are filled in with their defaults) and prints\n"
              "them: every setting, the status lines in display order, recent ping targets, dial-up\n"
              "names, the adapters found under HKEY_LOCAL_MACHINE\\Comm and the network profiles.\n"
              "\n"
              "  --data DIR       the data folder (default: $VELMORA_DATA, else $XDG_DATA_HOME/velmora)\n"
              "  --save           also save every setting to HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora,\n"
              "                   as the options dialog does on OK, so that `velmora reg` can edit them;\n"
              "                   refused while a running device holds the data folder (the service:\n"
              "                   velmora service stop first; or the window, or a headless run) and\n"
              "                   when the registry cannot be written (a read-only data folder)\n"
              "  --backup FILE    write every value of the settings key to FILE, one line each\n"
              "                   (\"DWORD Name 5\", \"STRING Name text\"; 16-bit little-endian text),\n"
              "                   the settings backup file of the options dialog; an existing FILE\n"
              "                   is replaced only once the new one is whole\n"
              "  --restore FILE   write the values of such a file back into the settings key, as the\n"
              "                   options dialog's restore does (other values are left as they are);\n"
              "                   refused when --save would be\n"
              "  --help           show this text");
}

std::string Utf8(const std::wstring& text)
{
    return WideToUtf8(text);
}

void PrintNumber(const char* name, DWORD value)
{
    std::printf("  %-28s %u\n", name, value);
}

void PrintText(const char* name, const std::wstring& value)
{
    std::printf("  %-28s \"%s\"\n", name, Utf8(value).c_str());
}

const char* SourceOfSettings()
{
    RegistryKey user(HKEY_CURRENT_USER, kUserSettingsKey, KeyDisposition::OpenExisting);
    if (user.ReadDword(L"SettingsSaved", NoDefault) == 1)
        return "HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora";
    RegistryKey today(HKEY_LOCAL_MACHINE, kTodayItemKey, KeyDisposition::OpenExisting);
    if (today.ReadDword(L"SettingsSaved", NoDefault) == 1)
        return "the Today item key (HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Today\\Items\\\"Velmora\")";
    return "initial values (no saved settings yet)";
}

void PrintSettings(Settings& settings)
{
    PrintNumber("FullViewEnabled", settings.FullViewEnabled);
    PrintNumber("InterfaceIndex", settings.InterfaceIndex);
    PrintText("InterfaceString", settings.InterfaceString);
    PrintNumber("MeterEnabled", settings.MeterEnabled);
    PrintNumber("MeterNotify", settings.MeterNotify);
    PrintNumber("MeterNotifyThreshold", settings.MeterNotifyThreshold);
    PrintNumber("MeterNotifyType", settings.MeterNotifyType);
    PrintNumber("MeterNotifyReset", settings.MeterNotifyReset);
    PrintNumber("MeterIconEnabled", settings.MeterIconEnabled);
    PrintNumber("DHCPIconEnabled", settings.DHCPIconEnabled);
    PrintNumber("OptionsIconEnabled", settings.OptionsIconEnabled);
    PrintNumber("BoldTextEnabled", settings.BoldTextEnabled);
    PrintNumber("ClearTypeEnabled", settings.ClearTypeEnabled);
    PrintNumber("ScrollRate", settings.ScrollRate);
    PrintNumber("TaskbarIconEnabled", settings.TaskbarIconEnabled);
    PrintNumber("TaskbarIconUp", settings.TaskbarIconUp);
    PrintNumber("TaskbarIconPlacement", settings.TaskbarIconPlacement);
    PrintNumber("MeterShowsTotal", settings.MeterShowsTotal);
    PrintNumber("FontSize", settings.FontSize);
    PrintNumber("PinEnabled", settings.PinEnabled);
    PrintNumber("ViewSelectEnabled", settings.ViewSelectEnabled);
    PrintNumber("UsageEnabled", settings.UsageEnabled);
    PrintText("UsageInterface", settings.UsageInterface);
    PrintNumber("UsageShowZeros", settings.UsageShowZeros);
    PrintText("UsageLogPath", settings.UsageLogPath);
    PrintNumber("UsageLogStorageCapEnabled", settings.UsageLogStorageCapEnabled);
    PrintNumber("UsageLogStorageCapLimit", settings.UsageLogStorageCapLimit);

    std::puts("\nStatus lines, in display order:");
    settings.SortViewItems();
    for (ViewItem item = settings.NextViewItem(); item.id != EndOfItems; item = settings.NextViewItem()) {
        std::printf("  %u  %-16s %s\n", item.id, item.name != nullptr ? Utf8(item.name).c_str() : "(unknown)",
            item.visible != 0 ? "shown" : "hidden");
    }

    std::puts("\nRecent ping targets:");
    for (size_t slot = 0; slot < kPreviousPingSlots; ++slot) {
        if (!settings.PreviousPing(slot).empty())
            std::printf("  %s\n", Utf8(settings.PreviousPing(slot)).c_str());
    }

    std::puts("\nDial-up names:");
    for (DWORD i = 0; i < settings.RasNameCount(); ++i)
        std::printf("  ppp:%u  %s\n", i, Utf8(settings.RasNameAt(i)).c_str());

    std::printf("\nAdapters under HKEY_LOCAL_MACHINE\\Comm (platform generation %u, USB cable adapter \"%s\"):\n",
        settings.PlatformGeneration(), Utf8(settings.UsbCableAdapterName()).c_str());
    if (settings.AdapterNames().empty())
        std::puts("  none");
    for (const AdapterNameEntry& entry : settings.AdapterNames())
        std::printf("  %u  %-20s %s\n", entry.sequence, Utf8(entry.keyName).c_str(), Utf8(entry.displayName).c_str());

    std::puts("\nNetwork profiles:");
    if (settings.Profiles().Head() == nullptr)
        std::puts("  none");
    for (const NetProfile* p = settings.Profiles().Head(); p != nullptr; p = p->next.get())
        std::printf("  NetProfile%u  %s\n", p->number, Utf8(FormatProfile(*p)).c_str());
}

// The backup file's bytes; nullopt, with the reason, when it cannot be read as a file (a
// FIFO would never end).
std::optional<std::string> ReadBackupFile(const std::filesystem::path& path, std::string& why)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        why = error ? error.message() : "not a file";
        return std::nullopt;
    }
    std::string bytes;
    if (int failed = platform::ReadWholeFile(path, bytes); failed != 0) {
        why = std::strerror(failed);
        return std::nullopt;
    }
    return bytes;
}

// The registry opened for the change an option makes (--save, --restore): refused beside a
// running device, and when the hive cannot be written, before anything is changed. False
// after saying why; nothing is left open then.
bool OpenStoreForChange(const std::filesystem::path& data, const std::string& option, const std::string& nothingDone,
    platform::RegistryStoreResult& opened)
{
    opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadWrite);
    if (opened.status == platform::RegistryStoreStatus::InUse) {
        PrintError("settings: " + option + " changes the registry in " + data.string()
            + ", which a running velmora device holds; " + HeldFolderAdvice());
        return false;
    }
    if (!opened.Ok()) {
        PrintError(opened.detail);
        return false;
    }
    if (std::string detail; platform::CheckRegistryStoreWritable(detail) != ERROR_SUCCESS) {
        PrintError("settings: " + option + " " + detail + "; " + nothingDone);
        platform::CloseRegistryStore();
        return false;
    }
    return true;
}

// --backup and --restore: the options dialog's settings file, without the dialog.
int RunBackupOrRestore(const std::filesystem::path& data, const std::optional<std::string>& backup,
    const std::optional<std::string>& restore)
{
    std::string why;
    std::optional<std::string> bytes;
    if (restore) {
        // Read first: a file that cannot be read changes nothing.
        bytes = ReadBackupFile(*restore, why);
        if (!bytes) {
            PrintError("settings: cannot read " + *restore + ": " + why + "; nothing was restored");
            return 1;
        }
    }
    platform::RegistryStoreResult opened;
    if (restore) {
        if (!OpenStoreForChange(data, "--restore", "nothing was restored", opened))
            return 1;
    } else {
        opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadOnly);
        if (!opened.Ok()) {
            PrintError(opened.detail);
            return 1;
        }
    }
    bool damaged = !opened.damage.empty();
    if (backup) {
        std::string failed = ReplaceFileContents(*backup, EncodeUtf16Le(SettingsBackupText()));
        platform::CloseRegistryStore();
        if (!failed.empty()) {
            PrintError("settings: " + failed);
            return 1;
        }
        std::printf("Current settings saved to:\n %s.\n", backup->c_str());
        return damaged ? 1 : 0;
    }
    size_t values = RestoreSettingsText(DecodeUtf16Le(*bytes));
    if (platform::CloseRegistryStore() != ERROR_SUCCESS) {
        PrintError("settings: --restore could not write the registry " + platform::HivePath(data).string() + "; nothing was restored");
        return 1;
    }
    std::printf("Settings restored from %s: %zu value%s.\n", restore->c_str(), values, values == 1 ? "" : "s");
    return damaged ? 1 : 0;
}

} // namespace

int RunSettingsCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        PrintHelp();
        return 0;
    }
    std::filesystem::path data = TakeDataFolder(args);
    bool save = TakeFlag(args, "--save");
    std::optional<std::string> backup = TakeOption(args, "--backup");
    std::optional<std::string> restore = TakeOption(args, "--restore");
    if (!args.empty()) {
        PrintError("settings: unexpected argument '" + args.front() + "' (try velmora settings --help)");
        return 2;
    }
    if (int modes = (save ? 1 : 0) + (backup ? 1 : 0) + (restore ? 1 : 0); modes > 1) {
        PrintError("settings: --save, --backup and --restore are one at a time (try velmora settings --help)");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(data, error);
    if (error) {
        PrintError("cannot create the data folder " + data.string() + ": " + error.message());
        return 1;
    }
    if (backup || restore)
        return RunBackupOrRestore(data, backup, restore);
    platform::RegistryStoreResult opened;
    bool readOnly = false;
    if (save) {
        if (!OpenStoreForChange(data, "--save", "nothing was saved", opened))
            return 1;
    } else {
        // A running device owns its registry: it may be read beside it, but not changed.
        opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadWrite);
        if (opened.status == platform::RegistryStoreStatus::InUse) {
            opened = platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadOnly);
            readOnly = true;
        }
        if (!opened.Ok()) {
            PrintError(opened.detail);
            return 1;
        }
    }
    std::printf("Data folder: %s\nRegistry:    %s%s\n", data.string().c_str(), platform::HivePath(data).string().c_str(),
        readOnly ? " (read only: a running velmora device holds it)" : "");
    std::printf("Settings from %s\n\n", SourceOfSettings());
    {
        Settings settings;
        PrintSettings(settings);
        if (save)
            settings.SaveSettings();
    }
    // The save is only done once the hive is written, which the closing does last.
    bool written = platform::CloseRegistryStore() == ERROR_SUCCESS;
    if (save && written)
        std::puts("\nSaved to HKEY_CURRENT_USER\\Software\\Tavrel\\Velmora.");
    else if (save)
        PrintError("settings: --save could not write the registry " + platform::HivePath(data).string() + "; nothing was saved");
    // A hive with bad lines was shown (and saved) without them: not a clean success.
    bool damaged = !opened.damage.empty();
    return written && !damaged ? 0 : 1;
}

} // namespace host
