#include "host/tools/UsageCommand.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "host/ReplaceFile.h"
#include "host/tools/JsonText.h"
#include "host/tools/MonthTotalsCache.h"
#include "platform/core/DataFolder.h"
#include "platform/files/DevicePath.h"
#include "platform/files/Files.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Format.h"
#include "platform/text/WideString.h"
#include "platform/time/CalendarTime.h"
#include "platform/time/DateFormat.h"
#include "platform/device/Device.h"
#include "platform/ui/Observe.h"
#include "platform/ui/WinGdi.h"
#include "platform/ui/backend/RenderBackend.h"
#include "netinfo/AdapterTracking.h"
#include "settings/Settings.h"
#include "usage/MonthFileCache.h"
#include "usage/UsageExport.h"
#include "usage/UsageLine.h"
#include "usage/UsageLogger.h"
#include "usage/UsageReader.h"
#include "usage/UsageChartCanvas.h"
#include "usage/UsageReportHtml.h"
#include "usage/UsageReportRows.h"

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFiles = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoData = 3;

const char* const kHelp = "Usage:\n"
                          "  velmora usage report --interval hourly|daily|monthly --date YYYY-MM-DD\n"
                          "                       [--interface NAME] [--zeros] [--json] [--log-dir DIR]\n"
                          "                       [--html FILE [--chart PNG]] [--no-cache]\n"
                          "  velmora usage chart --interval hourly|daily|monthly --date YYYY-MM-DD\n"
                          "                      --out FILE.png [--size WxH] [--interface NAME] [--log-dir DIR]\n"
                          "                      [--no-cache]\n"
                          "  velmora usage export --interval hourly|daily|monthly\n"
                          "                       --from YYYY-MM-DD[THH:MM:SS] --to YYYY-MM-DD[THH:MM:SS]\n"
                          "                       --out FILE [--log-dir DIR]\n"
                          "\n"
                          "report prints the rows of the usage report's table for the hour-by-hour day,\n"
                          "day-by-day month or month-by-month year of --date: Xmit, Rcv and Total per\n"
                          "slot, rows without traffic left out unless --zeros; --json prints the byte\n"
                          "counts of every slot instead. --interface selects one interface by its\n"
                          "logging name (all interfaces together without it); a name the logs do not\n"
                          "hold is refused with the names they do.\n"
                          "--html writes the table as the report page shows it, as a standalone HTML page;\n"
                          "with --chart the chart is drawn to that PNG file and shown above the table.\n"
                          "chart draws the report page's bar chart of that period to a PNG file,\n"
                          "480x320 pixels unless --size says otherwise (64 to 4096 each way).\n"
                          "export writes the CSV file of the usage export for that range.\n"
                          "The month files are read from the UsageLogPath folder of the device in its\n"
                          "data folder (--data DIR), or from any folder given with --log-dir.\n"
                          "Times without THH:MM:SS are 00:00:00.\n"
                          "report and chart keep each month file's totals in $XDG_CACHE_HOME/velmora/usage\n"
                          "(else ~/.cache/velmora/usage) and read them back while the month file is the\n"
                          "same file, unchanged; --no-cache parses every month file.\n"
                          "\n"
                          "The device logs its interfaces 2 to 19 (velmora net shows their numbers): the\n"
                          "loopback interface (1) is not logged. On a host with more interfaces the\n"
                          "numbers go first to the default route's interface, then to the physical ones,\n"
                          "then to the virtual ones (bridges, veth, tunnels), so the adapters are logged.\n"
                          "\n"
                          "Exit codes: 0 done, 1 a file or folder could not be read or written,\n"
                          "2 bad arguments or dates, 3 no interface in the export range.\n";

struct Options {
    std::string verb;
    std::string interval;
    std::string date;
    std::string from;
    std::string to;
    std::string interfaceName;
    std::string out;
    std::string logDir;
    std::string html;
    std::string chart;
    std::string size;
    fs::path dataFolder;
    bool zeros = false;
    bool json = false;
    bool noCache = false;
};

int Fail(int code, const std::string& message)
{
    PrintError("usage: " + message);
    return code;
}

std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

// Takes the arguments after "usage"; an error message when they do not fit.
std::optional<std::string> ParseOptions(Arguments args, Options& options)
{
    if (args.empty())
        return "missing command: report or export (try velmora usage --help)";
    options.verb = args.front();
    args.erase(args.begin());
    if (options.verb != "report" && options.verb != "export" && options.verb != "chart")
        return "unknown command " + Quoted(options.verb) + " (try velmora usage --help)";
    const bool report = options.verb == "report";
    const bool chart = options.verb == "chart";
    options.dataFolder = TakeDataFolder(args);
    options.interval = TakeOption(args, "--interval").value_or("");
    options.logDir = TakeOption(args, "--log-dir").value_or("");
    if (report || chart)
        options.noCache = TakeFlag(args, "--no-cache");
    if (report) {
        options.date = TakeOption(args, "--date").value_or("");
        options.interfaceName = TakeOption(args, "--interface").value_or("");
        options.zeros = TakeFlag(args, "--zeros");
        options.json = TakeFlag(args, "--json");
        options.html = TakeOption(args, "--html").value_or("");
        options.chart = TakeOption(args, "--chart").value_or("");
    } else if (chart) {
        options.date = TakeOption(args, "--date").value_or("");
        options.interfaceName = TakeOption(args, "--interface").value_or("");
        options.chart = TakeOption(args, "--out").value_or("");
        options.size = TakeOption(args, "--size").value_or("");
    } else {
        options.from = TakeOption(args, "--from").value_or("");
        options.to = TakeOption(args, "--to").value_or("");
        options.out = TakeOption(args, "--out").value_or("");
    }
    if (!args.empty())
        return options.verb + ": unexpected argument " + Quoted(args.front()) + " (try velmora usage --help)";
    if (options.interval.empty())
        return "--interval is required (hourly, daily or monthly)";
    if (options.interval != "hourly" && options.interval != "daily" && options.interval != "monthly")
        return "bad interval " + Quoted(options.interval) + ": use hourly, daily or monthly";
    if ((report || chart) && options.date.empty())
        return "--date is required";
    if (chart && options.chart.empty())
        return "--out is required";
    if (report && !options.chart.empty() && options.html.empty())
        return "--chart goes with --html";
    if (report && !options.html.empty() && options.json)
        return "--html and --json exclude each other";
    if (options.verb == "export" && (options.from.empty() || options.to.empty() || options.out.empty()))
        return "--from, --to and --out are required";
    return std::nullopt;
}

bool ReadNumber(const std::string& text, size_t at, size_t digits, int& value)
{
    if (at + digits > text.size())
        return false;
    value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// "YYYY-MM-DD" or, when a time is allowed, "YYYY-MM-DDTHH:MM:SS"; a missing time is 00:00:00.
std::optional<platform::CalendarTime> ParseDate(const std::string& text, bool timeAllowed)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool dateOk = (text.size() == 10 || (timeAllowed && text.size() == 19)) && ReadNumber(text, 0, 4, year)
        && text[4] == '-' && ReadNumber(text, 5, 2, month) && text[7] == '-' && ReadNumber(text, 8, 2, day);
    if (!dateOk || year < 1970 || month < 1 || month > 12 || day < 1
        || day > static_cast<int>(DaysInMonth(static_cast<DWORD>(month), static_cast<DWORD>(year))))
        return std::nullopt;
    if (text.size() == 19) {
        bool timeOk = text[10] == 'T' && ReadNumber(text, 11, 2, hour) && text[13] == ':'
            && ReadNumber(text, 14, 2, minute) && text[16] == ':' && ReadNumber(text, 17, 2, second);
        if (!timeOk || hour > 23 || minute > 59 || second > 59)
            return std::nullopt;
    }
    return platform::CalendarTime::FromFields(year, month, day, hour, minute, second);
}

DWORD IntervalCode(const std::string& interval)
{
    if (interval == "monthly")
        return IntervalMonthly;
    if (interval == "daily")
        return IntervalDaily;
    return IntervalHourly;
}

std::string ErrorText(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "not found";
    case ERROR_ACCESS_DENIED:
        return "access denied";
    case ERROR_SHARING_VIOLATION:
        return "in use";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "disk full";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "not a usable name";
    case ERROR_FILENAME_EXCED_RANGE:
        return "path too long";
    case ERROR_READ_FAULT:
        return "read error";
    default:
        return "error " + std::to_string(error);
    }
}

// Whether a device path that the device root's file system refuses is found when its links
// are followed anywhere on this machine: it then leads out of the root, not into a folder
// the user may not read.
bool LeadsOutOfRoot(const fs::path& root, const platform::DevicePath& path)
{
    std::shared_ptr<platform::LinuxFileSystem> machine = platform::LinuxFileSystem::Create("/");
    std::error_code error;
    fs::path canonicalRoot = fs::canonical(root, error);
    if (!machine || error)
        return false;
    // Name by name, so that a backslash in a folder's name stays part of the name.
    platform::DevicePath anywhere;
    for (const fs::path& part : canonicalRoot.relative_path())
        anywhere = anywhere.Child(Utf8ToWide(part.string()));
    for (const std::wstring& name : path.Names())
        anywhere = anywhere.Child(name);
    fs::path found;
    return machine->HostPath(anywhere, found) == ERROR_SUCCESS;
}

// Installs the file system the month files are read through and gives the log folder as
// one of its device paths, checked to be a readable folder. A folder given with --log-dir is
// the root itself, wherever it lies; the UsageLogPath setting is a device path, held inside
// the device root as the device holds it: ".." above the root and links out of it are
// refused, as are month files linked out of it.
std::optional<std::string> ResolveLogFolder(const Options& options, const Settings& settings, std::wstring& folder)
{
    fs::path root;
    std::string shown; // the folder as the user knows it
    platform::DevicePath path;
    if (!options.logDir.empty()) {
        root = options.logDir;
        shown = Quoted(options.logDir);
    } else {
        root = platform::DeviceRoot(options.dataFolder);
        shown = Quoted(WideToUtf8(settings.UsageLogPath)) + " (UsageLogPath in " + root.string() + ")";
        if (DWORD error = platform::DevicePath::Parse(settings.UsageLogPath, path))
            return "log folder " + shown + ": "
                + (error == ERROR_ACCESS_DENIED ? std::string("leads out of the device root") : ErrorText(error));
    }
    folder = path.ToString();

    // Checked first: the file system would make a missing root.
    std::error_code missing;
    if (!fs::exists(root, missing))
        return "log folder " + shown + ": " + ErrorText(ERROR_PATH_NOT_FOUND);
    DWORD error = ERROR_SUCCESS;
    std::shared_ptr<platform::LinuxFileSystem> files = platform::LinuxFileSystem::Create(root, &error);
    if (!files)
        return "log folder " + shown + ": " + (error == ERROR_DIRECTORY ? std::string("not a folder") : ErrorText(error));
    platform::InstallFileSystem(files);

    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && options.logDir.empty() && LeadsOutOfRoot(root, path))
            return "log folder " + shown + ": leads out of the device root through a link";
        return "log folder " + shown + ": " + ErrorText(error);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return "log folder " + shown + " is not a folder";
    WIN32_FIND_DATAW found {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_NO_MORE_FILES) {
        return "log folder " + shown + " cannot be read: " + ErrorText(GetLastError());
    }
    return std::nullopt;
}

// Where a file of the log folder's file system lies on this machine, for the user to find.
std::string HostPathOf(const std::wstring& devicePath)
{
    auto files = std::dynamic_pointer_cast<platform::LinuxFileSystem>(platform::CurrentFileSystem());
    platform::DevicePath path;
    if (!files || platform::DevicePath::Parse(devicePath, path) != ERROR_SUCCESS)
        return WideToUtf8(devicePath);
    fs::path host;
    if (files->HostPath(path, host) == ERROR_SUCCESS)
        return host.string();
    host = files->Root();
    for (const std::wstring& name : path.Names())
        host /= WideToUtf8(name);
    return host.string();
}

// Month files that are there but could not be read: each, and why. Their months would read
// as without traffic, a report or export that looks right and is not.
int FailUnreadMonths(const std::vector<UnreadMonthFile>& unread)
{
    for (const UnreadMonthFile& file : unread) {
        DWORD attributes = GetFileAttributesW(file.path.c_str());
        bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        PrintError("usage: cannot read month file " + Quoted(HostPathOf(file.path)) + ": "
            + (folder ? std::string("a folder, not a file") : ErrorText(file.error)));
    }
    return kExitFiles;
}

// An error naming the interface when the logs name none of that name (case and "+" for
// spaces aside, as the reader takes it), with the names they do hold: the reader would take
// it as text to find in the records and report zeros or another interface's traffic. The
// report's months are looked at first, the whole folder only when they lack the name.
std::optional<std::string> UnknownInterface(const std::wstring& selector, DWORD interval,
    const platform::CalendarTime& date, const std::wstring& folder, MonthSource& source)
{
    const std::wstring wanted = FileSelector(selector);
    NameList names;
    auto logged = [&wanted, &names] {
        return std::any_of(names.begin(), names.end(), [&wanted](const std::wstring& name) { return FileSelector(name) == wanted; });
    };
    const int firstMonth = interval == IntervalMonthly ? 1 : date.Month();
    const int lastMonth = interval == IntervalMonthly ? 12 : date.Month();
    CollectNames(folder, platform::CalendarTime::FromFields(date.Year(), firstMonth, 1, 0, 0, 0),
        platform::CalendarTime::FromFields(date.Year(), lastMonth, 1, 0, 0, 0), names, source);
    if (logged())
        return std::nullopt;
    CollectFolderNames(folder, names, source);
    if (logged())
        return std::nullopt;
    std::string message = "unknown interface " + Quoted(WideToUtf8(selector)) + ": ";
    if (names.empty())
        return message + "the usage logs name no interface";
    constexpr size_t kListed = 20;
    message += "the usage logs name ";
    for (size_t i = 0; i < names.size() && i < kListed; ++i)
        message += (i > 0 ? ", " : "") + Quoted(WideToUtf8(names[i]));
    if (names.size() > kListed)
        message += " and " + std::to_string(names.size() - kListed) + " more";
    return message;
}

// Reads the month files through a fresh source until none is held. The device holds a month
// file only for the instant it adds an hour's record, so a file held now is read again after a
// moment before it is called unreadable; any other fault ends the reading at once.
template <typename Source, typename ReadAll, typename... SourceArguments>
void ReadPastTheDevicesWrites(std::optional<Source>& source, ReadAll readAll, SourceArguments... sourceArguments)
{
    constexpr int kRetries = 20;
    constexpr std::chrono::milliseconds kPause(50);
    for (int attempt = 0;; ++attempt) {
        source.emplace(sourceArguments...);
        readAll(*source);
        const std::vector<UnreadMonthFile>& unread = source->UnreadFiles();
        bool held = !unread.empty() && std::all_of(unread.begin(), unread.end(), [](const UnreadMonthFile& file) {
            return file.error == ERROR_SHARING_VIOLATION;
        });
        if (!held || attempt == kRetries)
            return;
        std::this_thread::sleep_for(kPause);
    }
}

std::wstring ReportHeading(DWORD interval, const platform::CalendarTime& date)
{
    std::wstring month = platform::FormatDate(date, L"MMMM");
    if (interval == IntervalHourly)
        return Fmt(L"Hourly Traffic: %s %d, %d", month, date.Day(), date.Year());
    if (interval == IntervalDaily)
        return Fmt(L"Daily Traffic: %s, %d", month, date.Year());
    return Fmt(L"Monthly Traffic: %d", date.Year());
}

constexpr int kDefaultChartWidth = 480;
constexpr int kDefaultChartHeight = 320;
constexpr int kChartSizeLow = 64;
constexpr int kChartSizeHigh = 4096;

// "WxH", each within the limits.
bool ParseSize(const std::string& text, int& width, int& height)
{
    size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == text.size() || x > 4 || text.size() - x - 1 > 4)
        return false;
    if (!ReadNumber(text, 0, x, width) || !ReadNumber(text, x + 1, text.size() - x - 1, height))
        return false;
    return width >= kChartSizeLow && width <= kChartSizeHigh && height >= kChartSizeLow && height <= kChartSizeHigh;
}

UsageReportTitle TitleFor(DWORD interval, const platform::CalendarTime& date, const std::wstring& label)
{
    UsageReportTitle title;
    title.interval = interval;
    title.monthName = platform::FormatDate(date, L"MMMM");
    title.day = date.Day();
    title.year = date.Year();
    title.adapterLabel = label;
    return title;
}

// The report page's chart of the table, drawn offscreen by a rendering backend (the one usage
// command that loads one) and written as PNG. The screenless backend needs no Qt and draws the
// same chart. An error message, or empty.
std::string DrawChartPng(const UsageTable& table, DWORD interval, const platform::CalendarTime& date, int width,
    int height, const std::string& path)
{
    std::string error;
    if (!platform::ui::LoadScreenlessRenderer(error))
        return "cannot draw the chart: " + error;
    UsageChartData data;
    data.base = interval == IntervalHourly ? 0 : 1;
    const int slots = UsageSlotCount(interval, date);
    for (int i = 0; i < slots; ++i) {
        data.sent.push_back(table[static_cast<size_t>(i) + 1]);
        data.received.push_back(table[UsageTableReceived + 1 + static_cast<size_t>(i)]);
    }
    const int dpi = platform::CurrentDevice().dpi;
    UsageChartCanvas canvas;
    HDC screen = GetDC(nullptr);
    bool drawn = canvas.Render(screen, width, height, data, ChartScale { dpi, dpi });
    ReleaseDC(nullptr, screen);
    if (!drawn)
        return "cannot draw the chart";
    // Written beside the file and renamed over it once whole, as the other outputs are.
    fs::path target(path);
    fs::path partial = target;
    partial += ".part";
    if (!platform::SaveBitmapPng(canvas.Bitmap(), partial.string())) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return "cannot write " + Quoted(path);
    }
    std::error_code renamed;
    fs::rename(partial, target, renamed);
    if (renamed) {
        fs::remove(partial, renamed);
        return "cannot write " + Quoted(path);
    }
    return {};
}

// Where the page finds the chart: beside it by its name, elsewhere by its path.
std::string ChartReference(const std::string& html, const std::string& chart)
{
    fs::path htmlFolder = fs::absolute(fs::path(html)).parent_path();
    fs::path chartPath = fs::absolute(fs::path(chart));
    if (chartPath.parent_path() == htmlFolder)
        return chartPath.filename().string();
    return chartPath.string();
}

int RunReport(const Options& options, const Settings& settings, const std::wstring& folder)
{
    std::optional<platform::CalendarTime> date = ParseDate(options.date, false);
    if (!date)
        return Fail(kExitUsage, "bad date " + Quoted(options.date) + ": use YYYY-MM-DD, a real day from 1970 on");
    const DWORD interval = IntervalCode(options.interval);
    const std::wstring selector = Utf8ToWide(options.interfaceName);

    UsageLogger noLiveCounts;
    std::optional<MonthTotalsCache> cache;
    if (std::optional<fs::path> cacheFolder = MonthTotalsCache::DefaultFolder(); cacheFolder && !options.noCache)
        cache.emplace(*cacheFolder);
    std::optional<DirectMonthSource> source;
    UsageTable table {};
    ReadPastTheDevicesWrites(
        source, [&](DirectMonthSource& months) { table = UsageTotals(noLiveCounts, interval, *date, selector, folder, months); },
        cache ? &*cache : nullptr);
    if (!source->UnreadFiles().empty())
        return FailUnreadMonths(source->UnreadFiles());
    if (!selector.empty()) {
        if (std::optional<std::string> problem = UnknownInterface(selector, interval, *date, folder, *source))
            return Fail(kExitUsage, *problem);
    }
    UsageCalendarNames names;
    names.weekdayShort = [](const platform::CalendarTime& t) { return platform::FormatDate(t, L"ddd"); };
    names.monthLong = [](const platform::CalendarTime& t) { return platform::FormatDate(t, L"MMMM"); };

    if (options.json) {
        std::string json = "{\"interval\":\"" + options.interval + "\",\"date\":\"" + options.date
            + "\",\"interface\":" + JsonString(selector) + ",\"slots\":[";
        bool first = true;
        for (const UsageReportRow& row : UsageReportRows(table, interval, *date, true, names)) {
            json += first ? "" : ",";
            first = false;
            json += "{\"slot\":" + std::to_string(row.slot) + ",\"label\":" + JsonString(row.label)
                + ",\"sent\":" + std::to_string(row.sent) + ",\"received\":" + std::to_string(row.received)
                + ",\"total\":" + std::to_string(row.Total()) + "}";
        }
        json += "]}";
        std::puts(json.c_str());
        return kExitDone;
    }

    const wchar_t* slotName = interval == IntervalHourly ? L"Hour" : interval == IntervalDaily ? L"Day" : L"Month";
    // The adapter label of the report window; a name the device has no display name for is
    // shown as it was given.
    std::wstring label = selector.empty() ? L"All Network Adapters" : UsageInterfaceDisplayName(settings, selector);
    if (label.empty())
        label = selector;

    if (options.verb == "chart") {
        int width = kDefaultChartWidth;
        int height = kDefaultChartHeight;
        if (!options.size.empty() && !ParseSize(options.size, width, height))
            return Fail(kExitUsage, "bad size " + Quoted(options.size) + ": use WxH, each 64 to 4096");
        if (std::string failed = DrawChartPng(table, interval, *date, width, height, options.chart); !failed.empty())
            return Fail(kExitFiles, failed);
        return kExitDone;
    }
    if (!options.html.empty()) {
        if (!options.chart.empty()) {
            std::string failed = DrawChartPng(table, interval, *date, kDefaultChartWidth, kDefaultChartHeight, options.chart);
            if (!failed.empty())
                return Fail(kExitFiles, failed);
        }
        std::vector<std::wstring> fragments
            = UsageTableHtml(TitleFor(interval, *date, label), UsageReportRows(table, interval, *date, options.zeros, names));
        std::string page
            = UsageReportDocument(fragments, options.chart.empty() ? std::string() : ChartReference(options.html, options.chart));
        if (std::string failed = ReplaceFileContents(options.html, page); !failed.empty())
            return Fail(kExitFiles, failed);
        return kExitDone;
    }
    std::wstring text = ReportHeading(interval, *date) + L"\n" + label + L"\n";
    AppendFmt(text, L"%-12s %10s %10s %10s\n", slotName, L"Xmit", L"Rcv", L"Total");
    for (const UsageReportRow& row : UsageReportRows(table, interval, *date, options.zeros, names)) {
        AppendFmt(text, L"%-12s %10s %10s %10s\n", row.label, UsageCellText(row.sent), UsageCellText(row.received),
            UsageCellText(row.Total()));
    }
    std::fputs(WideToUtf8(text).c_str(), stdout);
    return kExitDone;
}

int RunExport(const Options& options, const Settings& settings, const std::wstring& folder)
{
    std::optional<platform::CalendarTime> start = ParseDate(options.from, true);
    if (!start)
        return Fail(kExitUsage, "bad start " + Quoted(options.from) + ": use YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS");
    std::optional<platform::CalendarTime> end = ParseDate(options.to, true);
    if (!end)
        return Fail(kExitUsage, "bad end " + Quoted(options.to) + ": use YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS");
    if (*start > *end)
        return Fail(kExitUsage, "Invalid date range. The end date must be after the start date.");

    const DWORD exportInterval = options.interval == "monthly" ? ExportMonthly
        : options.interval == "daily"                          ? ExportDaily
                                                               : ExportHourly;
    UsageLogger noLiveCounts;
    std::optional<MonthFileCache> cache;
    UsageDisplayName displayName = [&settings](const std::wstring& key) { return UsageInterfaceDisplayName(settings, key); };
    // The range's month files are read into the cache here, once, before the export is made.
    ReadPastTheDevicesWrites(cache, [&](MonthFileCache& months) {
        NameList names;
        CollectNames(folder, *start, *end, names, months);
    });
    if (!cache->UnreadFiles().empty())
        return FailUnreadMonths(cache->UnreadFiles());
    std::string text;
    ExportOutcome outcome = ExportUsageText(noLiveCounts, *start, *end, exportInterval, folder, displayName, *cache, text);
    if (outcome == ExportOutcome::BadInterval)
        return Fail(kExitUsage, "bad interval");
    // --out is a file of this machine, its name taken as it is (a backslash is part of a
    // name), replaced only once the new file is whole: a full disk leaves the old one.
    if (std::string failed = ReplaceFileContents(options.out, text); !failed.empty())
        return Fail(kExitFiles, failed);
    if (outcome == ExportOutcome::NoInterfaces)
        return Fail(kExitNoData, "no interface was logged in that range: " + Quoted(options.out) + " is left empty");
    return kExitDone;
}

} // namespace

int RunUsageCommand(Arguments args)
{
    if (TakeFlag(args, "--help") || TakeFlag(args, "-h")) {
        std::fputs(kHelp, stdout);
        return kExitDone;
    }
    Options options;
    if (std::optional<std::string> error = ParseOptions(args, options))
        return Fail(kExitUsage, *error);

    // The device's settings give the default folder and the interfaces' display names. The
    // hive is only read (a missing one gives the initial settings), so a running device keeps it.
    platform::RegistryStoreResult opened = platform::OpenRegistryStore(platform::HivePath(options.dataFolder),
        platform::RegistryStoreMode::ReadOnly);
    if (!opened.Ok())
        return Fail(kExitFiles, opened.detail);
    int code = kExitDone;
    {
        Settings settings;
        std::wstring folder;
        if (std::optional<std::string> problem = ResolveLogFolder(options, settings, folder))
            code = Fail(kExitFiles, *problem);
        else
            code = options.verb == "export" ? RunExport(options, settings, folder) : RunReport(options, settings, folder);
    }
    platform::CloseRegistryStore();
    platform::UninstallFileSystem();
    if (code == kExitDone && !opened.damage.empty())
        code = kExitFiles; // the settings came from a hive with bad lines, said above
    return code;
}

} // namespace host
