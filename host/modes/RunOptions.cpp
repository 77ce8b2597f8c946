#include "host/modes/RunOptions.h"

#include <charconv>

#include "platform/core/DataFolder.h"

namespace host {

namespace {

std::optional<uint64_t> ParseCount(const std::string& text)
{
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace

const char* RunHelpText()
{
    return "Usage: velmora [run] [OPTIONS]\n"
           "\n"
           "Starts the emulated device with its Today screen and the Velmora item on it: a window\n"
           "on the desktop when a display is present, else in the terminal (--headless).\n"
           "\n"
           "  --data DIR          the data folder: registry and device files (default: $VELMORA_DATA,\n"
           "                      else $XDG_DATA_HOME/velmora, else ~/.local/share/velmora)\n"
           "  --device qvga|vga   240 x 320 at 96 dpi (default) or 480 x 640 at 192 dpi\n"
           "  --os 2002|2003|2005 the operating-system generation (default 2005)\n"
           "  --rotate            start in landscape\n"
           "  --headless          no window: print the item's lines and activity state every tick\n"
           "  --quiet             print nothing after the start line (no tick blocks, no shell\n"
           "                      events); errors still go to standard error\n"
           "  --simulate FILE     the network, phone and clock from a scenario file, in virtual time,\n"
           "                      printed as with --headless\n"
           "  --script FILE       run the user actions of a script file in virtual time, then stop\n"
           "                      (on the simulated device of --simulate, else one with no network)\n"
           "  --ticks N           stop after N ticks of the item (one a second)\n"
           "  --screenshot FILE   save the screen as a PNG file when the run stops\n"
           "  --help              show this text\n"
           "\n"
           "Without --ticks or --script the device runs until Ctrl-C; a simulation without them runs\n"
           "until ten seconds after its scenario's last command. A simulation or script without --data\n"
           "runs on a data folder of its own, removed at its end.\n"
           "A second run on the same data folder is refused while the first one holds its registry; when\n"
           "the velmora service (velmora service --help) holds it, the service is stopped for the run\n"
           "and started again at its end.\n"
           "The README describes the scenario and script formats.\n";
}

namespace {

// Throws MissingOptionValue; ParseRunOptions turns it into the error.
RunOptionsResult ParseGivenRunOptions(Arguments& args)
{
    RunOptionsResult result;
    RunOptions& options = result.options;
    auto fail = [&result](const std::string& message) {
        result.error = message;
        return result;
    };

    options.help = TakeFlag(args, "--help") || TakeFlag(args, "-h");
    std::optional<std::string> data = TakeOption(args, "--data");
    options.dataGiven = data.has_value() && !data->empty();
    options.dataFolder = platform::ResolveDataFolder(data.value_or(std::string()));
    options.headless = TakeFlag(args, "--headless");
    options.rotated = TakeFlag(args, "--rotate");
    options.quiet = TakeFlag(args, "--quiet");

    if (auto device = TakeOption(args, "--device")) {
        if (*device == "qvga")
            options.device = DeviceSize::Qvga;
        else if (*device == "vga")
            options.device = DeviceSize::Vga;
        else
            return fail("--device takes qvga or vga, not '" + *device + "'");
    }
    if (auto os = TakeOption(args, "--os")) {
        if (*os == "2002" || *os == "2003" || *os == "2005")
            options.osGeneration = std::stoi(*os);
        else
            return fail("--os takes 2002, 2003 or 2005, not '" + *os + "'");
    }
    if (auto scenario = TakeOption(args, "--simulate")) {
        if (scenario->empty())
            return fail("--simulate needs a scenario file");
        options.scenario = *scenario;
    }
    if (auto script = TakeOption(args, "--script")) {
        if (script->empty())
            return fail("--script needs a script file");
        options.script = *script;
    }
    if (auto ticks = TakeOption(args, "--ticks")) {
        std::optional<uint64_t> count = ParseCount(*ticks);
        if (!count || *count == 0)
            return fail("--ticks takes a positive number, not '" + *ticks + "'");
        options.ticks = *count;
    }
    if (auto screenshot = TakeOption(args, "--screenshot")) {
        if (screenshot->empty())
            return fail("--screenshot needs a file name");
        options.screenshot = *screenshot;
    }
    if (!args.empty())
        return fail("unexpected argument '" + args.front() + "' (try velmora --help)");
    return result;
}

} // namespace

RunOptionsResult ParseRunOptions(Arguments args)
{
    try {
        return ParseGivenRunOptions(args);
    } catch (const MissingOptionValue& missing) {
        RunOptionsResult result;
        result.error = missing.what();
        return result;
    }
}

} // namespace host
