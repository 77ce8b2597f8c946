// The command-line tools never map a Qt library or the Qt rendering backend, which only the
// Today screen with a window (and the simulations) load. Read from the program's own map at its
// exit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/ProgramRun.h"
#include "support/TestSupport.h"

namespace {

using host_test::ProgramInput;
using host_test::RunVelmora;

// What the program had mapped when it ended.
std::string MapsOfRun(const std::vector<std::string>& args, const std::filesystem::path& mapsFile)
{
    ProgramInput input;
    input.environment.push_back({ "LD_PRELOAD", VELMORA_EXIT_MAPS });
    input.environment.push_back({ "VELMORA_TEST_MAPS_FILE", mapsFile.string() });
    // Under the address sanitizer the preloaded probe comes before the sanitizer's runtime.
    const char* asan = std::getenv("ASAN_OPTIONS");
    input.environment.push_back({ "ASAN_OPTIONS", std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0" });
    RunVelmora(args, input);
    std::ifstream in(mapsFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool MapsQt(const std::string& maps)
{
    return maps.find("libQt6") != std::string::npos || maps.find("libvelplatform-qt") != std::string::npos;
}

TEST(QtFreeToolsTest, NoDataToolMapsQtOrTheRenderingBackend)
{
    testing_support::ScratchFolder folder;
    std::string data = (folder.Path() / "data").string();
    std::string out = (folder.Path() / "out").string();
    // Leases are changed in a simulation only, never on this machine.
    std::string scenario = (folder.Path() / "lan.scenario").string();
    std::ofstream(scenario) << "interface NE20001\naddress NE20001 192.168.1.10/24\nroute default dev NE20001\n"
                               "lease NE20001 duration=600\n";
    const std::vector<std::vector<std::string>> runs = {
        { "--version" },
        { "--help" },
        { "--data", data, "settings" },
        { "--data", data, "settings", "--save" },
        { "--data", data, "reg", "query", "HKCU\\Software" },
        { "--data", data, "reg", "export", out + ".reg" },
        { "--data", data, "net" },
        { "--data", data, "diag", "--out", out + ".txt" },
        { "--data", data, "usage", "report", "--interval", "monthly", "--date", "2026-03-01" },
        { "--data", data, "usage", "export", "--interval", "daily", "--from", "2026-01-01", "--to", "2026-03-01", "--out",
            out + ".csv" },
        { "--data", data, "dhcp", "renew", "--simulate", scenario },
        { "--data", data, "profiles", "add", "Office", "--ip", "10.1.0.5", "--mask", "255.255.255.0", "--gateway", "10.1.0.1" },
        { "--data", data, "profiles", "list", "--json" },
        { "--data", data, "profiles", "show", "Office" },
        { "--data", data, "profiles", "delete", "Office" },
        { "--data", data, "ping", "127.0.0.1", "-c", "1" },
        { "--data", data, "usage", "report", "--interval", "daily", "--date", "2026-03-01", "--html", out + ".html", "--log-dir",
            folder.Path().string() },
    };
    for (const auto& args : runs) {
        std::string maps = MapsOfRun(args, folder.Path() / "maps");
        std::string line;
        for (const std::string& arg : args)
            line += " " + arg;
        ASSERT_FALSE(maps.empty()) << "no map was written for velmora" << line;
        EXPECT_FALSE(MapsQt(maps)) << "velmora" << line << " mapped Qt";
    }
}

// The version is answered by the executable alone; every other run loads the program's
// library, the platform and the module behind it.
TEST(QtFreeToolsTest, TheVersionLoadsNoLibraryOfTheProgram)
{
    testing_support::ScratchFolder folder;
    for (const std::vector<std::string>& args : { std::vector<std::string> { "--version" },
             std::vector<std::string> { "--data", (folder.Path() / "data").string(), "--version" } }) {
        std::string maps = MapsOfRun(args, folder.Path() / "maps");
        ASSERT_FALSE(maps.empty());
        EXPECT_EQ(maps.find("libvelmora-program.so"), std::string::npos) << args.size();
        EXPECT_EQ(maps.find("libvelplatform"), std::string::npos) << args.size();
        EXPECT_EQ(maps.find("libvelmora.so"), std::string::npos) << args.size();
    }
    std::string maps = MapsOfRun({ "--help" }, folder.Path() / "maps");
    EXPECT_NE(maps.find("libvelmora-program.so"), std::string::npos);
    EXPECT_NE(maps.find("libvelplatform.so"), std::string::npos);
}

// A device without a screen draws through the screenless backend and maps no Qt; a simulation
// (whose pictures are compared to the pixel) draws through Qt, which the same probe sees, so that
// its silence elsewhere means something.
TEST(QtFreeToolsTest, TheHeadlessScreenLoadsNoQtAndASimulationDoes)
{
    testing_support::ScratchFolder folder;
    std::string data = (folder.Path() / "data").string();
    std::string headless = MapsOfRun({ "--data", data, "--headless", "--ticks", "1" }, folder.Path() / "maps");
    EXPECT_NE(headless.find("libvelplatform-headless"), std::string::npos);
    EXPECT_FALSE(MapsQt(headless));

    std::string scenario = (folder.Path() / "lan.scenario").string();
    std::ofstream(scenario) << "interface NE20001\naddress NE20001 192.168.1.10/24\nroute default dev NE20001\n";
    std::string simulated = MapsOfRun({ "--data", data, "--simulate", scenario, "--ticks", "1" }, folder.Path() / "maps2");
    EXPECT_NE(simulated.find("libvelplatform-qt"), std::string::npos);
    EXPECT_NE(simulated.find("libQt6Widgets"), std::string::npos);

    // A screenshot of the real device's screen is Qt's picture of it.
    std::string png = (folder.Path() / "today.png").string();
    std::string shot = MapsOfRun({ "--data", data, "--headless", "--ticks", "1", "--screenshot", png }, folder.Path() / "maps3");
    EXPECT_NE(shot.find("libvelplatform-qt"), std::string::npos);
    EXPECT_GT(std::filesystem::file_size(png), 100u);
}

// The chart draws: it, and the HTML report with a chart, load the screenless backend, still
// without Qt.
TEST(QtFreeToolsTest, TheUsageChartDrawsWithoutQt)
{
    testing_support::ScratchFolder folder;
    std::string data = (folder.Path() / "data").string();
    std::string out = (folder.Path() / "out").string();
    std::string logs = folder.Path().string(); // a folder without month files: empty charts
    std::string chart = MapsOfRun({ "--data", data, "usage", "chart", "--interval", "hourly", "--date", "2026-03-01", "--out",
                                      out + ".png", "--log-dir", logs },
        folder.Path() / "maps");
    EXPECT_NE(chart.find("libvelplatform-headless"), std::string::npos);
    EXPECT_FALSE(MapsQt(chart));
    std::string report = MapsOfRun({ "--data", data, "usage", "report", "--interval", "hourly", "--date", "2026-03-01",
                                       "--html", out + ".html", "--chart", out + "-chart.png", "--log-dir", logs },
        folder.Path() / "maps2");
    EXPECT_NE(report.find("libvelplatform-headless"), std::string::npos);
    EXPECT_FALSE(MapsQt(report));
    EXPECT_TRUE(std::filesystem::exists(out + "-chart.png"));
}

} // namespace
