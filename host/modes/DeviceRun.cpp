#include "host/modes/DeviceRun.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#include "host/DeviceStorage.h"
#include "host/shell/ItemObserver.h"
#include "host/modes/RunOptions.h"
#include "host/modes/ScriptRunner.h"
#include "host/modes/ServiceHandOver.h"
#include "host/modes/SimulatedDevice.h"
#include "host/modes/StopSignal.h"
#include "host/shell/TickReport.h"
#include "host/shell/TodayShell.h"
#include "platform/debug/DebugConsole.h"
#include "platform/device/Device.h"
#include "platform/files/WholeFile.h"
#include "platform/net/CommSeeding.h"
#include "platform/net/NetBackend.h"
#include "platform/text/WideString.h"
#include "platform/time/CalendarTime.h"
#include "platform/ui/Display.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/RenderBackend.h"

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitArguments = 2;
// A simulation without --ticks runs this long past its scenario's last command.
constexpr int64_t kSimulationTailMs = 10'000;
std::string Now()
{
    platform::CalendarTime now = platform::CalendarTime::Now();
    return FormatTime(now.Hour(), now.Minute(), now.Second());
}

void Print(const std::string& text)
{
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
}

bool DisplayPresent()
{
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY" })
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return true;
    return false;
}

platform::DeviceProfile ProfileFor(const RunOptions& options)
{
    platform::DeviceProfile profile =
        options.device == DeviceSize::Vga ? platform::DeviceProfile::Vga() : platform::DeviceProfile::Qvga();
    profile.SetOsGeneration(options.osGeneration);
    if (options.rotated)
        profile.Rotate();
    return profile;
}

// A data folder of its own for a simulation that was given none: the user's real device data
// (usage logs above all) is never mixed with simulated traffic.
class ScratchDataFolder {
public:
    ScratchDataFolder()
    {
        std::error_code error;
        fs::path base = fs::temp_directory_path(error);
        std::string pattern = (base / "velmora-sim-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~ScratchDataFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

// Everything one run holds, torn down in the reverse order.
class Run {
public:
    Run(RunOptions options, std::chrono::steady_clock::time_point started)
        : m_options(std::move(options))
        , m_started(started)
    {
    }
    int Execute();

private:
    bool Prepare();
    void WatchItem();
    void OnTick(const ItemView& view);
    void AdvanceVirtual(int64_t ms);
    int RunRealTime();
    int RunVirtual();
    void PrintLines();
    bool Screenshot(const std::string& file);
    void Finish();

    RunOptions m_options;
    std::chrono::steady_clock::time_point m_started;
    bool m_window = false;
    std::unique_ptr<ScratchDataFolder> m_scratch;
    // Before the storage: the service gets the folder back only once the run has let it go.
    ServiceHandOver m_handOver;
    DeviceStorage m_storage;
    std::unique_ptr<SimulatedDevice> m_simulation;
    std::unique_ptr<platform::VirtualDriver> m_driver;
    std::unique_ptr<StopSignal> m_stop;
    TodayShell m_shell;
    ItemObserver m_observer;
    std::optional<TaskbarView> m_taskbar;
    bool m_firstFrameReported = false;
    bool m_ticksReached = false;
};

bool Run::Prepare()
{
    fs::path data = m_options.dataFolder;
    if (m_options.Deterministic() && !m_options.dataGiven) {
        m_scratch = std::make_unique<ScratchDataFolder>();
        if (m_scratch->Path().empty()) {
            PrintError("cannot make a data folder for the simulation");
            return false;
        }
        data = m_scratch->Path();
    }

    // The data folder first: a run refused for it (the service's retries while a window holds
    // it) ends before it loads the screen's libraries.
    std::string problem = m_storage.Open(data);
    if (!problem.empty() && m_storage.WasHeld() && m_handOver.Take(data)) {
        // The service's stop waits for its process to end, and its lock goes with it; a
        // moment's grace for a lock released a little later all the same.
        for (int attempt = 0; attempt < 20; ++attempt) {
            problem = m_storage.Open(data);
            if (problem.empty() || !m_storage.WasHeld())
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    if (!problem.empty()) {
        PrintError(problem);
        return false;
    }

    platform::SetCurrentDevice(ProfileFor(m_options));
    m_window = !m_options.headless && !m_options.Deterministic() && DisplayPresent() && platform::UseRealDisplay();
    // Without a window the terminal (or the service's journal) is where the item's reports go.
    platform::SendDebugOutputToStandardError(!m_window);
    // The screen needs the rendering backend: a broken installation is an error, not a crash at
    // the first window. A device without a screen draws through the screenless backend, which
    // loads neither Qt nor a display connection. A screenshot is the screen as Qt shows it,
    // controls and all, and simulations always draw through Qt, as their pictures are compared
    // to the pixel.
    bool screenless = !m_window && !m_options.Deterministic() && m_options.screenshot.empty();
    std::string missing;
    if (!(screenless ? platform::ui::LoadScreenlessRenderer(missing) : platform::ui::LoadRenderer(missing))) {
        PrintError(missing);
        return false;
    }

    if (!m_options.Deterministic()) {
        const platform::DeviceProfile& device = platform::CurrentDevice();
        Print("device " + std::to_string(device.screenWidth) + " x " + std::to_string(device.screenHeight) + " at "
            + std::to_string(device.dpi) + " dpi, generation " + std::to_string(m_options.osGeneration) + ", data in "
            + data.string() + "\n");
    }
    SeedOwnerRecord(MachineUserName());
    RegisterTodayItem();

    if (m_options.Deterministic()) {
        m_simulation = std::make_unique<SimulatedDevice>();
        problem = m_options.scenario.empty() ? m_simulation->LoadText("", "(no scenario)")
                                             : m_simulation->Load(m_options.scenario);
        if (!problem.empty()) {
            PrintError(problem);
            return false;
        }
        m_simulation->Start();
        SeedSimulatedAdapterKeys(m_simulation->Network());
        m_driver = std::make_unique<platform::VirtualDriver>(m_simulation->Clock());
    } else if (LONG result = platform::SeedCommAdapterKeys(); result != ERROR_SUCCESS) {
        PrintError("cannot name the network adapters in the registry (error " + std::to_string(result) + ")");
    }
    return true;
}

void Run::WatchItem()
{
    m_shell.onEvent = [this](const std::string& line) {
        if (!m_options.quiet)
            Print(Now() + "  " + line + "\n");
    };
    PluginItem* item = m_shell.Item();
    if (item == nullptr)
        return;
    m_observer.onTick = [this](const ItemView& view) { OnTick(view); };
    m_observer.onPaint = [this](const platform::PaintRecord& paint) {
        // The first frame: the item's first paint at its laid-out height.
        if (m_firstFrameReported || paint.paintRect.bottom <= paint.paintRect.top)
            return;
        m_firstFrameReported = true;
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_started);
        if (!m_options.Deterministic() && !m_options.quiet)
            Print("first frame painted " + std::to_string(elapsed.count()) + " ms after start\n");
    };
    m_observer.Attach(item->Window());
}

void Run::OnTick(const ItemView& view)
{
    if (!m_window && !m_options.quiet) {
        std::string block = FormatTick(Now(), view);
        TaskbarView taskbar = m_shell.TaskbarNow();
        block += FormatTaskbarChange(m_taskbar, taskbar);
        m_taskbar = taskbar;
        Print(block);
    }
    if (m_options.ticks != 0 && view.tick >= m_options.ticks && !m_ticksReached) {
        m_ticksReached = true;
        if (!m_options.Deterministic())
            PostQuitMessage(kExitDone);
    }
}

void Run::AdvanceVirtual(int64_t ms)
{
    while (ms > 0 && !m_stop->Requested()) {
        int64_t step = std::min<int64_t>(ms, 1000);
        int64_t clockChange = m_simulation->NextClockChangeInMs();
        if (clockChange >= 0 && clockChange < step)
            step = clockChange;
        if (step > 0)
            m_driver->AdvanceMs(static_cast<uint64_t>(step));
        m_simulation->ApplyClockChanges();
        // The radio answers on a thread of its own: what it was asked in this step has arrived
        // before the next, so that a simulation plays the same every time.
        m_simulation->Modem().WaitForAnswers();
        ms -= step;
    }
}

void Run::PrintLines()
{
    std::string out = Now() + "  lines\n";
    for (const std::wstring& line : m_observer.View().lines)
        out += "    " + WideToUtf8(line) + "\n";
    Print(out);
}

bool Run::Screenshot(const std::string& file)
{
    if (m_driver != nullptr)
        m_driver->Pump();
    return platform::SaveWindowPng(nullptr, file);
}

int Run::RunVirtual()
{
    int exitCode = kExitDone;
    if (!m_options.script.empty()) {
        std::string text;
        if (platform::ReadWholeFile(m_options.script, text) != 0) {
            PrintError(m_options.script.string() + ": cannot be read");
            return kExitFailed;
        }
        ScriptParseResult script = ParseScript(text);
        if (!script.error.empty()) {
            PrintError(m_options.script.string() + ":" + script.error);
            return kExitArguments;
        }
        ScriptEnvironment environment;
        environment.driver = m_driver.get();
        environment.shell = &m_shell;
        environment.advance = [this](int64_t ms) { AdvanceVirtual(ms); };
        environment.print = [this] { PrintLines(); };
        environment.screenshot = [this](const std::string& path) { return Screenshot(path); };
        environment.rotate = [this] { m_shell.Rotate(); };
        environment.note = [](const std::string& line) { Print(Now() + "  " + line + "\n"); };
        ScriptRunner runner(std::move(environment), std::move(script.actions));
        for (const std::string& problem : runner.Run()) {
            PrintError(m_options.script.string() + ": " + problem);
            exitCode = kExitFailed;
        }
    }
    if (m_options.ticks != 0) {
        while (!m_ticksReached && !m_stop->Requested())
            AdvanceVirtual(1000);
    } else if (m_options.script.empty()) {
        AdvanceVirtual(m_simulation->LastCommandMs() + kSimulationTailMs);
    }
    m_driver->Pump();
    return exitCode;
}

int Run::RunRealTime()
{
    if (m_stop->ReadFd() >= 0) {
        platform::WatchReadable(m_stop->ReadFd(), [this] {
            m_stop->Drain();
            PostQuitMessage(kExitDone);
        });
    }
    // The machine's network tells of its changes on a socket: the loop takes them in when they
    // come, and the item's queries need not look at the socket each time they ask.
    platform::NetBackend& network = platform::CurrentNetBackend();
    int networkChanges = network.WaitHandle();
    if (networkChanges >= 0 && network.SetWatched(true))
        platform::WatchReadable(networkChanges, [&network] { network.NoteChangesPending(); });
    else
        networkChanges = -1;
    int exitCode = platform::RunEventLoop();
    if (networkChanges >= 0) {
        platform::UnwatchReadable(networkChanges);
        network.SetWatched(false);
    }
    if (m_stop->ReadFd() >= 0)
        platform::UnwatchReadable(m_stop->ReadFd());
    // What the last tick invalidated is painted before the screen is saved; no timer runs
    // any more.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&message);
    return exitCode < 0 ? kExitDone : exitCode;
}

int Run::Execute()
{
    // From the start: a stop requested while the device starts ends it as soon as it runs.
    m_stop = std::make_unique<StopSignal>();
    if (!Prepare())
        return kExitFailed;
    m_shell.StartDesktopPrograms(m_window);
    for (const std::string& problem : m_shell.Start())
        PrintError(problem);
    if (m_shell.Item() == nullptr)
        PrintError("the Velmora item is not on the Today screen");
    WatchItem();

    int exitCode = m_options.Deterministic() ? RunVirtual() : RunRealTime();

    if (!m_options.screenshot.empty() && !Screenshot(m_options.screenshot.string())) {
        PrintError("cannot write the screenshot " + m_options.screenshot.string());
        exitCode = kExitFailed;
    }
    Finish();
    return exitCode;
}

void Run::Finish()
{
    m_observer.Detach();
    m_shell.Stop();
    if (m_driver != nullptr)
        m_driver->Pump();
    m_storage.Close();
    m_handOver.GiveBack();
}

} // namespace

int RunDevice(Arguments args, std::chrono::steady_clock::time_point started)
{
    RunOptionsResult parsed = ParseRunOptions(std::move(args));
    if (!parsed.error.empty()) {
        PrintError(parsed.error);
        return kExitArguments;
    }
    if (parsed.options.help) {
        std::fputs(RunHelpText(), stdout);
        return kExitDone;
    }
    Run run(std::move(parsed.options), started);
    return run.Execute();
}

} // namespace host
