// velmora net and velmora diag: run as programs, over a simulated network and on this machine,
// whose kernel they must agree with.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/wait.h>

#include "support/TestSupport.h"

namespace {

struct ProgramRun {
    int exitCode;
    std::string output;
};

ProgramRun Velmora(const std::string& arguments)
{
    std::string command = std::string(VELMORA_BINARY_DIR) + "/velmora " + arguments + " 2>&1";
    ProgramRun run { -1, {} };
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadLine(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

class NetCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scenario = folder.Path() / "office.scenario";
        std::ofstream(scenario) << "interface LOOPBACK type=loopback\n"
                                   "interface NE20001 mac=00-0A-1B-2C-3D-4E description=\"Sim NIC\"\n"
                                   "address NE20001 192.168.1.10/24\n"
                                   "route default via 192.168.1.1 dev NE20001\n"
                                   "dns NE20001 192.168.1.1\n"
                                   "wins NE20001 on\n"
                                   "counters NE20001 in=4294967301 out=77\n"
                                   "interface ppp1 type=ppp\n";
        options = "--data '" + (folder.Path() / "data").string() + "' --simulate '" + scenario.string() + "'";
    }
    testing_support::ScratchFolder folder;
    std::filesystem::path scenario;
    std::string options;
};

} // namespace

TEST_F(NetCommandTest, StatusLinesOfEachSimulatedInterface)
{
    ProgramRun run = Velmora("net " + options);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Tracking: automatic (the default route's adapter), interface 2\nDefault route: interface 2\n"),
        std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Interface 2: NE20001  <- tracked\n  NE20001*\n  IP Address: 192.168.1.10\n  Mask: 255.255.255.0\n"
                              "  Gateway: 192.168.1.1\n  DHCP Enabled: No\n  DNS Server: 192.168.1.1\n  WINS Server: Not available\n"
                              "  Hardware address: 00-0A-1B-2C-3D-4E\n  Octets in: 4294967301  out: 77\n  Usage key: NE20001\n"),
        std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Interface 3: ppp1\n"), std::string::npos);
    EXPECT_NE(run.output.find("  Hardware address: -\n  Octets in: 0  out: 0\n  Usage key: ppp:0\n"), std::string::npos) << run.output;

    ProgramRun json = Velmora("net --json " + options);
    ASSERT_EQ(json.exitCode, 0) << json.output;
    EXPECT_NE(json.output.find("\"tracking\": {\"mode\": \"automatic\", \"adapter\": \"\", \"index\": 2},\n  \"defaultRoute\": 2,"),
        std::string::npos)
        << json.output;
    EXPECT_NE(json.output.find("\"hardwareAddress\": \"00-0A-1B-2C-3D-4E\", \"inOctets\": 4294967301, \"outOctets\": 77, \"usageKey\": \"NE20001\", \"tracked\": true,\n"
                               "     \"ipAddress\": \"192.168.1.10\", \"mask\": \"255.255.255.0\", \"gateway\": \"192.168.1.1\",\n"
                               "     \"dhcp\": {\"enabled\": false}, \"dns\": [\"192.168.1.1\"], \"wins\": []}"),
        std::string::npos)
        << json.output;
}

TEST_F(NetCommandTest, AbsentValuesShowADashAndJsonGivesTheValuesThemselves)
{
    std::ofstream(scenario) << "interface LOOPBACK type=loopback\n"
                               "interface NE20001 mac=00-0A-1B-2C-3D-4E description=\"Sim NIC\"\n"
                               "address NE20001 192.168.1.10/24\n"
                               "route default via 192.168.1.1 dev NE20001\n"
                               "dns NE20001 192.168.1.53 10.0.0.53\n"
                               "wins NE20001 on 192.168.1.44 10.0.0.45\n"
                               "lease NE20001 server=192.168.1.254 obtained=1141740000 expires=1141826709\n"
                               "interface WLAN1 type=wireless\n";
    ProgramRun run = Velmora("net " + options);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // The loopback interface is no adapter: nothing to show, and no getter's fault text.
    EXPECT_NE(run.output.find("\n  IP Address: -\n  Mask: -\n  Gateway: -\n  DHCP Enabled: -\n  DNS Server: -\n  WINS Server: -\n"),
        std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("InvalidIndex"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Invalid Index"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("No index match"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("  IP Address: 192.168.1.10\n  Mask: 255.255.255.0\n  Gateway: 192.168.1.1\n"
                              "  Lease Expires: 3/8/06 14:05\n  DNS Server: 192.168.1.53\n  WINS Server: 192.168.1.44\n"),
        std::string::npos)
        << run.output;
    // An adapter without an address; its gateway is the system's "none", as the item shows it.
    EXPECT_NE(run.output.find("  IP Address: -\n  Mask: -\n  Gateway: 0.0.0.0\n  DHCP Enabled: No\n  DNS Server: Not available\n"),
        std::string::npos)
        << run.output;

    ProgramRun json = Velmora("net --json " + options);
    ASSERT_EQ(json.exitCode, 0) << json.output;
    EXPECT_NE(json.output.find("\"ipAddress\": \"192.168.1.10\", \"mask\": \"255.255.255.0\", \"gateway\": \"192.168.1.1\",\n"
                               "     \"dhcp\": {\"enabled\": true, \"server\": \"192.168.1.254\", \"leaseObtained\": 1141740000, "
                               "\"leaseExpires\": 1141826709}, \"dns\": [\"192.168.1.53\", \"10.0.0.53\"], "
                               "\"wins\": [\"192.168.1.44\", \"10.0.0.45\"]}"),
        std::string::npos)
        << json.output;
    EXPECT_NE(json.output.find("\"ipAddress\": null, \"mask\": null, \"gateway\": null,\n     \"dhcp\": null, \"dns\": null, \"wins\": null}"),
        std::string::npos)
        << json.output;
    EXPECT_NE(json.output.find("\"ipAddress\": null, \"mask\": null, \"gateway\": null,\n     \"dhcp\": {\"enabled\": false}, \"dns\": [], \"wins\": []}"),
        std::string::npos)
        << json.output;
    EXPECT_EQ(json.output.find("IP Address"), std::string::npos) << json.output;

    // A failing DNS query is no address either.
    std::ofstream(scenario, std::ios::app) << "fail GetPerAdapterInfo\n";
    run = Velmora("net " + options);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Lease Expires: 3/8/06 14:05\n  DNS Server: -\n"), std::string::npos) << run.output;
    json = Velmora("net --json " + options);
    EXPECT_NE(json.output.find("\"leaseExpires\": 1141826709}, \"dns\": null, "), std::string::npos) << json.output;
}

TEST_F(NetCommandTest, DiagWritesTheDevicesFileOrUtf8Text)
{
    std::filesystem::path out = folder.Path() / "velmoradebug.txt";
    ProgramRun run = Velmora("diag --out '" + out.string() + "' " + options);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::string bytes = testing_support::ReadWholeFile(out);
    const std::string start("V\0e\0l\0m\0o\0r\0a\0 \0V\0e\0r\0s\0i\0o\0n\0:\0 \0""1\0.\0""9\0\r\0\n\0", 44);
    ASSERT_GE(bytes.size(), start.size());
    EXPECT_EQ(bytes.substr(0, start.size()), start); // no byte-order mark, CR LF
    const std::string end("-\0-\0\r\0\n\0", 8);
    EXPECT_EQ(bytes.substr(bytes.size() - end.size()), end);

    ProgramRun text = Velmora("diag " + options);
    ASSERT_EQ(text.exitCode, 0) << text.output;
    EXPECT_EQ(text.output.find('\r'), std::string::npos);
    EXPECT_NE(text.output.find("Adapter Name: 'NE20001'\nAdapter Description: 'Sim NIC'\nAdapter IP Address: 192.168.1.10\n"),
        std::string::npos)
        << text.output;
    EXPECT_NE(text.output.find("GetBestInterface: Index 2\nConnection State (g_uiNetAct): Connected\n"), std::string::npos);
}

TEST_F(NetCommandTest, BadArgumentsAndScenarios)
{
    EXPECT_EQ(Velmora("net --bogus " + options).exitCode, 2);
    EXPECT_EQ(Velmora("diag extra " + options).exitCode, 2);
    std::ofstream(scenario) << "interface NE20001 type=token\n";
    ProgramRun run = Velmora("net " + options);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("office.scenario:1: bad type \"token\""), std::string::npos) << run.output;
}

TEST_F(NetCommandTest, ASimulationTakesClockLinesAndLeavesTheDataFolderAlone)
{
    std::filesystem::path data = folder.Path() / "data";
    ASSERT_EQ(Velmora("--data '" + data.string() + "' reg add 'HKCU\\Software\\Tavrel\\Velmora' /v Mine /d kept /f").exitCode, 0);
    std::string hive = testing_support::ReadWholeFile(data / "registry.reg");
    ASSERT_FALSE(hive.empty());
    {
        std::ofstream(scenario, std::ios::app) << "clock 2026-03-01 10:00:00\n";
    }
    ProgramRun run = Velmora("net " + options);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Interface 2: NE20001"), std::string::npos) << run.output;
    ProgramRun diag = Velmora("diag " + options);
    EXPECT_EQ(diag.exitCode, 0) << diag.output;
    // The simulated adapters' keys live in a copy: the user's hive is as it was.
    EXPECT_EQ(testing_support::ReadWholeFile(data / "registry.reg"), hive);
}

TEST(NetCommandLive, AgreesWithTheKernel)
{
    testing_support::ScratchFolder folder;
    std::string options = "--data '" + folder.Path().string() + "'";
    std::map<std::string, uint64_t> before;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net"))
        before[entry.path().filename().string()] = std::stoull(ReadLine(entry.path() / "statistics/rx_bytes"));
    ProgramRun run = Velmora("net --json " + options);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const auto& [name, rxBefore] : before) {
        SCOPED_TRACE(name);
        size_t at = run.output.find("\"linuxName\": \"" + name + "\"");
        ASSERT_NE(at, std::string::npos) << run.output;
        size_t end = run.output.find('}', at);
        std::string entry = run.output.substr(at, end - at);
        // The hardware address in the device's form: upper case, dashes.
        std::string address = ReadLine("/sys/class/net/" + name + "/address");
        std::string expected;
        for (char ch : address)
            expected += ch == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        std::string shown = name == "lo" ? "null" : "\"" + expected + "\"";
        EXPECT_NE(entry.find("\"hardwareAddress\": " + shown + ","), std::string::npos) << entry;
        // The counter is the kernel's whole one, read between two readings of it.
        uint64_t rxAfter = std::stoull(ReadLine("/sys/class/net/" + name + "/statistics/rx_bytes"));
        size_t in = entry.find("\"inOctets\": ");
        ASSERT_NE(in, std::string::npos);
        uint64_t ours = std::stoull(entry.substr(in + 12));
        EXPECT_GE(ours, rxBefore);
        EXPECT_LE(ours, rxAfter);
    }
    // The tracked interface is the default route's.
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::getline(routes, line);
    std::string defaultInterface;
    while (std::getline(routes, line)) {
        char name[64] = {};
        unsigned destination = 1;
        if (std::sscanf(line.c_str(), "%63s %x", name, &destination) == 2 && destination == 0) {
            defaultInterface = name;
            break;
        }
    }
    if (!defaultInterface.empty()) {
        size_t at = run.output.find("\"linuxName\": \"" + defaultInterface + "\"");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(run.output.substr(at, run.output.find('}', at) - at).find("\"tracked\": true"), std::string::npos);
    }

    ProgramRun diag = Velmora("diag " + options);
    ASSERT_EQ(diag.exitCode, 0) << diag.output;
    EXPECT_NE(diag.output.find(defaultInterface.empty() ? "GetBestInterface: Disconnected" : "GetBestInterface: Index "),
        std::string::npos);
}
