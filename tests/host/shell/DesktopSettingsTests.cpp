// The desktop's network settings in place of the device's adapter applet: which start requests
// are that applet, which program is chosen, and the shell starting it for real in the window
// mode only (a stand-in program on a PATH of the test's own), or failing without one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "host/shell/DesktopSettings.h"
#include "host/shell/TodayShell.h"
#include "platform/core/Handle.h"
#include "platform/core/LastError.h"
#include "platform/ui/Observe.h"
#include "platform/ui/VirtualDriver.h"
#include "support/RegistryScope.h"
#include "support/TestSupport.h"

namespace {

using host::IsNetworkAdapterApplet;
using host::NetworkSettingsCommand;

// PATH for the object's lifetime.
class PathScope {
public:
    explicit PathScope(const std::string& path)
    {
        if (const char* previous = std::getenv("PATH"))
            m_previous = previous;
        setenv("PATH", path.c_str(), 1);
    }
    ~PathScope()
    {
        if (m_previous)
            setenv("PATH", m_previous->c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    std::optional<std::string> m_previous;
};

void WriteProgram(const std::filesystem::path& path, const std::string& script)
{
    std::ofstream(path) << script;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

} // namespace

TEST(DesktopSettings, OnlyTheNetworkAdapterAppletIsTheDesktopsToOpen)
{
    EXPECT_TRUE(IsNetworkAdapterApplet({ L"\\Windows\\ctlpnl.exe", L"cplmain.cpl,17,1", 0 }));
    EXPECT_TRUE(IsNetworkAdapterApplet({ L"\\windows\\CTLPNL.EXE", L"CPLMAIN.CPL,17", 0 }));
    EXPECT_FALSE(IsNetworkAdapterApplet({ L"\\Windows\\ctlpnl.exe", L"cplmain.cpl,170,1", 0 }));
    EXPECT_FALSE(IsNetworkAdapterApplet({ L"\\Windows\\ctlpnl.exe", L"cplmain.cpl,1", 0 }));
    EXPECT_FALSE(IsNetworkAdapterApplet({ L"\\Windows\\ctlpnl.exe", L"", 0 }));
    EXPECT_FALSE(IsNetworkAdapterApplet({ L"\\Windows\\other.exe", L"cplmain.cpl,17,1", 0 }));
}

TEST(DesktopSettings, TheFirstInstalledCandidateIsChosen)
{
    std::vector<std::string> installed;
    auto lookup = [&installed](const std::string& name) {
        for (const std::string& program : installed)
            if (program == name)
                return "/opt/bin/" + name;
        return std::string();
    };
    EXPECT_TRUE(NetworkSettingsCommand(lookup).empty());
    installed = { "kcmshell5" };
    EXPECT_EQ(NetworkSettingsCommand(lookup), (std::vector<std::string> { "/opt/bin/kcmshell5", "kcm_networkmanagement" }));
    installed = { "kcmshell5", "kcmshell6" };
    EXPECT_EQ(NetworkSettingsCommand(lookup), (std::vector<std::string> { "/opt/bin/kcmshell6", "kcm_networkmanagement" }));
    installed = { "kcmshell6", "gnome-control-center" };
    EXPECT_EQ(NetworkSettingsCommand(lookup), (std::vector<std::string> { "/opt/bin/gnome-control-center", "network" }));
    installed = { "gnome-control-center", "nm-connection-editor" };
    EXPECT_EQ(NetworkSettingsCommand(lookup), (std::vector<std::string> { "/opt/bin/nm-connection-editor" }));
}

TEST(DesktopSettings, FindInPathSkipsFoldersFilesThatCannotRunAndTheCurrentFolder)
{
    testing_support::ScratchFolder folder;
    std::filesystem::create_directories(folder.Path() / "a" / "nm-connection-editor"); // a folder
    std::filesystem::create_directories(folder.Path() / "b");
    std::ofstream(folder.Path() / "b" / "nm-connection-editor") << "not a program";
    std::filesystem::create_directories(folder.Path() / "c");
    WriteProgram(folder.Path() / "c" / "nm-connection-editor", "#!/bin/sh\n");
    std::string a = (folder.Path() / "a").string();
    std::string b = (folder.Path() / "b").string();
    std::string c = (folder.Path() / "c").string();
    PathScope path(a + "::" + b + ":" + c);
    EXPECT_EQ(host::FindInPath("nm-connection-editor"), c + "/nm-connection-editor");
    EXPECT_EQ(host::FindInPath("gnome-control-center"), "");
}

class DesktopShellTest : public ::testing::Test {
protected:
    DesktopShellTest()
        : m_driver(m_clock.Clock())
    {
        platform::DestroyAllWindows();
        m_shell.onEvent = [this](const std::string& line) { m_events.push_back(line); };
        m_shell.Start();
    }
    ~DesktopShellTest() override
    {
        m_shell.Stop();
        platform::DestroyAllWindows();
    }

    DWORD OpenApplet()
    {
        wchar_t commandLine[] = L"cplmain.cpl,17,1";
        PROCESS_INFORMATION process {};
        if (!CreateProcessW(L"\\Windows\\ctlpnl.exe", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                &process))
            return GetLastError();
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ERROR_SUCCESS;
    }

    testing_support::ScratchFolder m_folder;
    testing_support::MemoryRegistryScope m_registry;
    testing_support::VirtualClockScope m_clock;
    platform::VirtualDriver m_driver;
    host::TodayShell m_shell;
    std::vector<std::string> m_events;
};

TEST_F(DesktopShellTest, TheWindowModeStartsTheDesktopsSettingsAndOtherRunsOnlySayWhatWouldOpen)
{
    std::filesystem::path marker = m_folder.Path() / "started";
    std::filesystem::path program = m_folder.Path() / "kcmshell5";
    WriteProgram(program, "#!/bin/sh\necho \"$@\" > '" + marker.string() + "'\n");
    PathScope path(m_folder.Path().string());

    EXPECT_EQ(OpenApplet(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(m_events, (std::vector<std::string> { "would open \\Windows\\ctlpnl.exe cplmain.cpl,17,1" }));
    EXPECT_FALSE(std::filesystem::exists(marker));

    m_shell.StartDesktopPrograms(true);
    EXPECT_EQ(OpenApplet(), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_EQ(m_events.size(), 2u);
    EXPECT_EQ(m_events[1], "opened " + program.string() + " kcm_networkmanagement");
    // It runs on its own: its output is awaited here, not by the shell.
    for (int i = 0; i < 500 && testing_support::ReadWholeFile(marker).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testing_support::ReadWholeFile(marker), "kcm_networkmanagement\n");

    // Without any of the programs the applet cannot open, as a missing program fails.
    std::filesystem::remove(program);
    EXPECT_EQ(OpenApplet(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(m_events.back(), "cannot open \\Windows\\ctlpnl.exe: no network settings program is installed");
}
