#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/core/DataFolder.h"
#include "platform/files/FileSystem.h"
#include "platform/files/LinuxFileSystem.h"
#include "platform/registry/RegistryStore.h"
#include "platform/text/Utf16.h"
#include "settings/SettingsKeys.h"
#include "support/RegistryTestSupport.h"
#include "support/TestSupport.h"
#include "usage/UsageExport.h"
#include "usage/UsageLogger.h"

namespace fs = std::filesystem;

namespace {

struct CommandRun {
    int exitCode = -1;
    std::string output;
};

// shellFirst runs in the shell before the program: limits for it.
CommandRun Velmora(const std::string& arguments, const std::string& shellFirst = "")
{
    CommandRun run;
    FILE* pipe = ::popen((shellFirst + std::string(VELMORA_BINARY_DIR) + "/velmora " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.output.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void PutFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string GetFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const fs::path& path)
{
    return "'" + path.string() + "'";
}

const wchar_t* const kMarch = L"2006-3-7-14 *2* \tne20001 1048576 52428 \tppp:1 0 0 \r\n"
                              L"2006-3-7-15 *2* \tne20001 100 -1294967296 \tusb+sync+cable 5 6 \r\n";
const wchar_t* const kApril = L"2006-4-1-0 *1* \twlan1 1 2 \r\n";

// Month files in a folder of their own, and a data folder whose settings name dial-up 1 Office.
class UsageCommandTest : public ::testing::Test {
protected:
    UsageCommandTest()
    {
        PutFile(m_logs / "UsageData200603.txt", EncodeUtf16Le(kMarch));
        PutFile(m_logs / "UsageData200604.txt", EncodeUtf16Le(kApril));
        EXPECT_TRUE(platform::OpenRegistryStore(platform::HivePath(m_data), platform::RegistryStoreMode::ReadWrite).Ok());
        testing_support::PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved", 1);
        testing_support::PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"RasAdapterNames", L"USB Sync Cable*Office*");
        platform::CloseRegistryStore();
        platform::ResetRegistryForTests();
    }

    CommandRun Usage(const std::string& arguments) const
    {
        return Velmora("usage " + arguments + " --data " + Quote(m_data) + " --log-dir " + Quote(m_logs));
    }

    testing_support::ScratchFolder m_scratch;
    fs::path m_logs = m_scratch.Path() / "logs";
    fs::path m_data = m_scratch.Path() / "data";
};

} // namespace

TEST_F(UsageCommandTest, ReportPrintsTheTableRowsOrEverySlotAsJson)
{
    CommandRun hourly = Usage("report --interval hourly --date 2006-03-07");
    ASSERT_EQ(hourly.exitCode, 0) << hourly.output;
    EXPECT_EQ(hourly.output, "Hourly Traffic: March 7, 2006\n"
                             "All Network Adapters\n"
                             "Hour               Xmit        Rcv      Total\n"
                             "2-3 PM             1 MB      51 KB       1 MB\n"
                             "3-4 PM            105 B       2 GB       2 GB\n");
    EXPECT_EQ(Usage("report --interval daily --date 2006-03-01 --interface 'USB Sync Cable'").output,
        "Daily Traffic: March, 2006\nUSB Sync Cable\nDay                Xmit        Rcv      Total\n"
        "7 (Tue)             5 B        6 B       11 B\n");
    EXPECT_NE(Usage("report --interval hourly --date 2006-03-07 --interface ppp:1").output.find("\nOffice\n"),
        std::string::npos);

    std::string zeros = Usage("report --interval monthly --date 2006-12-31 --zeros").output;
    EXPECT_NE(zeros.find("January               -          -          -\n"), std::string::npos) << zeros;
    EXPECT_NE(zeros.find("April               1 B        2 B        3 B\n"), std::string::npos) << zeros;
    EXPECT_EQ(std::count(zeros.begin(), zeros.end(), '\n'), 15);

    std::string json = Usage("report --interval hourly --date 2006-03-07 --json").output;
    EXPECT_EQ(json.rfind("{\"interval\":\"hourly\",\"date\":\"2006-03-07\",\"interface\":\"\",\"slots\":[", 0), 0u);
    EXPECT_NE(json.find("{\"slot\":0,\"label\":\"12-1 AM\",\"sent\":0,\"received\":0,\"total\":0},"), std::string::npos);
    EXPECT_NE(json.find("{\"slot\":15,\"label\":\"3-4 PM\",\"sent\":105,\"received\":3000000006,\"total\":3000000111}"),
        std::string::npos);
    EXPECT_NE(json.find("{\"slot\":23,\"label\":\"11-12 PM\",\"sent\":0,\"received\":0,\"total\":0}]}\n"), std::string::npos);
}

TEST_F(UsageCommandTest, HtmlReportIsThePagesTableInAPageWithACharset)
{
    fs::path html = m_scratch.Path() / "out" / "march.html";
    fs::create_directories(html.parent_path());
    CommandRun run = Usage("report --interval hourly --date 2006-03-07 --interface 'USB Sync Cable' --html " + Quote(html));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string page = GetFile(html);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">", 0), 0u) << page;
    EXPECT_NE(page.find("<strong>Hourly Traffic: March 7, 2006</strong></div></td></tr><tr> <td><div align=center>"
                        "<font size=2>USB Sync Cable</font>"),
        std::string::npos)
        << page;
    EXPECT_NE(page.find("<tr bordercolor=\"#666666\" bgcolor=\"#DDDDDD\"><td align=center>3-4 PM</td> "
                        "<td align=center>5 B</td> <td align=center>6 B</td> <td align=center>11 B</td></tr>\n</table>"),
        std::string::npos)
        << page;
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(run.output, "");

    fs::path png = html.parent_path() / "march.png";
    run = Usage("report --interval daily --date 2006-03-07 --zeros --html " + Quote(html) + " --chart " + Quote(png));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    page = GetFile(html);
    EXPECT_NE(page.find("<img src=\"march.png\""), std::string::npos) << page;
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 7 + 2 + 31 + 3); // head, chart, days, end
    EXPECT_EQ(GetFile(png).substr(1, 3), "PNG");

    EXPECT_EQ(Usage("report --interval daily --date 2006-03-07 --chart " + Quote(png)).exitCode, 2);
    EXPECT_EQ(Usage("report --interval daily --date 2006-03-07 --json --html " + Quote(html)).exitCode, 2);
}

TEST_F(UsageCommandTest, ChartDrawsThePagesChartAtTheSizeAsked)
{
    fs::path png = m_scratch.Path() / "chart.png";
    CommandRun run = Usage("chart --interval hourly --date 2006-03-07 --size 333x177 --out " + Quote(png));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string bytes = GetFile(png);
    ASSERT_GE(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&bytes](size_t at) {
        return (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24)
            | (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16)
            | (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8)
            | static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 333u); // the header's width and height
    EXPECT_EQ(be32(20), 177u);
    EXPECT_FALSE(fs::exists(png.string() + ".part"));

    EXPECT_EQ(Usage("chart --interval hourly --date 2006-03-07 --size 4097x100 --out " + Quote(png)).exitCode, 2);
    EXPECT_EQ(Usage("chart --interval hourly --date 2006-03-07 --size 100 --out " + Quote(png)).exitCode, 2);
    EXPECT_EQ(Usage("chart --interval hourly --date 2006-03-07").exitCode, 2);
    EXPECT_EQ(Usage("chart --interval hourly --date 2006-03-07 --out " + Quote(m_scratch.Path() / "none" / "c.png")).exitCode, 1);
}

TEST_F(UsageCommandTest, ExportWritesTheFileExportUsageWrites)
{
    fs::path out = m_scratch.Path() / "march.csv";
    CommandRun run = Usage("export --interval hourly --from 2006-03-07T10:00:00 --to 2006-04-01T10:00:00 --out " + Quote(out));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output, "");

    auto device = platform::LinuxFileSystem::Create(m_scratch.Path());
    platform::InstallFileSystem(device);
    UsageLogger noLiveCounts;
    auto names = [](const std::wstring& key) { return key == L"ppp:1" ? std::wstring(L"Office") : std::wstring(); };
    ASSERT_TRUE(ExportUsage(noLiveCounts, platform::CalendarTime::FromFields(2006, 3, 7, 10, 0, 0),
        platform::CalendarTime::FromFields(2006, 4, 1, 10, 0, 0), ExportHourly, L"\\expected.csv", L"\\logs", names));
    platform::UninstallFileSystem();
    EXPECT_EQ(GetFile(out), GetFile(m_scratch.Path() / "expected.csv"));
    EXPECT_EQ(GetFile(out).rfind("Year,Month,Day,Hour,ne20001-Tx Bytes, ne20001-Rx Bytes,Office-Tx Bytes, Office-Rx Bytes,", 0), 0u);

    // A date alone is midnight: the end day is then left out of an hourly export from 10:00.
    ASSERT_EQ(Usage("export --interval hourly --from 2006-03-07T10:00:00 --to 2006-03-08 --out " + Quote(out)).exitCode, 0);
    std::string oneDay = GetFile(out);
    EXPECT_EQ(std::count(oneDay.begin(), oneDay.end(), '\n'), 25);
}

TEST_F(UsageCommandTest, ProblemsAreToldWithExitCodes)
{
    fs::path out = m_scratch.Path() / "out.csv";
    CommandRun backwards = Usage("export --interval daily --from 2006-03-09 --to 2006-03-08T23:59:59 --out " + Quote(out));
    EXPECT_EQ(backwards.exitCode, 2);
    EXPECT_NE(backwards.output.find("Invalid date range. The end date must be after the start date."), std::string::npos);
    EXPECT_FALSE(fs::exists(out));

    CommandRun empty = Usage("export --interval monthly --from 2005-01-01 --to 2005-12-31 --out " + Quote(out));
    EXPECT_EQ(empty.exitCode, 3);
    EXPECT_NE(empty.output.find("no interface"), std::string::npos);
    EXPECT_EQ(fs::file_size(out), 0u);

    CommandRun unwritable = Usage("export --interval daily --from 2006-03-01 --to 2006-03-02 --out "
        + Quote(m_scratch.Path() / "missing" / "out.csv"));
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.output.find("cannot write"), std::string::npos) << unwritable.output;

    for (const char* bad : { "2006-02-29", "2006-13-01", "06-03-01", "2006-03-01T24:00:00", "2006-03-01 10:00" }) {
        CommandRun run = Usage(std::string("export --interval daily --from '") + bad + "' --to 2006-03-02 --out " + Quote(out));
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_NE(run.output.find("bad start"), std::string::npos) << run.output;
    }
    EXPECT_EQ(Usage("report --interval weekly --date 2006-03-07").exitCode, 2);
    EXPECT_EQ(Usage("report --interval daily").exitCode, 2);
    EXPECT_EQ(Usage("report --interval daily --date 2006-03-07 --bogus").exitCode, 2);
    EXPECT_EQ(Usage("export --interval daily --date 2006-03-07").exitCode, 2);
    EXPECT_EQ(Velmora("usage frobnicate").exitCode, 2);

    CommandRun missing = Velmora("usage report --interval daily --date 2006-03-07 --data " + Quote(m_data) + " --log-dir "
        + Quote(m_scratch.Path() / "nope"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("not found"), std::string::npos) << missing.output;
}

TEST_F(UsageCommandTest, MonthFileThatIsThereButCannotBeReadIsAnError)
{
    // A folder in place of May's file: the reports and exports that need May say so and
    // exit 1, rather than show May without traffic; the others go on.
    fs::create_directories(m_logs / "UsageData200605.txt");
    fs::path out = m_scratch.Path() / "out.csv";
    for (const std::string& arguments : { std::string("report --interval daily --date 2006-05-07"),
             std::string("report --interval monthly --date 2006-01-01 --json"),
             std::string("report --interval hourly --date 2006-05-31 --interface ne20001"),
             "export --interval monthly --from 2006-03-01 --to 2006-05-01 --out " + Quote(out) }) {
        CommandRun run = Usage(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments;
        EXPECT_EQ(run.output, "velmora: usage: cannot read month file " + Quote(fs::canonical(m_logs) / "UsageData200605.txt")
                + ": a folder, not a file\n") << arguments;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(Usage("report --interval daily --date 2006-04-01").exitCode, 0);
    EXPECT_EQ(Usage("export --interval monthly --from 2006-03-01 --to 2006-04-30 --out " + Quote(out)).exitCode, 0);

    // A file without permission to read it, where that is kept (not as root).
    if (::geteuid() != 0) {
        PutFile(m_logs / "UsageData200606.txt", EncodeUtf16Le(L"2006-6-1-0 *1* \twlan1 1 2 \r\n"));
        fs::permissions(m_logs / "UsageData200606.txt", fs::perms::none);
        CommandRun denied = Usage("report --interval daily --date 2006-06-01");
        EXPECT_EQ(denied.exitCode, 1);
        EXPECT_NE(denied.output.find("UsageData200606.txt': access denied"), std::string::npos) << denied.output;
    }
}

TEST_F(UsageCommandTest, AMonthFileHeldForAnInstantIsReadOnceItIsFree)
{
    // The device holds a month file (an exclusive lock on it) while it adds an hour's record.
    int held = ::open((m_logs / "UsageData200603.txt").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::thread device([held] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::flock(held, LOCK_UN);
    });
    CommandRun report = Usage("report --interval hourly --date 2006-03-07");
    device.join();
    EXPECT_EQ(report.exitCode, 0) << report.output;
    EXPECT_NE(report.output.find("3-4 PM            105 B       2 GB       2 GB\n"), std::string::npos) << report.output;

    // Held for good, it is an error naming the file, for the export too.
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    fs::path out = m_scratch.Path() / "out.csv";
    for (const std::string& arguments : { std::string("report --interval hourly --date 2006-03-07"),
             "export --interval monthly --from 2006-03-01 --to 2006-04-30 --out " + Quote(out) }) {
        CommandRun run = Usage(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments;
        EXPECT_NE(run.output.find("UsageData200603.txt': in use"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(fs::exists(out));
    ::close(held);
}

TEST_F(UsageCommandTest, UnknownInterfaceIsABadArgumentThatListsTheLoggedNames)
{
    CommandRun unknown = Usage("report --interval daily --date 2006-03-07 --interface wlan9");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.output, "velmora: usage: unknown interface 'wlan9': the usage logs name 'ne20001', 'ppp:1', "
                              "'usb sync cable', 'wlan1'\n");
    // A part of a name is no name, though it occurs in the records.
    EXPECT_EQ(Usage("report --interval monthly --date 2006-01-01 --interface ppp").exitCode, 2);
    EXPECT_EQ(Usage("report --interval daily --date 2006-03-07 --interface 1048576").exitCode, 2);

    // A name logged in another month only is known: its report has no rows. Case and "+"
    // for spaces count as the reader takes them.
    CommandRun otherMonth = Usage("report --interval daily --date 2006-03-07 --interface WLAN1");
    EXPECT_EQ(otherMonth.exitCode, 0) << otherMonth.output;
    EXPECT_EQ(otherMonth.output, "Daily Traffic: March, 2006\nWLAN1\nDay                Xmit        Rcv      Total\n");
    EXPECT_EQ(Usage("report --interval daily --date 2006-03-07 --interface usb+SYNC+cable").exitCode, 0);

    CommandRun noLogs = Velmora("usage report --interval daily --date 2006-03-07 --interface ne20001 --data " + Quote(m_data)
        + " --log-dir " + Quote(m_data));
    EXPECT_EQ(noLogs.exitCode, 2);
    EXPECT_NE(noLogs.output.find("unknown interface 'ne20001': the usage logs name no interface"), std::string::npos)
        << noLogs.output;
}

TEST(UsageCommand, WithoutLogDirReadsTheDevicesUsageLogPath)
{
    testing_support::ScratchFolder data;
    fs::path device = platform::DeviceRoot(data.Path());
    PutFile(device / "Program Files" / "Velmora" / "UsageData200603.txt", EncodeUtf16Le(kMarch));
    CommandRun byDefault = Velmora("usage report --interval daily --date 2006-03-07 --data " + Quote(data.Path()));
    ASSERT_EQ(byDefault.exitCode, 0) << byDefault.output;
    EXPECT_NE(byDefault.output.find("7 (Tue)"), std::string::npos) << byDefault.output;

    // The setting names another folder, which the device keeps in other case.
    PutFile(device / "storage card" / "LOGS" / "UsageData200604.txt", EncodeUtf16Le(kApril));
    ASSERT_TRUE(platform::OpenRegistryStore(platform::HivePath(data.Path()), platform::RegistryStoreMode::ReadWrite).Ok());
    testing_support::PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved", 1);
    testing_support::PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"UsageLogPath", L"\\Storage Card\\Logs");
    platform::CloseRegistryStore();
    platform::ResetRegistryForTests();
    CommandRun moved = Velmora("usage report --interval daily --date 2006-04-01 --data " + Quote(data.Path()));
    ASSERT_EQ(moved.exitCode, 0) << moved.output;
    EXPECT_NE(moved.output.find("1 (Sat)"), std::string::npos) << moved.output;
}

TEST_F(UsageCommandTest, AnExportThatCannotBeWrittenLeavesTheOldFileWhole)
{
    fs::path out = m_scratch.Path() / "old.csv";
    PutFile(out, "Year,Month,\r\n2005,1,\r\n");
    // Room for a kilobyte or two: the 25 days of hours need more.
    CommandRun full = Velmora("usage export --interval hourly --from 2006-03-07 --to 2006-04-01 --data " + Quote(m_data)
            + " --log-dir " + Quote(m_logs) + " --out " + Quote(out),
        "ulimit -f 2; ");
    EXPECT_EQ(full.exitCode, 1) << full.output;
    EXPECT_NE(full.output.find("cannot write " + out.string()), std::string::npos) << full.output;
    EXPECT_EQ(GetFile(out), "Year,Month,\r\n2005,1,\r\n");
    EXPECT_FALSE(fs::exists(out.string() + ".tmp"));

    // The same when the file beside it cannot be made.
    fs::create_directory(out.string() + ".tmp");
    CommandRun blocked = Usage("export --interval daily --from 2006-03-01 --to 2006-03-31 --out " + Quote(out));
    EXPECT_EQ(blocked.exitCode, 1) << blocked.output;
    EXPECT_EQ(GetFile(out), "Year,Month,\r\n2005,1,\r\n");
}

// A backslash in a file or folder name of this machine is an ordinary character, never a
// separator that could lead out of the folder it names.
TEST_F(UsageCommandTest, BackslashesInHostPathsArePartOfTheName)
{
    fs::create_directories(m_scratch.Path() / "sub");
    fs::path out = m_scratch.Path() / "sub" / "x\\..\\..\\victim.csv";
    CommandRun written = Usage("export --interval monthly --from 2006-01-01 --to 2006-12-31 --out " + Quote(out));
    ASSERT_EQ(written.exitCode, 0) << written.output;
    EXPECT_EQ(GetFile(out).rfind("Year,Month,", 0), 0u);
    EXPECT_FALSE(fs::exists(m_scratch.Path() / "victim.csv"));

    // --log-dir a\b is that folder, not b inside a.
    PutFile(m_scratch.Path() / "a\\b" / "UsageData200604.txt", EncodeUtf16Le(kApril));
    PutFile(m_scratch.Path() / "a" / "b" / "UsageData200603.txt", EncodeUtf16Le(kMarch));
    CommandRun logs = Velmora("usage report --interval monthly --date 2006-01-01 --data " + Quote(m_data) + " --log-dir "
        + Quote(m_scratch.Path() / "a\\b"));
    ASSERT_EQ(logs.exitCode, 0) << logs.output;
    EXPECT_NE(logs.output.find("April "), std::string::npos) << logs.output;
    EXPECT_EQ(logs.output.find("March "), std::string::npos) << logs.output;

    // --data d\e is that folder, its device root inside it.
    fs::path data = m_scratch.Path() / "d\\e";
    PutFile(platform::DeviceRoot(data) / "Program Files" / "Velmora" / "UsageData200603.txt", EncodeUtf16Le(kMarch));
    CommandRun device = Velmora("usage report --interval daily --date 2006-03-07 --data " + Quote(data));
    ASSERT_EQ(device.exitCode, 0) << device.output;
    EXPECT_NE(device.output.find("7 (Tue)"), std::string::npos) << device.output;
}

namespace {

void SetUsageLogPath(const fs::path& data, const std::wstring& path)
{
    ASSERT_TRUE(platform::OpenRegistryStore(platform::HivePath(data), platform::RegistryStoreMode::ReadWrite).Ok());
    testing_support::PutDword(HKEY_CURRENT_USER, kUserSettingsKey, L"SettingsSaved", 1);
    testing_support::PutString(HKEY_CURRENT_USER, kUserSettingsKey, L"UsageLogPath", path.c_str());
    platform::CloseRegistryStore();
    platform::ResetRegistryForTests();
}

} // namespace

// UsageLogPath is a device path: like every device path it stays inside the device root,
// whatever a hand-edited hive says, and so do the links on its way.
TEST(UsageCommand, TheUsageLogPathStaysInsideTheDeviceRoot)
{
    testing_support::ScratchFolder scratch;
    fs::path data = scratch.Path() / "data";
    fs::path device = platform::DeviceRoot(data);
    fs::path outside = scratch.Path() / "outside";
    PutFile(outside / "UsageData200603.txt", EncodeUtf16Le(kMarch));
    fs::create_directories(device / "Program Files");
    const std::string report = "usage report --interval daily --date 2006-03-07 --data " + Quote(data);

    for (const wchar_t* path : { L"\\..\\..\\outside", L"/Program Files/../../../outside", L"\\Program Files\\..\\..\\..\\outside" }) {
        SetUsageLogPath(data, path);
        CommandRun run = Velmora(report);
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find("(UsageLogPath in "), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("leads out of the device root"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("7 (Tue)"), std::string::npos) << run.output;
    }
    fs::path out = scratch.Path() / "out.csv";
    EXPECT_EQ(Velmora("usage export --interval daily --from 2006-03-01 --to 2006-03-31 --out " + Quote(out) + " --data "
                  + Quote(data))
                  .exitCode,
        1);
    EXPECT_FALSE(fs::exists(out));

    // ".." that stays inside is a device path like any other.
    PutFile(device / "Logs" / "UsageData200603.txt", EncodeUtf16Le(kMarch));
    SetUsageLogPath(data, L"\\Program Files\\..\\Logs");
    CommandRun inside = Velmora(report);
    EXPECT_EQ(inside.exitCode, 0) << inside.output;
    EXPECT_NE(inside.output.find("7 (Tue)"), std::string::npos) << inside.output;

    // The default folder as a link to a folder outside.
    SetUsageLogPath(data, L"\\Program Files\\Velmora");
    fs::create_directory_symlink(outside, device / "Program Files" / "Velmora");
    CommandRun linked = Velmora(report);
    EXPECT_EQ(linked.exitCode, 1) << linked.output;
    EXPECT_NE(linked.output.find("UsageLogPath"), std::string::npos) << linked.output;
    EXPECT_NE(linked.output.find("through a link"), std::string::npos) << linked.output;
    EXPECT_EQ(linked.output.find("7 (Tue)"), std::string::npos) << linked.output;

    // A month file linked out of the root is not read either.
    fs::remove(device / "Program Files" / "Velmora");
    fs::create_directories(device / "Program Files" / "Velmora");
    fs::create_symlink(outside / "UsageData200603.txt", device / "Program Files" / "Velmora" / "UsageData200603.txt");
    EXPECT_EQ(Velmora(report).output.find("7 (Tue)"), std::string::npos);
}
