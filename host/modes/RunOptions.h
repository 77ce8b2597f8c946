// The options of the device run (`velmora` without a command, or `velmora run`): which device,
// which data, which mode, and for how long.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "host/CommandLine.h"

namespace host {

enum class DeviceSize : uint8_t { Qvga, Vga };

struct RunOptions {
    std::filesystem::path dataFolder;
    // The folder was named with --data (a simulation without it gets a folder of its own).
    bool dataGiven = false;
    DeviceSize device = DeviceSize::Qvga;
    int osGeneration = 2005;
    // The screen starts in landscape.
    bool rotated = false;
    // Print the item's lines every tick instead of showing a window (also when no display).
    bool headless = false;
    // Nothing on standard output but the start line: no tick blocks, no shell events. Errors
    // still go to standard error (the journal, when the service runs the device).
    bool quiet = false;
    // The simulated network, phone and clock from this scenario file; empty for the real ones.
    std::filesystem::path scenario;
    // User actions run in order on the deterministic driver.
    std::filesystem::path script;
    // Stop after this many ticks of the item (0: run until stopped).
    uint64_t ticks = 0;
    // The whole screen as a PNG file when the run stops.
    std::filesystem::path screenshot;
    bool help = false;

    // Virtual time on the deterministic driver: with a scenario or a script.
    bool Deterministic() const { return !scenario.empty() || !script.empty(); }
};

struct RunOptionsResult {
    RunOptions options;
    std::string error; // empty when the arguments were understood
};

// Reads the run's arguments (the data folder from --data or the usual places).
RunOptionsResult ParseRunOptions(Arguments args);

const char* RunHelpText();

} // namespace host
